# Cross-compiling Sonidex for 32-bit Windows (the product): build/win.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SONIDEX_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
