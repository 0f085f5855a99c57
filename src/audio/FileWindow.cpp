#include "audio/FileWindow.h"
#include <algorithm>
#include <cstring>

namespace {
uint64_t Granularity()
{
    static const uint64_t g = [] {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        return uint64_t(si.dwAllocationGranularity ? si.dwAllocationGranularity : 65536);
    }();
    return g;
}
}

void TFileWindow::Assign(HANDLE mapping, uint64_t fileSize)
{
    Release();
    FWhole = {};
    FMapping = mapping;
    FFileSize = fileSize;
}

bool TFileWindow::ReadWhole(HANDLE file, uint64_t fileSize)
{
    Assign(nullptr, 0);
    if (fileSize == 0 || fileSize > MAXDWORD) return false;
    FWhole.resize(size_t(fileSize));
    DWORD got = 0;
    if (!ReadFile(file, FWhole.data(), DWORD(fileSize), &got, nullptr) || got != fileSize) {
        FWhole = {};
        return false;
    }
    FFileSize = fileSize;
    return true;
}

const uint8_t* TFileWindow::Span(uint64_t offset, size_t n)
{
    if (!FWhole.empty() && offset <= FFileSize && n <= FFileSize - offset) return FWhole.data() + offset;
    if (!FMapping || offset > FFileSize || n > FFileSize - offset) return nullptr;
    if (FView && offset >= FViewStart && offset + n <= FViewStart + FViewBytes) return FView + (offset - FViewStart);
    Release();
    const uint64_t start = offset - offset % Granularity();
    const uint64_t want = std::max<uint64_t>(offset + n - start, FMinViewBytes);
    const uint64_t bytes = std::min<uint64_t>(want, FFileSize - start);
    if (bytes == 0 || bytes > SIZE_MAX) return nullptr;
    FView = static_cast<uint8_t*>(
        MapViewOfFile(FMapping, FILE_MAP_READ, DWORD(start >> 32), DWORD(start), SIZE_T(bytes)));
    if (!FView) return nullptr;
    FViewStart = start;
    FViewBytes = size_t(bytes);
    return FView + (offset - start);
}

bool TFileWindow::Read(uint64_t offset, void* out, size_t n)
{
    const uint8_t* p = Span(offset, n);
    if (p) std::memcpy(out, p, n);
    return p != nullptr;
}

void TFileWindow::Release()
{
    if (FView) UnmapViewOfFile(FView);
    FView = nullptr;
    FViewStart = 0;
    FViewBytes = 0;
}

void TFileWindow::Swap(TFileWindow& other) noexcept
{
    std::swap(FMapping, other.FMapping);
    std::swap(FFileSize, other.FFileSize);
    std::swap(FView, other.FView);
    std::swap(FViewStart, other.FViewStart);
    std::swap(FViewBytes, other.FViewBytes);
    std::swap(FMinViewBytes, other.FMinViewBytes);
    FWhole.swap(other.FWhole);
}
