// Process start-up: DLL search hardening and the COM apartment.
#include <objbase.h>
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/system_function.h"

namespace platform {

namespace {

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFn)(DWORD);
#ifndef _WIN64
typedef BOOL(WINAPI* SetDllDirectoryAFn)(LPCSTR);
#endif

// LOAD_LIBRARY_SEARCH_SYSTEM32; older SDK headers lack the name.
const DWORD kSearchSystem32 = 0x00000800;

}  // namespace

void HardenDllSearch() {
  // Both calls are looked up at run time: older systems (the Windows 95
  // family, early NT) have neither.
  SetDefaultDllDirectoriesFn setDefault =
      win32::SystemFunction<SetDefaultDllDirectoriesFn>(
          "kernel32.dll", "SetDefaultDllDirectories");
  if (setDefault != NULL && setDefault(kSearchSystem32)) return;
#ifdef _WIN64
  // Without it, at least take the current directory out of the search:
  // every 64-bit Windows has this call.
  SetDllDirectoryA("");
#else
  // Without it, at least take the current directory out of the search.
  SetDllDirectoryAFn setDirectory = win32::SystemFunction<SetDllDirectoryAFn>(
      "kernel32.dll", "SetDllDirectoryA");
  if (setDirectory != NULL) setDirectory("");
#endif
}

void ComInitialize() { CoInitialize(NULL); }

void ComUninitialize() { CoUninitialize(); }

}  // namespace platform
