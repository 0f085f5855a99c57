#include "shell/pure/DropFiles.h"
#include <cstring>

size_t FileDropBlockSize(const std::vector<std::string>& paths)
{
    size_t n = 20 + 1;
    for (const std::string& p : paths) n += p.size() + 1;
    return n;
}

std::vector<uint8_t> FileDropBlock(const std::vector<std::string>& paths)
{
    std::vector<uint8_t> block(FileDropBlockSize(paths), 0);
    block[0] = 20;                             // pFiles; pt, fNC and fWide stay 0
    size_t at = 20;
    for (const std::string& p : paths) {
        std::memcpy(block.data() + at, p.data(), p.size());
        at += p.size() + 1;
    }
    return block;
}

int DragResultCode(TDragOutcome outcome, uint32_t effect, uint32_t allowed)
{
    constexpr uint32_t Copy = 1;
    switch (outcome) {
    case TDragOutcome::OutOfMemory: return 3;
    case TDragOutcome::Cancelled: return 2;
    case TDragOutcome::Dropped:
        if (!(effect & allowed)) return 2;
        return effect & Copy ? 0 : 1;
    default: return 4;
    }
}
