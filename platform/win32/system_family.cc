// Which Windows family is running.
#include <string.h>
#include <windows.h>

#include "platform/platform.h"

namespace platform {

unsigned PlatformId() {
  // The classic 148-byte structure: every system of both families accepts
  // it, and only the platform id is used.
  OSVERSIONINFOA info;
  memset(&info, 0, sizeof(info));
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExA(&info)) return 0;
  return info.dwPlatformId;
}

}  // namespace platform
