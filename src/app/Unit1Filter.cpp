// The list's filter box: Ctrl+F shows it over the list, and the list shows only the lines whose
// names pass the query typed there, on every change of it. The lines are those of the last
// scan: filtering never reads the disk, and a rebuild applies the query to the new lines.
#include "app/Unit1.h"
#include "audio/WAVUnit.h"

void TSonidexForm::CreateNameFilter()
{
    NameFilterBox = new TEdit(this);
    NameFilterBox->Name = "NameFilterBox";
    NameFilterBox->SetBounds(WAVList->Left(), WAVList->Top(), WAVList->Width(), 20);
    NameFilterBox->SetVisible(false);
    NameFilterBox->CreateLate = true;       // its window is made when it first shows
    NameFilterBox->SetParent(this);
    NameFilterBox->OnChange = {this, &TSonidexForm::NameFilterBoxChange};
    NameFilterBox->OnKeyDown = {this, &TSonidexForm::NameFilterBoxKeyDown};
    NameFilterBox->OnKeyPress = {this, &TSonidexForm::NameFilterBoxKeyPress};
}

void TSonidexForm::ShowNameFilter()
{
    if (!NameFilterBox->Visible()) {
        // The list gives up the box's height while the box shows.
        const int h = NameFilterBox->Height();
        NameFilterBox->SetBounds(WAVList->Left(), WAVList->Top(), WAVList->Width(), h);
        WAVList->SetBounds(WAVList->Left(), WAVList->Top() + h, WAVList->Width(), WAVList->Height() - h);
        NameFilterBox->SetVisible(true);
    }
    NameFilterBox->SetFocus();
    SendMessageA(NameFilterBox->Handle(), EM_SETSEL, 0, -1);
}

void TSonidexForm::HideNameFilter()
{
    if (!NameFilterBox->Visible()) return;
    NameFilterBox->SetText("");
    ApplyNameFilter();
    NameFilterBox->SetVisible(false);
    NameFilterBox->CreateLate = true;       // its window is made when it first shows
    const int h = NameFilterBox->Height();
    WAVList->SetBounds(WAVList->Left(), WAVList->Top() - h, WAVList->Width(), WAVList->Height() + h);
    WAVList->SetFocus();
}

void TSonidexForm::ApplyNameFilter()
{
    const TNameQuery query(NameFilterBox->Text());
    if (query.Empty()) {
        if (!WAVList->ShowsAll()) {
            WAVList->ShowAll();
            PlayerState.LastIndex = -1;
        }
        ShowListStatus(ScanStatusText(WAVCount, MIDICount, ScanCanceled));
        return;
    }
    if (!NameIndexRead) {
        NameIndex.Clear();
        NameIndex.Reserve(WAVList->LineCount(), 24 * static_cast<size_t>(WAVList->LineCount()));
        for (int i = 0; i < WAVList->LineCount(); ++i) {
            const auto* record = dynamic_cast<const BoxItemDataType*>(WAVList->LineObject(i));
            NameIndex.Add(WAVList->LineText(i), record ? record->Kind : KindOther);
        }
        NameIndexRead = true;
    }
    TKindCounts shown;
    WAVList->ShowOnly(NameIndex.Filter(query, shown));
    // The lines have new indexes: the next selection loads afresh.
    PlayerState.LastIndex = -1;
    ShowListStatus(FilterStatusText(shown, NameIndex.Totals()));
}

void TSonidexForm::NameFilterBoxChange(TObject*)
{
    ApplyNameFilter();
}

void TSonidexForm::NameFilterBoxKeyDown(TObject*, WORD& key, TShiftState)
{
    // Down goes to the first line, which plays as any line selected by a key does.
    if (key != VK_DOWN) return;
    key = 0;
    WAVList->SetFocus();
    if (WAVList->Count() == 0) return;
    WAVList->SetItemIndex(0);
    PlaySelection();
}

void TSonidexForm::NameFilterBoxKeyPress(TObject* sender, char& key)
{
    // Esc here gives the whole list back (in the list it closes the program); Enter goes to the
    // first line as Down does.
    if (key == 27) {
        key = 0;
        HideNameFilter();
    } else if (key == 13) {
        key = 0;
        WORD down = VK_DOWN;
        NameFilterBoxKeyDown(sender, down, 0);
    }
}
