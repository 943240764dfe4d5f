// Read-only registry access for the App Paths lookups.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"

namespace platform {

bool RegistryOpen(RegistryRoot root, const char* subKey, unsigned access,
                  RegistryHandle* handle) {
  if (root != kLocalMachine) return false;  // no other root is ever read
  HKEY key = NULL;
  if (!win32::KeptStatus(
          RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, access, &key))) {
    return false;
  }
  *handle = reinterpret_cast<RegistryHandle>(key);
  return true;
}

bool RegistryQuery(RegistryHandle handle, const char* name, unsigned char* data,
                   unsigned* size) {
  DWORD length = *size;
  const LONG status = RegQueryValueExA(reinterpret_cast<HKEY>(handle), name,
                                       NULL, NULL, data, &length);
  *size = length;
  return win32::KeptStatus(status);
}

unsigned OtherRegistryView() {
  return sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

void RegistryClose(RegistryHandle handle) {
  RegCloseKey(reinterpret_cast<HKEY>(handle));
}

}  // namespace platform
