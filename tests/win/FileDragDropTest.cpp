// The file drop target with real WM_DROPFILES messages built in this process, and the drag
// source's data object as a drop target reads it (formats, the CF_HDROP block, a block too
// small, enumeration, its life after the component) and a drag that ends at once.
#include "WinTest.h"
#include <cstring>
#include "shell/DragFilesTrg.h"
#include "shell/dropsource.h"
#include "shell/pure/DropFiles.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/WideText.h"

using namespace wintest;

namespace {
// A drop handle as the shell makes one: the CF_HDROP block with the drop point set.
HDROP MakeDrop(const std::vector<std::string>& paths, int x, int y)
{
    std::vector<std::u16string> wide;
    for (const std::string& path : paths) {
        const std::wstring w = WideText(path);
        wide.emplace_back(w.begin(), w.end());
    }
    const std::vector<uint8_t> block = FileDropBlock(wide);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, block.size());
    auto* p = static_cast<uint8_t*>(GlobalLock(h));
    std::memcpy(p, block.data(), block.size());
    std::memcpy(p + 4, &x, 4);
    std::memcpy(p + 8, &y, 4);
    GlobalUnlock(h);
    return static_cast<HDROP>(h);
}

std::vector<std::string> Lines(const TStringList& l)
{
    std::vector<std::string> v;
    for (int i = 0; i < l.Count(); ++i) v.push_back(l.Strings(i));
    return v;
}
}

TEST(FileDropTarget, OneEventPerDropWithWholePathsOnlyWhileEnabled)
{
    TForm* f = NewHostForm();
    auto* panel = new TPanel(f);
    panel->SetBounds(10, 10, 100, 80);
    panel->SetParent(f);
    auto* other = new TPanel(f);
    other->SetBounds(120, 10, 100, 80);
    other->SetParent(f);
    auto* trg = new TDragFilesTrg(f);
    trg->SetEnabled(true);                        // before the target, as a stored form sets it
    trg->SetTarget(panel);
    EXPECT_TRUE(GetWindowLongA(panel->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    std::vector<std::vector<std::string>> drops;
    trg->OnDrop = [&](TObject* sender) {
        EXPECT_EQ(sender, trg);
        drops.push_back(Lines(trg->DroppedFiles));
        // A drop arriving inside the handler (a confirmation box's message loop) is its own.
        if (drops.size() == 1) SendMessageA(panel->Handle(), WM_DROPFILES, WPARAM(MakeDrop({"C:\\inner.wav"}, 1, 1)), 0);
    };
    const std::string longPath = "C:\\" + std::string(290, 'x') + ".wav";
    // A name beyond ASCII, in the program's code page (UTF-8, as its manifest asks).
    const std::string umlaut = "D:\\\xF0\x9F\xA5\x81\xC3\xBC.wav";
    SendMessageA(panel->Handle(), WM_DROPFILES, WPARAM(MakeDrop({"C:\\a b.wav", longPath, umlaut}, 7, 9)), 0);
    ASSERT_EQ(drops.size(), 2u);
    EXPECT_EQ(drops[0], (std::vector<std::string>{"C:\\a b.wav", longPath, umlaut}));
    EXPECT_EQ(drops[1], std::vector<std::string>{"C:\\inner.wav"});
    EXPECT_EQ(trg->DropPoint.X, 1);

    SendMessageA(panel->Handle(), WM_DROPFILES, WPARAM(MakeDrop({"C:\\b.wav"}, 7, 9)), 0);
    EXPECT_EQ(trg->FileCount(), 1);
    EXPECT_EQ(trg->DropPoint.X, 7);
    EXPECT_EQ(trg->DropPoint.Y, 9);

    // Disabled, or hidden: the drop is refused.
    trg->SetEnabled(false);
    SendMessageA(panel->Handle(), WM_DROPFILES, WPARAM(MakeDrop({"C:\\c.wav"}, 0, 0)), 0);
    trg->SetEnabled(true);
    panel->Hide();
    SendMessageA(panel->Handle(), WM_DROPFILES, WPARAM(MakeDrop({"C:\\c.wav"}, 0, 0)), 0);
    panel->Show();
    EXPECT_EQ(drops.size(), 3u);

    // A new target: the first control takes no drops any more, the new one does, until the
    // component goes.
    trg->SetTarget(other);
    EXPECT_FALSE(GetWindowLongA(panel->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_FALSE(panel->MessageHook);
    SendMessageA(other->Handle(), WM_DROPFILES, WPARAM(MakeDrop({"C:\\d.wav"}, 0, 0)), 0);
    EXPECT_EQ(drops.size(), 4u);
    TForm* elsewhere = NewHostForm();               // a target of another owner, gone first
    auto* foreign = new TPanel(elsewhere);
    foreign->SetParent(elsewhere);
    trg->SetTarget(foreign);
    elsewhere->Free();
    EXPECT_EQ(trg->Target(), nullptr);
    trg->SetTarget(other);
    trg->Free();
    EXPECT_FALSE(other->MessageHook);
    EXPECT_FALSE(GetWindowLongA(other->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    f->Free();
}

TEST(FileDragSource, DataObjectServesTheBlockAndOutlivesItsComponent)
{
    auto* src = new tdropfilesource(nullptr);
    src->FileList.Add("C:\\A.WAV");
    IDataObject* data = src->CreateDataObject();
    src->FileList.Clear();
    delete src;                                    // a target may hold the data longer

    FORMATETC content = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    FORMATETC icon = {CF_HDROP, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL};
    FORMATETC stream = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    FORMATETC text = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(data->QueryGetData(&icon), S_OK);
    EXPECT_EQ(data->QueryGetData(&stream), S_FALSE);
    EXPECT_EQ(data->QueryGetData(&text), S_FALSE);

    STGMEDIUM m = {};
    ASSERT_EQ(data->GetData(&content, &m), S_OK);
    ASSERT_EQ(m.tymed, DWORD(TYMED_HGLOBAL));
    EXPECT_EQ(m.pUnkForRelease, nullptr);
    ASSERT_GE(GlobalSize(m.hGlobal), 40u);
    const auto* p = static_cast<const uint8_t*>(GlobalLock(m.hGlobal));
    EXPECT_EQ(std::vector<uint8_t>(p, p + 40), FileDropBlock({u"C:\\A.WAV"}));
    GlobalUnlock(m.hGlobal);
    GlobalFree(m.hGlobal);
    EXPECT_EQ(data->GetData(&text, &m), DV_E_FORMATETC);

    // Into a block of the caller's: never past its end.
    STGMEDIUM small = {};
    small.tymed = TYMED_HGLOBAL;
    small.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 16);
    EXPECT_EQ(data->GetDataHere(&content, &small), STG_E_MEDIUMFULL);
    GlobalFree(small.hGlobal);

    IEnumFORMATETC* e = nullptr;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &e), S_OK);
    FORMATETC got[3] = {};
    ULONG n = 0;
    EXPECT_EQ(e->Next(1, got, &n), S_OK);
    EXPECT_EQ(got[0].dwAspect, DWORD(DVASPECT_CONTENT));
    IEnumFORMATETC* clone = nullptr;
    ASSERT_EQ(e->Clone(&clone), S_OK);
    EXPECT_EQ(clone->Next(3, got, &n), S_FALSE);   // the clone goes on from the second record
    EXPECT_EQ(n, 1u);
    EXPECT_EQ(got[0].dwAspect, DWORD(DVASPECT_ICON));
    clone->Release();
    e->Release();
    IEnumFORMATETC* none = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &none), E_NOTIMPL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(data->Release(), 0u);
}

TEST(FileDragSource, ADragWithTheButtonAlreadyUpIsCancelled)
{
    auto* src = new tdropfilesource(nullptr);
    src->dragtype = dtcopy;
    src->FileList.Add("C:\\A.WAV");
    bool dropped = false;
    src->ondrop = [&](TObject*, bool, bool&) { dropped = true; };
    EXPECT_EQ(src->RunDrag(), 2);
    EXPECT_FALSE(dropped);
    delete src;
}
