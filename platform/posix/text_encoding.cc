// Code page 932 text to UTF-8 with iconv. Settings files are written for
// Japanese Windows, whose ANSI code page this is; the fake world uses the
// same conversion.
#include <iconv.h>
#include <string.h>

#include <new>

#include "platform/platform.h"

namespace platform {

namespace {

struct ConverterTraits {
  typedef iconv_t Handle;
  static Handle Null() { return reinterpret_cast<iconv_t>(-1); }
  static bool IsValid(Handle converter) { return converter != Null(); }
  static void Close(Handle converter) { iconv_close(converter); }
};

}  // namespace

unsigned AnsiToUtf8(const char* text, char* buffer, unsigned size) {
  ScopedOwner<ConverterTraits> converter(iconv_open("UTF-8", "CP932"));
  const size_t length = strlen(text);
  const size_t room = length * 3 + 1;  // a byte never needs more than three
  HeapArray<char> converted(new (std::nothrow) char[room]);
  if (!converter.valid() || !converted.valid()) return 0;
  char* in = const_cast<char*>(text);
  size_t inLeft = length;
  char* out = converted.get();
  size_t outLeft = room;
  // Fails on an invalid or cut character, as MB_ERR_INVALID_CHARS does.
  if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) ==
      static_cast<size_t>(-1)) {
    return 0;
  }
  *out = '\0';
  const unsigned needed = static_cast<unsigned>(out - converted.get()) + 1;
  if (buffer && size >= needed) memcpy(buffer, converted.get(), needed);
  return needed;
}

}  // namespace platform
