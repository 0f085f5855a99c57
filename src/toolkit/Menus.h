// A popup menu: captions with click events, run at a screen point.
#pragma once
#include <string>
#include <vector>
#include "toolkit/Classes.h"

class TPopupMenu : public TComponent {
public:
    using TComponent::TComponent;
    void AddItem(const std::string& caption, TNotifyEvent onClick);
    int Count() const { return int(FItems.size()); }
    // Shows the menu and returns when it closes; the chosen item's event runs after that.
    void Popup(int x, int y);
private:
    struct TItem { std::string Caption; TNotifyEvent OnClick; };
    std::vector<TItem> FItems;
};
