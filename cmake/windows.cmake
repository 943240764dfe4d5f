# Windows build: updater.exe, statically linked, system DLLs only, plus the
# platform contract tests and the end-to-end tests, both run under Wine.
enable_language(RC)

# No libraries beyond those each target names and the compiler's own:
# CMake's default list (kernel32, gdi32, winspool, comdlg32, oleaut32...)
# adds nothing needed, and with kernel32 named ahead of the C runtime GNU ld
# 2.40 crashes on updater.exe's link-time optimised link.
set(CMAKE_C_STANDARD_LIBRARIES "")
set(CMAKE_CXX_STANDARD_LIBRARIES "")

# How every program of this build is made small, in one place: compiled for
# size (-Oz: shorter instruction sequences than -Os, where a few cycles do
# not matter to a program that waits on the disk and the user), with data
# aligned as the ABI asks (not every array of 32 bytes or more to 32), without
# copying a function's head into its callers, without the C++ runtime's
# exceptions, type information and thread-safe statics, without unwind
# tables (nothing here unwinds) and without the compiler's banner in each
# object; linked statically, stripped, keeping only what is reached,
# relocatable (ASLR) and NX compatible, and without the link's time in the
# header, so that a build is the same bytes at any time.
set(UPDATER_CODE_FLAGS -Oz -malign-data=abi -fno-partial-inlining -fno-exceptions -fno-rtti
    -fno-threadsafe-statics -fno-asynchronous-unwind-tables -fno-unwind-tables
    -fno-ident)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # 32-bit Windows promises a 4-byte aligned stack only, and nothing here
  # keeps 16-byte values on it: padding every frame to 16 bytes buys nothing.
  list(APPEND UPDATER_CODE_FLAGS -mpreferred-stack-boundary=2)
endif()
# A section per function and per object, so that the linker can leave out
# what is not reached. A link-time optimised link drops that itself, and
# there the sections only cost: each function's starts on a 16-byte boundary
# on x86-64, and zeroed objects land in .data instead of .bss.
set(UPDATER_SECTION_FLAGS -ffunction-sections -fdata-sections)
set(UPDATER_SIZE_FLAGS ${UPDATER_CODE_FLAGS} ${UPDATER_SECTION_FLAGS})
set(UPDATER_LINK_FLAGS -static -s -Wl,--gc-sections -Wl,--dynamicbase
    -Wl,--nxcompat -Wl,--no-insert-timestamp)
# The system DLLs the platform layer calls.
set(UPDATER_WIN32_LIBS ole32 uuid shell32 advapi32 user32)

# Compiles a target with the size flags; an executable is linked with them
# too (with link-time optimisation the link compiles again).
function(updater_build_small target)
  target_compile_options(${target} PRIVATE ${UPDATER_SIZE_FLAGS})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE ${UPDATER_SIZE_FLAGS}
                        ${UPDATER_LINK_FLAGS})
  endif()
endfunction()

updater_build_small(updater_core)

file(GLOB UPDATER_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cc)
list(FILTER UPDATER_WIN32_SOURCES EXCLUDE REGEX "(entry|runtime_shims)\\.cc$")
add_library(platform_win32 STATIC ${UPDATER_WIN32_SOURCES})
target_include_directories(platform_win32 PUBLIC ${CMAKE_SOURCE_DIR})
updater_build_small(platform_win32)
target_compile_definitions(platform_win32 PUBLIC WIN32_LEAN_AND_MEAN)
target_link_libraries(platform_win32 PUBLIC ${UPDATER_WIN32_LIBS})
target_link_libraries(updater_core PUBLIC platform_win32)
# The Win32 layer uses the shared platform code of the core (the character
# rules of code page 932, the private-profile rules, the settings file's
# encoding): the two libraries need each other, which CMake links as a
# cycle.
target_link_libraries(platform_win32 PUBLIC updater_core)

# The manifest as written, without its comments and the blanks between its
# tags, which the executable would carry for nothing.
file(READ res/updater.manifest.in UPDATER_MANIFEST)
string(REGEX REPLACE "<!--[^>]*-->" "" UPDATER_MANIFEST "${UPDATER_MANIFEST}")
string(REGEX REPLACE ">[ \t\r\n]+<" "><" UPDATER_MANIFEST "${UPDATER_MANIFEST}")
string(STRIP "${UPDATER_MANIFEST}" UPDATER_MANIFEST)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/updater.manifest
     CONTENT "${UPDATER_MANIFEST}" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             res/updater.manifest.in)

# updater.exe compiles the core's and the platform layer's sources once more,
# itself, with link-time optimisation across all of them (and exactly the
# core's definitions and options). The libraries stay without it: the
# checker and the tests link them as usual, since mixing optimised and plain
# objects that share inline templates does not link.
# The command-line tools' own platform code stays out.
set(UPDATER_EXE_WIN32_SOURCES ${UPDATER_WIN32_SOURCES})
list(FILTER UPDATER_EXE_WIN32_SOURCES EXCLUDE REGEX "tool_files\\.cc$")
add_executable(updater WIN32 platform/win32/entry.cc
               platform/win32/runtime_shims.cc ${UPDATER_CORE_SOURCES}
               ${UPDATER_EXE_WIN32_SOURCES} res/updater.rc)
set_property(TARGET updater PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
# One link-time partition: split for parallel code generation, the program
# would carry each partition's copy of the same strings and helpers.
target_link_options(updater PRIVATE -flto-partition=one)
target_include_directories(updater PRIVATE ${CMAKE_SOURCE_DIR}
  ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/res)
target_compile_definitions(updater PRIVATE WIN32_LEAN_AND_MEAN
  $<$<COMPILE_LANGUAGE:CXX>:$<TARGET_PROPERTY:updater_core,COMPILE_DEFINITIONS>>)
target_compile_options(updater PRIVATE
  $<$<COMPILE_LANGUAGE:CXX>:$<TARGET_PROPERTY:updater_core,COMPILE_OPTIONS>>)
target_link_options(updater PRIVATE ${UPDATER_CODE_FLAGS} ${UPDATER_LINK_FLAGS})
target_link_libraries(updater PRIVATE ${UPDATER_WIN32_LIBS})
# A link-time optimised object names its sections with a random number
# unless it is given a seed: the source's own name keeps them the same bytes
# in every build.
get_target_property(UPDATER_OWN_SOURCES updater SOURCES)
list(FILTER UPDATER_OWN_SOURCES INCLUDE REGEX "\\.cc$")
foreach(source ${UPDATER_OWN_SOURCES})
  string(REPLACE "${CMAKE_SOURCE_DIR}/" "" name "${source}")
  set_property(SOURCE ${source} APPEND PROPERTY COMPILE_OPTIONS
               -frandom-seed=${name})
endforeach()
set(UPDATER_VERSION_RC_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/version_info.rc;${CMAKE_BINARY_DIR}/res/version.h")
set_source_files_properties(res/updater.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/updater.manifest;${CMAKE_SOURCE_DIR}/res/strings.rc;${CMAKE_SOURCE_DIR}/res/updater.ico;${UPDATER_VERSION_RC_DEPENDS}")
# Without the toolchain's start-up code: the entry point is runtime_shims.cc's
# (named here, which also keeps link-time optimisation from dropping it).
# Nothing may then need the pseudo-relocations that code applied, so
# importing a DLL's data without declaring it imported is a link error.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(UPDATER_ENTRY _UpdaterEntry)  # C names carry an underscore on i686
else()
  set(UPDATER_ENTRY UpdaterEntry)
endif()
target_link_options(updater PRIVATE -nostartfiles -Wl,-e,${UPDATER_ENTRY}
                    -Wl,--disable-auto-import -Wl,--disable-runtime-pseudo-reloc)
# The sections as cmake/updater.ld.in lays them out: the import tables in the
# read-only data rather than in a writable section of their own.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(UPDATER_POINTER_SIZE 4)
  set(UPDATER_POINTER_WORD LONG)
else()
  set(UPDATER_POINTER_SIZE 8)
  set(UPDATER_POINTER_WORD QUAD)
endif()
configure_file(cmake/updater.ld.in ${CMAKE_BINARY_DIR}/updater.ld @ONLY)
target_link_options(updater PRIVATE -Wl,-T,${CMAKE_BINARY_DIR}/updater.ld)
set_property(TARGET updater APPEND PROPERTY LINK_DEPENDS
             ${CMAKE_BINARY_DIR}/updater.ld)

# updater-check.exe: a console program of its own; it may use more of the
# C++ runtime than updater.exe, but neither exceptions nor iostreams.
add_executable(updater-check checker/main.cc res/updater-check.rc)
set_source_files_properties(res/updater-check.rc PROPERTIES
  OBJECT_DEPENDS "${UPDATER_VERSION_RC_DEPENDS}")
updater_build_small(updater_checker)
updater_build_small(updater-check)
target_link_libraries(updater-check PRIVATE updater_checker)

# The benchmark's yardstick, built with the size flags.
add_executable(bench_trivial WIN32 bench/trivial.cc)
updater_build_small(bench_trivial)
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
