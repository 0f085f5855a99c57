// Makes a windowed control a target for files dropped from the shell (the classic file-drop
// message, not OLE): the paths of each drop are collected whole and OnDrop is raised once.
// It takes the drop message through the control's message hook, which it gives back when the
// target changes or the component goes.
#pragma once
#include <windows.h>
#include "toolkit/Controls.h"
#include "toolkit/pure/StringList.h"

class TDragFilesTrg : public TComponent {
public:
    explicit TDragFilesTrg(TComponent* owner);
    ~TDragFilesTrg() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool on);
    TWinControl* Target() const { return FTarget; }
    void SetTarget(TWinControl* target);
    int FileCount() const { return DroppedFiles.Count(); }
    TNotifyEvent OnDrop;
    // The last drop: its full paths in the shell's order, and where it happened in the
    // target's client coordinates.
    TStringList DroppedFiles;
    TPoint DropPoint;

    void Notification(TComponent* component, bool removing) override;
private:
    void HandleDrop(HDROP drop);
    void Accept() const;
    bool FEnabled = false;
    TWinControl* FTarget = nullptr;
};
