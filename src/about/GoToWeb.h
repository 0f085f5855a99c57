// Opens a web page, or a new mail to an address, in the browser that the system's association
// for web pages names.
#pragma once
#include <string>
#include "toolkit/Classes.h"

enum TBrowserState { gwMaximized, gwNormal };

class TGoToWeb : public TComponent {
public:
    explicit TGoToWeb(TComponent* owner);
    std::string Url;
    std::string EMail;
    TBrowserState BrowserState = gwMaximized;

    // True when the browser was started.
    bool OpenWebPage();
    bool SendMail();
private:
    bool Launch(const std::string& tail);
};

// The browser command of the first of ".HTM", ".HTML", ".SHTML", ".SHTM" that has one, with its
// argument placeholders taken out; empty when none has. Also remembered for the next launch.
std::string FindBrowserCommand();
