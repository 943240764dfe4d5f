// ANSI code page text to UTF-8, through UTF-16.
#include <windows.h>

#include <new>

#include "platform/platform.h"

namespace platform {

unsigned AnsiToUtf8(const char* text, char* buffer, unsigned size) {
  const int wide =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, NULL, 0);
  if (wide <= 0) return 0;
  wchar_t* units = new (std::nothrow) wchar_t[wide];
  if (!units) return 0;
  unsigned needed = 0;
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, units,
                          wide) == wide) {
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, units, wide, NULL, 0, NULL, NULL);
    if (bytes > 0) needed = static_cast<unsigned>(bytes);
    if (needed != 0 && buffer && size >= needed &&
        WideCharToMultiByte(CP_UTF8, 0, units, wide, buffer, bytes, NULL,
                            NULL) != bytes) {
      needed = 0;
    }
  }
  delete[] units;
  return needed;
}

}  // namespace platform
