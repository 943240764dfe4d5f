// ANSI code page text to UTF-8, through UTF-16.
#include <windows.h>

#include <new>

#include "platform/platform.h"

namespace platform {

unsigned AnsiToUtf8(const char* text, char* buffer, unsigned size) {
  const int wide =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, NULL, 0);
  if (wide <= 0) return 0;
  HeapArray<wchar_t> units(new (std::nothrow) wchar_t[wide]);
  if (!units.valid() || MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text,
                                            -1, units.get(), wide) != wide) {
    return 0;
  }
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, units.get(), wide, NULL, 0, NULL, NULL);
  if (bytes <= 0) return 0;
  if (buffer && size >= static_cast<unsigned>(bytes) &&
      WideCharToMultiByte(CP_UTF8, 0, units.get(), wide, buffer, bytes, NULL,
                          NULL) != bytes) {
    return 0;
  }
  return static_cast<unsigned>(bytes);
}

}  // namespace platform
