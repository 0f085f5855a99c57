# Shared by the two cross toolchain files: Debian's MinGW-w64, POSIX threads variant (std::thread
# and std::mutex exist there, which GoogleTest needs). SONIDEX_TRIPLET names the compiler.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${SONIDEX_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SONIDEX_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${SONIDEX_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SONIDEX_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
