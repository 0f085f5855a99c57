// Sonidex: a sample browser and player. The start-up sequence.
#include <windows.h>
#include "app/Settings.h"
#include "app/Unit1.h"
#include "audio/WAVStream.h"
#include "audio/WAVUnit.h"
#include "shell/dropsource.h"
#include "toolkit/Forms.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    TApplication app;
    try {
        Application->Initialize();
        Application->HintColor = 0x55BBFF;             // RGB(255, 187, 85)
        Application->SetTitle("Sonidex");
        Application->CreateForm(&SonidexForm);
        // The window is up before the dialog is made, the sound device opens and the first
        // folder is read: the user sees the program at once and the list fills in a moment later.
        SonidexForm->Show();
        Application->CreateForm(&SettingsForm);
        // No task-bar button: the notification-area icon stands for the program.
        ShowWindow(Application->Handle(), SW_HIDE);
        OpenSoundDevice(SonidexForm->Handle());
        StartStreaming();
        SonidexForm->FinishStartup();
    } catch (const std::exception& e) {
        // A failure while starting (no sound device, say) is reported and ends the program.
        Application->HandleException(e);
        return 1;
    }
    Application->Run();
    OleShutdown();
    return 0;
}
