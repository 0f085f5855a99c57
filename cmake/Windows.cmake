# Cross build: Sonidex.exe, its tests under Wine, the test doubles and the benchmarks.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(WARN_WIN ${WARN})
# Casts that cut a pointer to 32 bits on the 64-bit build are errors in every program of both
# builds (C++ refuses a pointer cast to a narrower integer by itself).
add_compile_options(-Werror=int-to-pointer-cast $<$<COMPILE_LANGUAGE:C>:-Werror=pointer-to-int-cast>)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(SONIDEX_ARCH 64)
else()
  set(SONIDEX_ARCH 32)
endif()
# The scripts read which Windows the folder's programs are for (tools/wine-env.sh).
file(WRITE ${CMAKE_BINARY_DIR}/sonidex-arch "${SONIDEX_ARCH}\n")
# Every test command of the cross build runs under Wine, with the loader and prefix of this
# folder's architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run.sh --build ${CMAKE_BINARY_DIR})
add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 NOMINMAX)

# The project's version, for the resource script and the about box (a header), and for
# tools/package.sh (sonidex-version). The manifest names it too; it is checked here.
set(GEN_OUT ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/resources/SonidexVersion.h.in ${GEN_OUT}/SonidexVersion.h)
file(WRITE ${CMAKE_BINARY_DIR}/sonidex-version "${PROJECT_VERSION}\n")
set(MANIFEST ${CMAKE_SOURCE_DIR}/resources/Sonidex.manifest)
file(STRINGS ${MANIFEST} identity REGEX "<assemblyIdentity")
string(REGEX MATCH "version=\"([0-9.]+)\"" _ "${identity}")
if(NOT CMAKE_MATCH_1 STREQUAL "${PROJECT_VERSION}.0")
  message(FATAL_ERROR "resources/Sonidex.manifest names version ${CMAKE_MATCH_1}; "
    "the project is ${PROJECT_VERSION}: its assemblyIdentity wants ${PROJECT_VERSION}.0")
endif()

# Pictures, cursors and the icon are drawn by our generator; windres compiles the script.
set(RES_OUT ${CMAKE_BINARY_DIR}/resources)
add_custom_command(OUTPUT ${RES_OUT}/stamp
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/resgen.py ${RES_OUT}
  COMMAND ${CMAKE_COMMAND} -E touch ${RES_OUT}/stamp
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/resgen.py
  COMMENT "Drawing resources")
add_custom_target(resources_gen DEPENDS ${RES_OUT}/stamp)
set(RC_FILE ${CMAKE_SOURCE_DIR}/resources/Sonidex.rc)
set_source_files_properties(${RC_FILE} PROPERTIES OBJECT_DEPENDS "${RES_OUT}/stamp;${MANIFEST};${GEN_OUT}/SonidexVersion.h")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${RES_OUT} -I${GEN_OUT} -I${CMAKE_SOURCE_DIR}/resources")
enable_language(RC)
add_library(sonidex_res OBJECT ${RC_FILE})
add_dependencies(sonidex_res resources_gen)

# Everything under src/ but the pure logic and the program's entry.
file(GLOB_RECURSE WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER WIN_SOURCES EXCLUDE REGEX "/pure/")
list(FILTER WIN_SOURCES EXCLUDE REGEX "/app/Main\\.cpp$")
# The user locale's collation serves the pure string list: it goes with the pure library.
list(FILTER WIN_SOURCES EXCLUDE REGEX "/toolkit/Locale\\.cpp$")
target_sources(sonidex_pure PRIVATE ${CMAKE_SOURCE_DIR}/src/toolkit/Locale.cpp)
add_library(sonidex_win STATIC ${WIN_SOURCES})
target_include_directories(sonidex_win PUBLIC ${CMAKE_SOURCE_DIR}/src PRIVATE ${GEN_OUT})
target_compile_options(sonidex_win PRIVATE ${WARN_WIN})
target_link_libraries(sonidex_win PUBLIC sonidex_pure
  dsound dxguid winmm comctl32 ole32 oleaut32 uuid gdi32 user32 kernel32 advapi32)

add_executable(Sonidex WIN32 ${CMAKE_SOURCE_DIR}/src/app/Main.cpp $<TARGET_OBJECTS:sonidex_res>)
target_link_libraries(Sonidex sonidex_win)
target_link_options(Sonidex PRIVATE -static -static-libgcc -static-libstdc++)
# What ships: a GUI program of this build's width that imports system DLLs only. Needs no Wine,
# so it is checked on every machine, also where this build cannot run.
add_test(NAME exe.SonidexIsAStaticGuiProgramOfItsWidth
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/check_exe.py $<TARGET_FILE:Sonidex> ${SONIDEX_ARCH})

# The companion stand-in records every message its main window receives.
add_executable(BeatcrafterStandIn WIN32 ${CMAKE_SOURCE_DIR}/tools/companion/Companion.cpp)
target_link_options(BeatcrafterStandIn PRIVATE -static)

# Takes OLE file drops and logs them: the other program a sample is dragged into.
add_executable(DropTargetStandIn WIN32 ${CMAKE_SOURCE_DIR}/tools/droptarget/DropTargetStandIn.cpp)
target_link_libraries(DropTargetStandIn ole32 uuid)
target_link_options(DropTargetStandIn PRIVATE -static)

# Reads the main window's list box from outside, for the end-to-end tests.
add_executable(ListProbe ${CMAKE_SOURCE_DIR}/tools/probe/ListProbe.cpp)
target_link_options(ListProbe PRIVATE -static -mconsole)

# Stands in for a web browser: records how it was started, for the web link's tests.
add_executable(ArgsRecorder WIN32 ${CMAKE_SOURCE_DIR}/tools/recorder/ArgsRecorder.c)
target_link_options(ArgsRecorder PRIVATE -static)

# Reads the texts of the message boxes on the screen, for the end-to-end tests.
add_executable(wintext ${CMAKE_SOURCE_DIR}/tools/wintext/wintext.c)
target_link_options(wintext PRIVATE -static)

# MIDI test double: a native midimap.dll that logs what the sequencer plays.
add_library(fakemidi SHARED ${CMAKE_SOURCE_DIR}/tools/fakemidi/fakemidi.c ${CMAKE_SOURCE_DIR}/tools/fakemidi/midimap.def)
set_target_properties(fakemidi PROPERTIES OUTPUT_NAME midimap PREFIX "")
target_link_libraries(fakemidi winmm)
target_link_options(fakemidi PRIVATE -Wl,--enable-stdcall-fixup -static-libgcc)

# The demo sample library that the README's first command opens.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/demo-library/.stamp
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_demo_library.py ${CMAKE_BINARY_DIR}/demo-library
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_demo_library.py ${CMAKE_SOURCE_DIR}/tools/sounds.py)
add_custom_target(demo_library ALL DEPENDS ${CMAKE_BINARY_DIR}/demo-library/.stamp)

if(CMAKE_CROSSCOMPILING)
# A quiet Wine prefix for the tests, win32 or win64 as this build, made once per build folder.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/wineprefix/.ready
  COMMAND ${CMAKE_SOURCE_DIR}/tools/make_prefix.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:fakemidi>
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_prefix.sh fakemidi)
add_custom_target(wineprefix ALL DEPENDS ${CMAKE_BINARY_DIR}/wineprefix/.ready)
# What the end-to-end tests need, for a build folder that runs only those.
add_custom_target(e2e_programs DEPENDS Sonidex BeatcrafterStandIn DropTargetStandIn ListProbe wintext fakemidi
  demo_library wineprefix)
endif()

# Tests that run under Wine with the real Win32 calls.
file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES} $<TARGET_OBJECTS:sonidex_res>)
target_link_libraries(win_tests sonidex_win gtest_local)
add_dependencies(win_tests ArgsRecorder)
target_link_options(win_tests PRIVATE -static -mconsole)
target_compile_definitions(win_tests PRIVATE SONIDEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(win_tests TEST_PREFIX "win." DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "SONIDEX_BUILD=${CMAKE_BINARY_DIR}" TIMEOUT 120)

# End-to-end tests drive Sonidex.exe as a person would (under Wine, with X input).
if(CMAKE_CROSSCOMPILING)
file(GLOB E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
foreach(t ${E2E_TESTS})
  get_filename_component(name ${t} NAME_WE)
  add_test(NAME e2e.${name} COMMAND ${Python3_EXECUTABLE} ${t})
  set_tests_properties(e2e.${name} PROPERTIES ENVIRONMENT
    "SONIDEX_BUILD=${CMAKE_BINARY_DIR};SONIDEX_SOURCE=${CMAKE_SOURCE_DIR}" TIMEOUT 300 RUN_SERIAL TRUE
    SKIP_RETURN_CODE 77)
endforeach()
endif()

# Benchmarks: bench/*.cpp are Windows programs; bench/*.py drive them and print ratios.
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
foreach(src ${BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} WIN32 ${src} $<TARGET_OBJECTS:sonidex_res>)
  target_link_libraries(${name} sonidex_win)
  # A benchmark with WinMain is a GUI program like Sonidex.exe; one with main() a console one.
  file(READ ${src} body)
  if(body MATCHES "WinMain")
    target_link_options(${name} PRIVATE -static)
  else()
    target_link_options(${name} PRIVATE -static -mconsole)
  endif()
endforeach()
