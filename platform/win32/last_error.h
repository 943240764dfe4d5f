// How this layer keeps the Windows error code of a failing call for
// platform::LastErrorCode() (see "Error codes" in platform/platform.h).
#ifndef UPDATER_PLATFORM_WIN32_LAST_ERROR_H_
#define UPDATER_PLATFORM_WIN32_LAST_ERROR_H_

namespace platform {
namespace win32 {

// Keeps GetLastError(). Call it right after the failing call, before any
// other call can change the thread's last error.
void KeepLastError();

// Keeps a code the call returned itself (an HRESULT, a LONG status).
void KeepErrorCode(unsigned code);

}  // namespace win32
}  // namespace platform

#endif  // UPDATER_PLATFORM_WIN32_LAST_ERROR_H_
