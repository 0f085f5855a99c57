// The about box: the program's logo, version and credit, and two lines that open the web page
// and a new mail in the browser. Made on first use, kept, shown modally.
#pragma once
#include "about/GoToWeb.h"
#include "controls/WAVScope.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

class TAboutBox : public TForm {
public:
    explicit TAboutBox(TComponent* owner);
    TLabel* VersionLabel;
    TImage* Image1;
    TLabel* MyNameLabel;
    TMoveBevel* MoveBevel1;
    TLabel* WebPageLabel;
    TLabel* MailLabel;
    TGoToWeb* GoToMail;

    void WebPageLabelClick(TObject* sender);
    void MailLabelClick(TObject* sender);
protected:
    const char* ClassName() const override { return "TAboutBox"; }
private:
    TLabel* MakeLabel(const char* name, const char* caption, TRect r, const char* font, int height, unsigned style);
};
