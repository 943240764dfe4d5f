// The system's own error boxes for drives and files, switched off.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

unsigned QuietCriticalErrors() {
  return SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

}  // namespace platform
