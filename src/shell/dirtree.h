// The folder tree of the main window.
#pragma once
#include <string>
#include "toolkit/ExtCtrls.h"

class Tdirtree : public TPanel {
public:
    explicit Tdirtree(TComponent* owner) : TPanel(owner) { BevelOuter = bvLowered; }
    bool ReadOnStart = false;
    const std::string& Directory() const { return FDirectory; }
    void SetDirectory(const std::string& d) { FDirectory = d; }
    void Reload() {}
    TNotifyEvent OnChange;
private:
    std::string FDirectory = "?";
};
