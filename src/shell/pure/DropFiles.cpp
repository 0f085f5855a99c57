#include "shell/pure/DropFiles.h"

size_t FileDropBlockSize(const std::vector<std::u16string>& paths)
{
    size_t n = 20 + 2;
    for (const std::u16string& p : paths) n += 2 * (p.size() + 1);
    return n;
}

std::vector<uint8_t> FileDropBlock(const std::vector<std::u16string>& paths)
{
    std::vector<uint8_t> block(FileDropBlockSize(paths), 0);
    block[0] = 20;                             // pFiles; pt and fNC stay 0
    block[16] = 1;                             // fWide
    size_t at = 20;
    for (const std::u16string& p : paths) {
        for (char16_t c : p) {
            block[at++] = static_cast<uint8_t>(c & 0xFF);
            block[at++] = static_cast<uint8_t>(c >> 8);
        }
        at += 2;
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
