// Message boxes and the executable's own string table.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

int ShowMessageBox(const char* text, const char* caption, unsigned style) {
  return MessageBoxA(NULL, text, caption, style);
}

int LoadResourceString(unsigned id, char* buffer, int size) {
  return LoadStringA(GetModuleHandleA(NULL), id, buffer, size);
}

}  // namespace platform
