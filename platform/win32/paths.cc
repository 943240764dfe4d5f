// Where the updater runs from and the system folders it names.
#include <shlobj.h>
#include <string.h>
#include <windows.h>

#include "platform/platform.h"

namespace platform {

unsigned ModuleFileName(char* buffer, unsigned size) {
  return GetModuleFileNameA(NULL, buffer, size);
}

unsigned WindowsDirectory(char* buffer, unsigned size) {
  return GetWindowsDirectoryA(buffer, size);
}

unsigned SystemDirectory(char* buffer, unsigned size) {
  return GetSystemDirectoryA(buffer, size);
}

bool SpecialFolderPath(int csidl, char* buffer) {
  // The shell may write into the buffer even when it fails; callers rely on
  // a failure leaving their buffer as it was, so fill a local one first.
  char local[kMaxPath];
  memset(local, 0, sizeof(local));
  if (!SHGetSpecialFolderPathA(NULL, local, csidl, FALSE)) return false;
  memcpy(buffer, local, sizeof(local));
  return true;
}

}  // namespace platform
