// Dragging files out of the program into others through OLE drag and drop. The owner fills
// FileList and calls RunDrag; the component is the drop source. The data object is a COM object
// of its own with its own copy of the paths, so a drop target that keeps it after the drag (or
// after the component is gone) never reads freed memory.
#pragma once
#include <windows.h>
#include <ole2.h>
#include "toolkit/Classes.h"
#include "toolkit/pure/StringList.h"

enum tdragtype { dteither, dtcopy, dtmove };
// (sender, iscopynotmove, continuedrop): the handler may clear continuedrop.
using tdropevent = TEvent<TObject*, bool, bool&>;

class tdropsource : public TComponent {
public:
    explicit tdropsource(TComponent* owner);
    ~tdropsource() override;
    tdragtype dragtype = dteither;
    tdropevent ondrop;
    DWORD LastEffect = 0;                   // the effect last shown, kept into the next drag
    // Runs one drag: 0 dropped as a copy, 1 as a move, 2 cancelled, 3 out of memory, 4 failed.
    int RunDrag();
    // The drop source's decisions, as the system's drag loop asks for them.
    HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState);
    HRESULT GiveFeedback(DWORD effect);
    // The data the drag carries: a new COM object holding one reference for the caller.
    virtual IDataObject* CreateDataObject() = 0;
private:
    class TSource;
    TSource* FSource;
};

class tdropfilesource : public tdropsource {
public:
    using tdropsource::tdropsource;
    TStringList FileList;                   // full paths; the owner fills it before each drag
    IDataObject* CreateDataObject() override;
};

// The program's OLE, for dragging out and for the shell's delete: started on the user-interface
// thread once the window is up (before that it would delay the window) and ended at exit.
bool OleReady();
void OleShutdown();
