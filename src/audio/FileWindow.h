// A read-only window onto a mapped file: views of a part of the file, mapped as they are asked
// for. The reader and the stream look at large files through it, because a 32-bit process
// cannot map a file of a gigabyte whole (under Wine at most about 500 MB lie free in one piece),
// and a stream needs only the part it is playing.
#pragma once
#include <windows.h>
#include <vector>
#include <cstddef>
#include <cstdint>

class TFileWindow {
public:
    TFileWindow() = default;
    TFileWindow(HANDLE mapping, uint64_t fileSize) : FMapping(mapping), FFileSize(fileSize) {}
    ~TFileWindow() { Release(); }
    TFileWindow(const TFileWindow&) = delete;
    TFileWindow& operator=(const TFileWindow&) = delete;
    // Takes over another window's mapping (not its view).
    void Assign(HANDLE mapping, uint64_t fileSize);
    // Reads the whole of a small file instead, once: mapping a file and unmapping it again costs
    // a millisecond under Wine, many times the reading of a few hundred kilobytes. False when the
    // file could not be read whole.
    bool ReadWhole(HANDLE file, uint64_t fileSize);
    // The least a new view maps (WindowBytes unless set): a reader that walks the whole file
    // maps fewer, larger views.
    void SetViewBytes(size_t bytes) { FMinViewBytes = bytes; }

    // The bytes [offset, offset + n) of the file, valid until the next call; null when they lie
    // outside the file or cannot be mapped. A part inside the current view is served from it;
    // otherwise a view of at least WindowBytes (or SetViewBytes) from offset (rounded down to the system's
    // allocation granularity) replaces it.
    const uint8_t* Span(uint64_t offset, size_t n);
    // Copies [offset, offset + n) to out; false when Span cannot give it.
    bool Read(uint64_t offset, void* out, size_t n);
    // Unmaps the view; the mapping stays.
    void Release();
    // Trades mappings, views and read bytes with another window.
    void Swap(TFileWindow& other) noexcept;

    HANDLE Mapping() const { return FMapping; }
    uint64_t FileSize() const { return FFileSize; }
    const void* View() const { return FView; }

    static constexpr size_t WindowBytes = 1 << 20;
private:
    HANDLE FMapping = nullptr;
    uint64_t FFileSize = 0;
    uint8_t* FView = nullptr;
    uint64_t FViewStart = 0;
    size_t FViewBytes = 0;
    size_t FMinViewBytes = WindowBytes;
    std::vector<uint8_t> FWhole;                 // the file's bytes, when read whole
};
