#include "shell/dropsource.h"
#include <atomic>
#include <cstring>
#include <string>
#include <vector>
#include "shell/pure/DropFiles.h"
#include "toolkit/LateBound.h"
#include "toolkit/WideText.h"

namespace {
const FORMATETC Formats[2] = {
    {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
    {CF_HDROP, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL},
};

bool Matches(const FORMATETC* f)
{
    return f && f->cfFormat == CF_HDROP && (f->dwAspect == DVASPECT_CONTENT || f->dwAspect == DVASPECT_ICON) &&
           f->tymed == TYMED_HGLOBAL;
}

// The reference count every COM object here shares; the object deletes itself at zero.
template <class Base>
class TRefCounted : public Base {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG n = --FRefs;
        if (n == 0) delete this;
        return n;
    }
    virtual ~TRefCounted() = default;
protected:
    HRESULT Answer(REFIID riid, REFIID own, void** out)
    {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == own) {
            *out = static_cast<Base*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
private:
    std::atomic<ULONG> FRefs{1};
};
}

// ---- tenumformatetc ----------------------------------------------------------------------------

class tenumformatetc : public TRefCounted<IEnumFORMATETC> {
public:
    tenumformatetc(const FORMATETC* table, ULONG count, ULONG position = 0)
        : FTable(table), FCount(count), FPosition(position) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        return Answer(riid, IID_IEnumFORMATETC, out);
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG n, FORMATETC* out, ULONG* fetched) override
    {
        ULONG copied = 0;
        while (copied < n && FPosition < FCount && out) out[copied++] = FTable[FPosition++];
        if (fetched) *fetched = copied;
        return copied == n ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG n) override
    {
        if (FCount - FPosition < n) {
            FPosition = FCount;
            return S_FALSE;
        }
        FPosition += n;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        FPosition = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override
    {
        if (!out) return E_POINTER;
        *out = new tenumformatetc(FTable, FCount, FPosition);
        return S_OK;
    }
private:
    const FORMATETC* FTable;
    ULONG FCount, FPosition;
};

// ---- the file data object ------------------------------------------------------------------

namespace {
class TFileDataObject : public TRefCounted<IDataObject> {
public:
    explicit TFileDataObject(std::vector<std::u16string> paths) : FPaths(std::move(paths)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        return Answer(riid, IID_IDataObject, out);
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (!medium) return E_POINTER;
        std::memset(medium, 0, sizeof *medium);
        if (!Matches(format)) return DV_E_FORMATETC;
        HGLOBAL block = GlobalAlloc(GMEM_DDESHARE | GMEM_ZEROINIT, FileDropBlockSize(FPaths));
        if (!block) return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        const HRESULT r = GetDataHere(format, medium);
        if (FAILED(r)) {
            GlobalFree(block);
            std::memset(medium, 0, sizeof *medium);
        }
        return r;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (!medium || !Matches(format) || medium->tymed != TYMED_HGLOBAL) return DV_E_FORMATETC;
        if (!medium->hGlobal) return E_OUTOFMEMORY;
        const std::vector<uint8_t> data = FileDropBlock(FPaths);
        // Never past the caller's block.
        if (GlobalSize(medium->hGlobal) < data.size()) return STG_E_MEDIUMFULL;
        auto* p = static_cast<uint8_t*>(GlobalLock(medium->hGlobal));
        if (!p) return E_OUTOFMEMORY;
        // The header's drop point and non-client flag stay as the block has them.
        std::memcpy(p, data.data(), 4);
        std::memcpy(p + 16, data.data() + 16, data.size() - 16);
        GlobalUnlock(medium->hGlobal);
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override { return Matches(format) ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (direction == DATADIR_GET) {
            *out = new tenumformatetc(Formats, 2);
            return S_OK;
        }
        return direction == DATADIR_SET ? E_NOTIMPL : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** out) override
    {
        if (out) *out = nullptr;
        return OLE_E_ADVISENOTSUPPORTED;
    }
private:
    const std::vector<std::u16string> FPaths;
};
}

// ---- the drop source -----------------------------------------------------------------------

// Lives as long as its component; the drag loop only borrows it.
class tdropsource::TSource final : public IDropSource {
public:
    explicit TSource(tdropsource* owner) : FOwner(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override
    {
        return FOwner->QueryContinueDrag(escape, keys);
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override { return FOwner->GiveFeedback(effect); }
private:
    tdropsource* FOwner;
};

tdropsource::tdropsource(TComponent* owner) : TComponent(owner), FSource(new TSource(this)) {}

tdropsource::~tdropsource() { delete FSource; }

HRESULT tdropsource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (keyState & MK_LBUTTON) return S_OK;
    bool go = true, copy = false;
    if (LastEffect & DROPEFFECT_COPY) copy = true;
    else if (LastEffect & DROPEFFECT_MOVE) copy = false;
    else go = false;
    if (go && ondrop && !(copy && dragtype == dtmove) && !(!copy && dragtype == dtcopy)) ondrop(this, copy, go);
    return go ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
}

HRESULT tdropsource::GiveFeedback(DWORD effect)
{
    LastEffect = effect;
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

int tdropsource::RunDrag()
{
    const DWORD allowed = dragtype == dtcopy ? DROPEFFECT_COPY : dragtype == dtmove ? DROPEFFECT_MOVE
                                                                                   : DROPEFFECT_COPY | DROPEFFECT_MOVE;
    using DoDragDropFn = HRESULT(WINAPI*)(IDataObject*, IDropSource*, DWORD, DWORD*);
    static const auto doDragDrop = LateBound<DoDragDropFn>("ole32.dll", "DoDragDrop");
    if (!OleReady() || !doDragDrop) return 4;
    IDataObject* data = CreateDataObject();
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT r = doDragDrop(data, FSource, allowed, &effect);
    data->Release();
    const TDragOutcome outcome = r == E_OUTOFMEMORY ? TDragOutcome::OutOfMemory
                                 : r == DRAGDROP_S_DROP ? TDragOutcome::Dropped
                                 : r == DRAGDROP_S_CANCEL ? TDragOutcome::Cancelled
                                                          : TDragOutcome::Failed;
    return DragResultCode(outcome, effect, allowed);
}

IDataObject* tdropfilesource::CreateDataObject()
{
    // The paths go out wide, converted from the program's code page: a target then gets every
    // name exactly, whatever code page it runs in.
    std::vector<std::u16string> paths;
    for (int i = 0; i < FileList.Count(); ++i) {
        const std::wstring w = WideText(FileList.Strings(i));
        paths.emplace_back(w.begin(), w.end());
    }
    return new TFileDataObject(std::move(paths));
}

// ---- OLE -----------------------------------------------------------------------------------

namespace {
bool OleStarted = false;
}

bool OleReady()
{
    if (OleStarted) return true;
    using OleInitializeFn = HRESULT(WINAPI*)(LPVOID);
    static const auto oleInitialize = LateBound<OleInitializeFn>("ole32.dll", "OleInitialize");
    OleStarted = oleInitialize && SUCCEEDED(oleInitialize(nullptr));
    return OleStarted;
}

void OleShutdown()
{
    if (!OleStarted) return;
    using OleUninitializeFn = void(WINAPI*)();
    if (auto f = LateBound<OleUninitializeFn>("ole32.dll", "OleUninitialize")) f();
    OleStarted = false;
}
