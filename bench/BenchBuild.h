// Which build a benchmark measured: the 32-bit and the 64-bit program differ in figures.
#pragma once

inline const char* BuildWidth() { return sizeof(void*) == 8 ? "64-bit build" : "32-bit build"; }
