// Which Windows family and version is running.
#include <string.h>
#include <windows.h>

#include "platform/platform.h"

namespace platform {

bool GetSystemVersion(SystemVersion* version) {
  // The classic 148-byte structure: every system of both families accepts
  // it.
  OSVERSIONINFOA info;
  memset(&info, 0, sizeof(info));
  info.dwOSVersionInfoSize = sizeof(info);
  const bool read = GetVersionExA(&info) != FALSE;
  if (!read) memset(&info, 0, sizeof(info));
  version->major = info.dwMajorVersion;
  version->minor = info.dwMinorVersion;
  version->build = info.dwBuildNumber & 0xFFFF;
  version->platformId = info.dwPlatformId;
  return read;
}

unsigned PlatformId() {
#ifdef _WIN64
  return kPlatformWin32Nt;  // the family of every 64-bit Windows
#else
  SystemVersion version;
  GetSystemVersion(&version);
  return version.platformId;
#endif
}

}  // namespace platform
