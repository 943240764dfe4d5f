#include "app/system_queries.h"

#include "platform/platform.h"

bool FileExists(const char* name) {
  platform::FindEntry entry;
  platform::FileSearch search;
  return search.First(name, &entry);  // the search is closed by `search`
}

bool IsNtPlatform() {
  return platform::PlatformId() == platform::kPlatformWin32Nt;
}
