// Settings-file reads through the private-profile functions.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

unsigned ProfileString(const char* section, const char* key,
                       const char* fallback, char* buffer, unsigned size,
                       const char* file) {
  return GetPrivateProfileStringA(section, key, fallback, buffer, size, file);
}

unsigned ProfileSection(const char* section, char* buffer, unsigned size,
                        const char* file) {
  return GetPrivateProfileSectionA(section, buffer, size, file);
}

}  // namespace platform
