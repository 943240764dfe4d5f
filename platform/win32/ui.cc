// Message boxes and the executable's own string table.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"

namespace platform {

int ShowMessageBox(const char* text, const char* caption, unsigned style) {
  int answer = MessageBoxA(NULL, text, caption, style);
  if (answer == 0) win32::FailWithLastError();
  return answer;
}

int LoadResourceString(unsigned id, char* buffer, int size) {
  return LoadStringA(GetModuleHandleA(NULL), id, buffer, size);
}

}  // namespace platform
