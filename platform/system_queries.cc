// The questions about the running system that are built from the narrow
// operations alone, the same over every implementation of platform.h.
#include "platform/platform.h"

namespace platform {

bool FileExists(const char* pattern) {
  FindEntry entry;
  FileSearch search;
  return search.First(pattern, &entry);  // closed when `search` goes
}

bool IsNtPlatform() { return PlatformId() == kPlatformWin32Nt; }

}  // namespace platform
