// The sample list: folder scanning, the list's lines and the status text.
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"

void TSonidexForm::RefreshList()
{
    if (AppSettings.Path.empty() || AppSettings.Path.back() != '\\') AppSettings.Path += '\\';
}

void TSonidexForm::LeftDirBoxChange(TObject*)
{
    AppSettings.Path = LeftDirBox->Directory();
    ShowPathInTitle();
}

void TSonidexForm::SubdirBoxClick(TObject*)
{
    AppSettings.Subdir = SubdirBox->Checked();
}

