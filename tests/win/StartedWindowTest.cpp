// The main window started as the program starts it. Deleting with a stand-in for the shell: OLE
// started on this thread, the file operation only where the delete verb is missing, F8 never on
// its auto-repeat, no reread and no folder watch inside the shell's confirmation. Captions made
// for Arial whole in the test prefix, whose Liberation Sans has Arial's metrics.
#include "MainFormSuite.h"
#include "about/About.h"
#include "app/Settings.h"

using namespace wintest;

namespace {
struct { DWORD Error; INT_PTR InstApp; int Executes, Operations; FILEOP_FLAGS Flags; bool Ole, Watch; } Shell;

BOOL WINAPI StandInExecute(SHELLEXECUTEINFOA* info)
{
    ++Shell.Executes;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);     // S_FALSE: started
    if (SUCCEEDED(com)) CoUninitialize();
    Shell.Ole = com == S_FALSE;
    Pump(600);                                                 // the confirmation takes its time
    Shell.Watch = SonidexForm->DiskChangeNotify->Enabled();
    info->hInstApp = reinterpret_cast<HINSTANCE>(Shell.InstApp);
    SetLastError(Shell.Error);
    return Shell.Error == 0;
}
int WINAPI StandInOperation(SHFILEOPSTRUCTA* op) { ++Shell.Operations; Shell.Flags = op->fFlags; return 0; }

class StartedWindow : public MainFormSuite {
protected:
    static void SetUpTestSuite()
    {
        MakeForm("started-window");
        SonidexForm = Form;
        for (const char* f : {"a.wav", "b.wav", "c.wav"}) WriteFile(Folder + f, "RIFF");
        AppSettings.Path = Folder;
        SettingsForm = new TSettingsForm(Application);
        SettingsForm->AfterConstruction();
        Form->FinishStartup();                                // the program's own start, OLE with it
        ShellExecuteExCall = &StandInExecute;
        FileOperationCall = &StandInOperation;
    }
    static void TearDownTestSuite() { FreeForm(); }
    void SetUp() override { Shell = {ERROR_CANCELLED}; AppSettings.AllowDeletion = true; ListFolder("wav"); }
};
}

TEST_F(StartedWindow, TheFileOperationOnlyWhereTheVerbIsMissing)
{
    const struct { DWORD error; INT_PTR instApp; int operations; } cases[] = {
        {0, 42, 0}, {ERROR_CANCELLED, 0, 0}, {ERROR_ACCESS_DENIED, SE_ERR_ACCESSDENIED, 0},
        {ERROR_NO_ASSOCIATION, 0, 1}, {ERROR_FILE_NOT_FOUND, SE_ERR_NOASSOC, 1}, {ERROR_INVALID_PARAMETER, 0, 1}};
    for (const auto& c : cases) {
        Shell = {c.error, c.instApp};
        Form->ShellDeleteFile(Folder + "a.wav");
        EXPECT_EQ(Shell.Operations, c.operations) << c.error;
        if (c.operations) EXPECT_EQ(Shell.Flags, FOF_ALLOWUNDO | FOF_NOERRORUI);
    }
}

TEST_F(StartedWindow, F8OnAPressWithOleAndWithoutAPendingRereadOrTheWatch)
{
    AppSettings.Reread = true;
    Form->RefreshList();
    Form->WAVList->SetItemIndex(1);
    Form->DiskChangeNotifyDiskChange(nullptr);                // a change just before F8
    SendMessageA(Form->WAVList->Handle(), WM_KEYDOWN, VK_F8, 1 | 1 << 30);     // an auto-repeat
    EXPECT_EQ(Shell.Executes, 0);
    SendMessageA(Form->WAVList->Handle(), WM_KEYDOWN, VK_F8, 1);
    EXPECT_EQ(Shell.Executes, 1);
    EXPECT_TRUE(Shell.Ole);
    EXPECT_FALSE(Shell.Watch);
    EXPECT_TRUE(Form->DiskChangeNotify->Enabled() && !Form->RereadTimer->Enabled());
    EXPECT_EQ(Form->WAVList->ItemIndex(), 1) << "no rebuild took the selection away";
}

TEST_F(StartedWindow, CaptionsMadeForArialFit)
{
    auto* about = new TAboutBox(Form);
    about->AfterConstruction();
    HDC dc = GetDC(about->Handle());
    const int box = GetSystemMetrics(SM_CXMENUCHECK) + 4;          // a box's mark and its gap
    for (auto [c, room] : {std::pair<TControl*, int>{Form->SubdirBox, box}, {SettingsForm->DblClickBox, box},
                           {SettingsForm->MPBox, box}, {about->MyNameLabel, 0}}) {
        SelectObject(dc, c->Font.Handle());
        RECT r = {};
        DrawTextA(dc, c->Caption().c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        EXPECT_LE(r.right, c->Width() - room) << c->Caption();
    }
    ReleaseDC(about->Handle(), dc);
}
