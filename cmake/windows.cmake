# Windows build: updater.exe, statically linked, system DLLs only, plus the
# platform contract tests and the end-to-end tests, both run under Wine.
enable_language(RC)

set(UPDATER_SIZE_FLAGS -Os -fno-exceptions -fno-rtti -fno-threadsafe-statics
    -fno-asynchronous-unwind-tables -ffunction-sections -fdata-sections)
target_compile_options(updater_core PRIVATE ${UPDATER_SIZE_FLAGS})

file(GLOB UPDATER_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cc)
list(FILTER UPDATER_WIN32_SOURCES EXCLUDE REGEX "(entry|runtime_shims)\\.cc$")
add_library(platform_win32 STATIC ${UPDATER_WIN32_SOURCES})
target_include_directories(platform_win32 PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(platform_win32 PRIVATE ${UPDATER_SIZE_FLAGS})
target_compile_definitions(platform_win32 PUBLIC WIN32_LEAN_AND_MEAN)
target_link_libraries(platform_win32 PUBLIC ole32 uuid shell32 advapi32 user32)
target_link_libraries(updater_core PUBLIC platform_win32)

configure_file(res/updater.manifest.in ${CMAKE_BINARY_DIR}/updater.manifest @ONLY)
configure_file(res/version.h.in ${CMAKE_BINARY_DIR}/res/version.h @ONLY)
add_executable(updater WIN32 platform/win32/entry.cc
               platform/win32/runtime_shims.cc res/updater.rc)
target_compile_options(updater PRIVATE ${UPDATER_SIZE_FLAGS})
target_include_directories(updater PRIVATE ${CMAKE_BINARY_DIR}/res ${CMAKE_BINARY_DIR}
                           ${CMAKE_SOURCE_DIR}/res)
set_source_files_properties(res/updater.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/updater.manifest;${CMAKE_SOURCE_DIR}/res/strings.rc;${CMAKE_SOURCE_DIR}/res/updater.ico")
target_link_libraries(updater PRIVATE updater_core)
target_link_options(updater PRIVATE -static -s -Wl,--gc-sections
                    -Wl,--dynamicbase -Wl,--nxcompat)

# updater-check.exe: a console program of its own; it may use more of the
# C++ runtime than updater.exe, but neither exceptions nor iostreams.
add_executable(updater-check checker/main.cc)
target_compile_options(updater-check PRIVATE -Os -fno-exceptions -fno-rtti)
target_compile_options(updater_checker PRIVATE -Os -fno-rtti)
target_link_libraries(updater-check PRIVATE updater_checker)
target_link_options(updater-check PRIVATE -static -s -Wl,--gc-sections
                    -Wl,--dynamicbase -Wl,--nxcompat)

# The benchmark's yardstick, built with the same flags as updater.exe.
add_executable(bench_trivial WIN32 bench/trivial.cc)
target_compile_options(bench_trivial PRIVATE ${UPDATER_SIZE_FLAGS})
target_link_options(bench_trivial PRIVATE -static -s -Wl,--gc-sections
                    -Wl,--dynamicbase -Wl,--nxcompat)
target_link_libraries(bench_trivial PRIVATE user32)

if(UPDATER_TESTS)
  enable_testing()
  # One throw-away Wine prefix per test run, made by the "wine" fixture;
  # every test that runs a Windows program requires that fixture. Each build
  # runs under the Wine of its own width (tools/wine-env.sh); a test whose
  # Wine cannot run on this machine exits with 77 and counts as skipped.
  set(UPDATER_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(UPDATER_WINE_ARCH 64)
  else()
    set(UPDATER_WINE_ARCH 32)
  endif()
  set(UPDATER_WINE_ENV "WINEPREFIX=${UPDATER_WINEPREFIX};UPDATER_WINE_ARCH=${UPDATER_WINE_ARCH}")
  add_subdirectory(tests/e2e)
  add_subdirectory(tests/windows)
  add_subdirectory(tests/checker)
endif()
