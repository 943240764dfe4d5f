// The questions about the running system that are built from the narrow
// operations alone, the same over every implementation of platform.h.
#include "platform/platform.h"

namespace platform {

bool FileExists(const char* pattern) {
  FindEntry entry;
  FileSearch search;
  // An entry whose name could not be handed up is there all the same.
  return search.First(pattern, &entry) || search.failed();
}

namespace {

unsigned g_assumedPlatformId = 0;

}  // namespace

void AssumePlatformId(unsigned platformId) { g_assumedPlatformId = platformId; }

bool IsNtPlatform() {
  return (g_assumedPlatformId ? g_assumedPlatformId : PlatformId()) ==
         kPlatformWin32Nt;
}

}  // namespace platform
