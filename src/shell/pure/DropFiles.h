// The shell's file-drop data (CF_HDROP) as the drag source builds it, and how a drag ends.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The block: a 20-byte header (offset of the first path 20, drop point 0, 0, non-client 0,
// wide paths), each path in UTF-16 (little-endian) with its zero, then one more zero. Every
// drop target reads wide paths, and only they carry every name the file system holds.
std::vector<uint8_t> FileDropBlock(const std::vector<std::u16string>& paths);
// Its size in bytes.
size_t FileDropBlockSize(const std::vector<std::u16string>& paths);

// How the system's drag loop ended.
enum class TDragOutcome { Dropped, Cancelled, OutOfMemory, Failed };
// The drag's result code: 0 dropped as a copy, 1 dropped as a move, 2 cancelled (also a drop
// with an effect that was not allowed), 3 out of memory, 4 any other failure.
int DragResultCode(TDragOutcome outcome, uint32_t effect, uint32_t allowed);
