// ANSI code page text to UTF-8, through UTF-16.
#include <windows.h>

#include <new>

#include "platform/platform.h"

namespace platform {

unsigned AnsiToUtf8(const char* text, char* buffer, unsigned size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
  if (units <= 1) return 0;
  WCHAR* wide = new (std::nothrow) WCHAR[units];
  if (!wide) return 0;
  int length = 0;
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, units) == units) {
    // The terminator is converted too.
    length = WideCharToMultiByte(CP_UTF8, 0, wide, units, buffer,
                                 static_cast<int>(size), NULL, NULL);
  }
  delete[] wide;
  if (length <= 1) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<unsigned>(length - 1);
}

}  // namespace platform
