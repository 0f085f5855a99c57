// Stands in for a program that takes files dragged onto it (a sampler, the desktop): an OLE
// drop target over its whole window "Drop target stand-in". It answers every drag with the
// effect named by its second argument ("copy", "move" or "none") and appends to the log file
// (first argument) one line per drop: "drop EFFECT HEX", HEX the CF_HDROP block's bytes.
#include <windows.h>
#include <ole2.h>
#include <cstdio>
#include <string>

namespace {
std::string LogPath;
DWORD Answer = DROPEFFECT_COPY;

void Log(const std::string& line)
{
    if (FILE* f = std::fopen(LogPath.c_str(), "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

class TTarget : public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (riid == IID_IUnknown || riid == IID_IDropTarget) { *out = this; return S_OK; }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override
    {
        *effect &= Answer;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override
    {
        *effect &= Answer;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        *effect &= Answer;
        FORMATETC f = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM m = {};
        std::string hex;
        if (SUCCEEDED(data->GetData(&f, &m))) {
            const SIZE_T n = GlobalSize(m.hGlobal);
            const auto* p = static_cast<const unsigned char*>(GlobalLock(m.hGlobal));
            char b[3];
            for (SIZE_T i = 0; p && i < n; ++i) std::snprintf(b, sizeof b, "%02x", p[i]), hex += b;
            GlobalUnlock(m.hGlobal);
            ReleaseStgMedium(&m);
        }
        Log("drop " + std::to_string(*effect) + " " + hex);
        return S_OK;
    }
};
TTarget Target;
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int)
{
    if (__argc < 2) return 2;
    LogPath = __argv[1];
    if (__argc > 2) {
        const std::string a = __argv[2];
        Answer = a == "move" ? DROPEFFECT_MOVE : a == "none" ? DROPEFFECT_NONE : DROPEFFECT_COPY;
    }
    OleInitialize(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = inst;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "DropTargetStandIn";
    RegisterClassA(&wc);
    HWND w = CreateWindowA("DropTargetStandIn", "Drop target stand-in", WS_POPUP | WS_VISIBLE | WS_BORDER, 900, 100,
                           300, 300, nullptr, nullptr, inst, nullptr);
    RegisterDragDrop(w, &Target);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
    RevokeDragDrop(w);
    OleUninitialize();
    return 0;
}
