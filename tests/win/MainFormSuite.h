// A suite of tests on the main window: made once for the suite, listing a folder of its own,
// and lines played by name as a click would play them.
#pragma once
#include <string>
#include "AudioSupport.h"
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "app/pure/SampleList.h"

namespace wintest {

class MainFormSuite : public ::testing::Test {
protected:
    // For SetUpTestSuite: the window, shown, and an empty folder of that name for its files.
    static void MakeForm(const char* folder)
    {
        Form = new TSonidexForm(Application);
        Form->AfterConstruction();
        Form->Show();
        Pump(50);
        Folder = TempFolder(folder);
    }
    // For TearDownTestSuite.
    static void FreeForm()
    {
        ResetPlayer();
        Form->Free();
        Form = nullptr;
    }
    // For SetUp: nothing playing, and the folder listed sorted, without subfolders.
    static void ListFolder(const char* filter)
    {
        ResetPlayer();
        AppSettings.Sort = true;
        AppSettings.Subdir = false;
        ParseFilter(filter);
        AppSettings.Path = Folder;
        Form->RebuildList();
    }
    // Selects the line of name and plays it.
    static void Play(const std::string& name)
    {
        for (int i = 0; i < Form->WAVList->Count(); ++i)
            if (Form->WAVList->Strings(i) == name) {
                Form->WAVList->SetItemIndex(i);
                Form->PlaySelection();
                return;
            }
        ADD_FAILURE() << "no line " << name;
    }
    static std::string Info() { return Form->WAVInfoLabel->Caption(); }
    static inline TSonidexForm* Form = nullptr;
    static inline std::string Folder;
};

}  // namespace wintest
