// Code page 932 text to UTF-8 with iconv. Settings files are written for
// Japanese Windows, whose ANSI code page this is; the fake world uses the
// same conversion.
#include <iconv.h>
#include <string.h>

#include <new>

#include "platform/platform.h"

namespace platform {

unsigned AnsiToUtf8(const char* text, char* buffer, unsigned size) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return 0;
  const size_t length = strlen(text);
  const size_t room = length * 3 + 1;  // a byte never needs more than three
  char* converted = new (std::nothrow) char[room];
  unsigned needed = 0;
  if (converted) {
    char* in = const_cast<char*>(text);
    size_t inLeft = length;
    char* out = converted;
    size_t outLeft = room;
    // Fails on an invalid or cut character, as MB_ERR_INVALID_CHARS does.
    if (iconv(converter, &in, &inLeft, &out, &outLeft) !=
        static_cast<size_t>(-1)) {
      *out = '\0';
      needed = static_cast<unsigned>(out - converted) + 1;
      if (buffer && size >= needed) memcpy(buffer, converted, needed);
    }
    delete[] converted;
  }
  iconv_close(converter);
  return needed;
}

}  // namespace platform
