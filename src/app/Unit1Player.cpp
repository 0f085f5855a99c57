// The player panel: info text, sliders, position bar and playing the selected line.
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"

void TSonidexForm::UpdateInfoText()
{
    FileNameLabel->SetCaption(AppSettings.UseMedia ? "Playing WAV files through the Media Player" : "DirectSound");
}
