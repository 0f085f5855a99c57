#include "about/About.h"
#include "about/pure/VersionText.h"
#include "SonidexVersion.h"

TLabel* TAboutBox::MakeLabel(const char* name, const char* caption, TRect r, const char* font, int height,
                             unsigned style)
{
    auto* l = new TLabel(this);
    l->Name = name;
    l->SetCaption(caption);
    l->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    l->ParentFont = false;
    l->Font.SetName(font);
    l->Font.SetHeight(-height);
    l->Font.SetStyle(style);
    l->SetParent(this);
    return l;
}

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner)
{
    Name = "AboutBox";
    BorderStyle = bsToolWindow;
    BorderIcons = biSystemMenu;
    FormStyle = fsStayOnTop;
    Position = poScreenCenter;
    FColor = clSilver;
    Font.SetName("Arial");
    Font.SetHeight(-11);
    SetCaption("About");
    SetClientSize(269, 165);

    const std::string version = VersionCaption(SONIDEX_VERSION_MAJOR, SONIDEX_VERSION_MINOR, SONIDEX_VERSION_PATCH);
    VersionLabel = MakeLabel("VersionLabel", version.c_str(), Bounds(215, 32, 22, 11), "Small Fonts", 9, fsBold);
    VersionLabel->Font.SetColor(clGray);
    Image1 = new TImage(this);
    Image1->Name = "Image1";
    Image1->SetBounds(56, 24, 155, 31);
    auto* logo = new TBitmap;
    logo->LoadFromResourceName(GetModuleHandleA(nullptr), "Logo");
    Image1->SetPicture(logo);
    Image1->SetParent(this);
    MyNameLabel = MakeLabel("MyNameLabel", "\xA9 2026 the Sonidex team", Bounds(56, 85, 155, 14), "Arial", 11,
                            fsBold);
    MyNameLabel->Alignment = taCenter;
    MyNameLabel->Font.SetColor(clGray);

    // Above the logo and the credit, below the two address lines: the box is dragged by any
    // point but those.
    MoveBevel1 = NewMoveBevel(this, 269, 165);

    GoToMail = new TGoToWeb(this);
    GoToMail->Name = "GoToMail";
    GoToMail->Url = "http://sonidex.example/";
    GoToMail->EMail = "sonidex@sonidex.example";
    GoToMail->BrowserState = gwMaximized;

    WebPageLabel = MakeLabel("WebPageLabel", GoToMail->Url.c_str(), Bounds(16, 118, 241, 10), "Small Fonts", 8, 0);
    WebPageLabel->Alignment = taCenter;
    WebPageLabel->Cursor = crHandPoint;
    WebPageLabel->OnClick = {this, &TAboutBox::WebPageLabelClick};
    MailLabel = MakeLabel("MailLabel", GoToMail->EMail.c_str(), Bounds(56, 105, 155, 10), "Small Fonts", 8, 0);
    MailLabel->Alignment = taCenter;
    MailLabel->Cursor = crHandPoint;
    MailLabel->OnClick = {this, &TAboutBox::MailLabelClick};
}

void TAboutBox::WebPageLabelClick(TObject*) { GoToMail->OpenWebPage(); }
void TAboutBox::MailLabelClick(TObject*) { GoToMail->SendMail(); }
