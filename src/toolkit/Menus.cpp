#include "toolkit/Menus.h"
#include <windows.h>
#include "toolkit/Forms.h"

void TPopupMenu::AddItem(const std::string& caption, TNotifyEvent onClick)
{
    FItems.push_back({caption, std::move(onClick)});
}

void TPopupMenu::Popup(int x, int y)
{
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    for (size_t i = 0; i < FItems.size(); ++i) AppendMenuA(menu, MF_STRING, i + 1, FItems[i].Caption.c_str());
    // The menu needs an owner window of this thread; the application's hidden one serves.
    HWND owner = Application ? Application->Handle() : nullptr;
    SetForegroundWindow(owner);
    const UINT chosen = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner,
                                       nullptr);
    DestroyMenu(menu);
    if (chosen >= 1 && chosen <= FItems.size()) FItems[chosen - 1].OnClick(this);
}
