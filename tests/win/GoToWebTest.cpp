// The web link: the browser that the web-page association names is started with exactly the
// address (or a mailto: address), maximised; a quoted placeholder leaves no empty argument; with
// no association nothing starts. A recording stand-in program is registered as the browser.
#include "WinTest.h"
#include <cstdlib>
#include <fstream>
#include "about/GoToWeb.h"

using namespace wintest;

namespace {
class WebLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* build = std::getenv("SONIDEX_BUILD");
        ASSERT_TRUE(build) << "run through ctest, which names the build folder";
        Recorder = "Z:" + std::string(build) + "/ArgsRecorder.exe";
        for (char& c : Recorder) if (c == '/') c = '\\';
        Log = TempFolder("weblink") + "record.txt";
        SetEnvironmentVariableA("SONIDEX_RECORD", Log.c_str());
        RemoveAssociation();
    }
    void TearDown() override { RemoveAssociation(); }

    // .htm names the class SonidexTestPage, whose open command is the recorder.
    void Associate(const std::string& arguments)
    {
        const std::string command = "\"" + Recorder + "\" " + arguments;
        SetDefault(".htm", "SonidexTestPage");
        SetDefault("SonidexTestPage\\shell\\open\\command", command);
    }
    static void SetDefault(const std::string& key, const std::string& value)
    {
        HKEY k;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr), 0);
        RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
        RegCloseKey(k);
    }
    static void RemoveAssociation()
    {
        for (const char* k : {"SonidexTestPage\\shell\\open\\command", "SonidexTestPage\\shell\\open",
                              "SonidexTestPage\\shell", "SonidexTestPage", ".htm"})
            RegDeleteKeyA(HKEY_CLASSES_ROOT, k);
    }
    // The recorder's lines once n of them are there (it starts asynchronously).
    std::vector<std::string> Recorded(size_t n)
    {
        std::vector<std::string> lines;
        PumpUntil([&] {
            lines.clear();
            std::ifstream f(Log);
            for (std::string l; std::getline(f, l);) lines.push_back(l);
            return lines.size() >= n;
        }, 10000);
        return lines;
    }
    std::string Recorder, Log;
};
}

TEST_F(WebLink, TheBrowserGetsExactlyTheAddressMaximised)
{
    TGoToWeb web(nullptr);
    web.Url = "http://sonidex.example/page.html";
    web.EMail = "someone@sonidex.example";
    Associate("%1");
    ASSERT_TRUE(web.OpenWebPage());
    EXPECT_EQ(Recorded(1), std::vector<std::string>{"show=3 args=http://sonidex.example/page.html"});
    ASSERT_TRUE(web.SendMail());
    ASSERT_EQ(Recorded(2).size(), 2u);
    EXPECT_EQ(Recorded(2)[1], "show=3 args=mailto:someone@sonidex.example");

    // The placeholder in quotes, as most browsers register it: the address still arrives whole.
    Associate("\"%1\"");
    web.BrowserState = gwNormal;
    ASSERT_TRUE(web.OpenWebPage());
    ASSERT_EQ(Recorded(3).size(), 3u);
    EXPECT_EQ(Recorded(3)[2], "show=1 args=http://sonidex.example/page.html");
}

TEST_F(WebLink, WithoutAnAssociationNothingStarts)
{
    TGoToWeb web(nullptr);
    EXPECT_EQ(FindBrowserCommand(), "");
    EXPECT_FALSE(web.OpenWebPage());
    EXPECT_FALSE(web.SendMail());
    Pump(300);
    EXPECT_FALSE(std::ifstream(Log).good());
}
