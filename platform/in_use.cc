// Whether a failure was another program holding the file: the one place
// that decides which failures are worth trying again.
#include "platform/platform.h"

namespace platform {

bool IsInUseError(unsigned code) {
  return code == kErrorSharingViolation || code == kErrorLockViolation ||
         code == kErrorAccessDenied;
}

bool FailedBecauseInUse(const char* path, unsigned code) {
  // Access denied also means a read-only file, a directory or no rights,
  // none of which time cures: only a holder that the probe meets counts.
  if (!IsInUseError(code)) return false;
  return code != kErrorAccessDenied || FileHeldByAnother(path);
}

}  // namespace platform
