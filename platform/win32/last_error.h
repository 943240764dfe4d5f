// How this layer keeps the Windows error code of a failing call for
// platform::LastErrorCode() (see "Error codes" in platform/platform.h).
// Every failure is kept through one of these, right at the failing call:
// nothing that runs after it (a cleanup, a handle closed) can change what
// is reported.
#ifndef UPDATER_PLATFORM_WIN32_LAST_ERROR_H_
#define UPDATER_PLATFORM_WIN32_LAST_ERROR_H_

#include <windows.h>

namespace platform {
namespace win32 {

// Keeps `code` (a Win32 code, or an HRESULT) and returns false, so that a
// failing step reads `return Fail(ERROR_INVALID_NAME);`.
bool Fail(unsigned code);

// Keeps GetLastError() and returns false.
inline bool FailWithLastError() { return Fail(GetLastError()); }

// The result of a call that returns a BOOL and sets the last error.
inline bool Kept(BOOL done) { return done ? true : FailWithLastError(); }

// The result of a call that returns its status (the registry calls).
inline bool KeptStatus(LONG status) {
  return status == ERROR_SUCCESS ? true : Fail(static_cast<unsigned>(status));
}

// The result of a COM call.
inline bool KeptResult(HRESULT result) {
  return SUCCEEDED(result) ? true : Fail(static_cast<unsigned>(result));
}

}  // namespace win32
}  // namespace platform

#endif  // UPDATER_PLATFORM_WIN32_LAST_ERROR_H_
