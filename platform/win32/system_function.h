// Calls that only some Windows versions have, looked up at run time: a
// static import of them would keep the updater from starting at all on the
// systems that lack them.
#ifndef UPDATER_PLATFORM_WIN32_SYSTEM_FUNCTION_H_
#define UPDATER_PLATFORM_WIN32_SYSTEM_FUNCTION_H_

#include <windows.h>

namespace platform {
namespace win32 {

// GetProcAddress(GetModuleHandleA(dll), name) as a pointer of type
// `Function`; null when the DLL is not loaded or lacks the call.
template <typename Function>
Function SystemFunction(const char* dll, const char* name) {
  HMODULE module = GetModuleHandleA(dll);
  if (module == NULL) return 0;
  // GetProcAddress gives a generic function pointer; going through void*
  // keeps the compiler from warning about the cast to the real signature.
  FARPROC address = GetProcAddress(module, name);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

}  // namespace win32
}  // namespace platform

#endif  // UPDATER_PLATFORM_WIN32_SYSTEM_FUNCTION_H_
