// Where the updater runs from and the system folders it names. On the NT
// family the wide-character calls, their paths handed up in code page 932
// (in their short form where the long one has no such form).
#include <shlobj.h>
#include <string.h>
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// The Windows folder (`windows`) or the system folder, with the folders'
// contract: the length, or the size needed (terminator included) when
// `size` is too small; 0 on failure.
unsigned FolderText(bool windows, char* buffer, unsigned size) {
  if (!win32::UseWideCalls()) {
    return windows ? GetWindowsDirectoryA(buffer, size)
                   : GetSystemDirectoryA(buffer, size);
  }
  WCHAR path[kMaxPath];
  const UINT wideLength = windows ? GetWindowsDirectoryW(path, kMaxPath)
                                  : GetSystemDirectoryW(path, kMaxPath);
  if (wideLength == 0 || wideLength >= kMaxPath) return 0;
  char narrow[2 * kMaxPath];
  const unsigned length = win32::SystemPathText(path, narrow, sizeof(narrow));
  if (length == 0) return 0;
  if (length >= size) return length + 1;
  memcpy(buffer, narrow, length + 1);
  return length;
}

}  // namespace

unsigned ModuleFileName(char* buffer, unsigned size) {
  if (!win32::UseWideCalls()) return GetModuleFileNameA(NULL, buffer, size);
  WCHAR wide[kMaxPath];
  const DWORD wideLength = GetModuleFileNameW(NULL, wide, kMaxPath);
  if (wideLength == 0) return 0;
  if (wideLength >= kMaxPath) return size;  // does not fit, as the A call
  const unsigned length = win32::SystemPathText(wide, buffer, size);
  if (length == 0 && LastErrorCode() == ERROR_INSUFFICIENT_BUFFER) return size;
  return length;
}

unsigned WindowsDirectory(char* buffer, unsigned size) {
  return FolderText(true, buffer, size);
}

unsigned SystemDirectory(char* buffer, unsigned size) {
  return FolderText(false, buffer, size);
}

bool SpecialFolderPath(int csidl, char* buffer) {
  // The shell may write into the buffer even when it fails; callers rely on
  // a failure leaving their buffer as it was, so fill a local one first.
  char local[kMaxPath];
  memset(local, 0, sizeof(local));
  if (win32::UseWideCalls()) {
    WCHAR wide[kMaxPath];
    memset(wide, 0, sizeof(wide));
    if (!SHGetSpecialFolderPathW(NULL, wide, csidl, FALSE) ||
        win32::SystemPathText(wide, local, sizeof(local)) == 0) {
      return false;
    }
  } else if (!SHGetSpecialFolderPathA(NULL, local, csidl, FALSE)) {
    return false;
  }
  memcpy(buffer, local, sizeof(local));
  return true;
}

}  // namespace platform
