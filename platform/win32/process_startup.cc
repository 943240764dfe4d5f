// Process start-up: DLL search hardening and the COM apartment.
#include <objbase.h>
#include <windows.h>

#include "platform/platform.h"

namespace platform {

namespace {

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFn)(DWORD);
typedef BOOL(WINAPI* SetDllDirectoryAFn)(LPCSTR);

// LOAD_LIBRARY_SEARCH_SYSTEM32; older SDK headers lack the name.
const DWORD kSearchSystem32 = 0x00000800;

// GetProcAddress gives a generic function pointer; going through void*
// keeps the compiler from warning about the cast to the real signature.
template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  FARPROC address = GetProcAddress(module, name);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

}  // namespace

void HardenDllSearch() {
  // Both calls are looked up at run time: older systems (the Windows 95
  // family, early NT) have neither, and a static import would keep the
  // updater from starting there at all.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == NULL) return;
  SetDefaultDllDirectoriesFn setDefault =
      Lookup<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories");
  if (setDefault != NULL && setDefault(kSearchSystem32)) return;
  // Without it, at least take the current directory out of the search.
  SetDllDirectoryAFn setDirectory =
      Lookup<SetDllDirectoryAFn>(kernel, "SetDllDirectoryA");
  if (setDirectory != NULL) setDirectory("");
}

void ComInitialize() { CoInitialize(NULL); }

void ComUninitialize() { CoUninitialize(); }

}  // namespace platform
