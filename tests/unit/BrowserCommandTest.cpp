// The browser command of the web-page association, made ready to launch.
#include <gtest/gtest.h>
#include "about/pure/BrowserCommand.h"

TEST(BrowserCommand, PlaceholdersLeaveAndTheProgramIsSplitFromItsParameters)
{
    struct { const char* registered; const char* program; const char* parameters; } cases[] = {
        {"\"C:\\Program Files\\Web\\browser.Exe\" %1", "C:\\PROGRAM FILES\\WEB\\BROWSER.EXE", ""},
        // A quoted placeholder goes with its quotes: no empty argument before the address.
        {"\"C:\\Web\\browser.exe\" \"%1\"", "C:\\WEB\\BROWSER.EXE", ""},
        {"C:\\Web\\browser.exe -new-window \"%1\"", "C:\\WEB\\BROWSER.EXE", "-NEW-WINDOW"},
        {"C:\\Web\\browser.exe -url %1 %2", "C:\\WEB\\BROWSER.EXE", "-URL"},
        {"C:\\Tools\\open.bat", "C:\\TOOLS\\OPEN.BAT", ""},
        // The last of the three extensions counts.
        {"C:\\x.com.d\\run.exe %1", "C:\\X.COM.D\\RUN.EXE", ""},
        // None of them: the whole command is the program.
        {"winebrowser %1", "WINEBROWSER", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const TBrowserCommand b = SplitBrowserCommand(StripPlaceholders(c.registered));
        EXPECT_EQ(b.Program, c.program) << c.registered;
        EXPECT_EQ(b.Parameters, c.parameters) << c.registered;
    }
}
