// Code page 932 text to UTF-8 and back with iconv, for the builds without
// Windows (updater-check on Linux and the fake world), with the rules of the
// Windows conversions.
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
typedef ScopedOwner<ConverterTraits> Converter;

// Converts all `length` bytes at `text`; false when a byte sequence is
// invalid, cut, or has no form in the target, or the result does not fit.
bool ConvertWhole(iconv_t converter, const char* text, size_t length, char* out,
                  size_t room, size_t* written) {
  iconv(converter, 0, 0, 0, 0);  // a fresh state after an earlier failure
  char* in = const_cast<char*>(text);
  char* at = out;
  if (iconv(converter, &in, &length, &at, &room) == static_cast<size_t>(-1)) {
    return false;
  }
  *written = static_cast<size_t>(at - out);
  return true;
}

// The length of the UTF-8 sequence at `text` when it is one valid
// character (no overlong form, no surrogate, at most U+10FFFF); otherwise
// 0, and `*skip` is how many bytes the invalid sequence takes (its longest
// start that could begin a valid one, at least 1).
unsigned Utf8CharLength(const unsigned char* text, unsigned left,
                        unsigned* skip) {
  const unsigned char c = text[0];
  *skip = 1;
  if (c < 0x80) return 1;
  unsigned length;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  for (unsigned i = 1; i < length; ++i) {
    if (i >= left) return 0;
    const unsigned char lowHere = i == 1 ? low : 0x80;
    const unsigned char highHere = i == 1 ? high : 0xBF;
    if (text[i] < lowHere || text[i] > highHere) return 0;
    *skip = i + 1;
  }
  return length;
}

}  // namespace

unsigned TextToUtf8(const char* text, char* buffer, unsigned size) {
  Converter converter(iconv_open("UTF-8", "CP932"));
  const size_t length = strlen(text);
  const size_t room = length * 3 + 1;  // a byte never needs more than three
  HeapArray<char> converted(new (std::nothrow) char[room]);
  if (!converter.valid() || !converted.valid()) return 0;
  size_t written = 0;
  // Fails on an invalid or cut character, as MB_ERR_INVALID_CHARS does.
  if (!ConvertWhole(converter.get(), text, length, converted.get(), room,
                    &written)) {
    return 0;
  }
  converted[written] = '\0';
  const unsigned needed = static_cast<unsigned>(written) + 1;
  if (buffer && size >= needed) memcpy(buffer, converted.get(), needed);
  return needed;
}

unsigned Utf8ToText(const char* utf8, unsigned length, char* buffer,
                    unsigned size) {
  Converter toText(iconv_open("CP932", "UTF-8"));
  Converter back(iconv_open("UTF-8", "CP932"));
  if (!toText.valid() || !back.valid()) return 0;
  const unsigned char* in = reinterpret_cast<const unsigned char*>(utf8);
  const bool write = buffer != 0 && size >= length;
  unsigned out = 0;
  for (unsigned at = 0; at < length;) {
    unsigned skip = 0;
    const unsigned charLength = Utf8CharLength(in + at, length - at, &skip);
    char converted[4];
    size_t convertedLength = 0;
    if (charLength == 1) {
      converted[0] = static_cast<char>(in[at]);
      convertedLength = 1;
    } else if (charLength != 0) {
      // iconv's code page 932 also takes look-alikes (a yen sign becomes a
      // backslash); only a character that comes back as itself is its
      // form, as WC_NO_BEST_FIT_CHARS has it on Windows.
      char again[4];
      size_t againLength = 0;
      if (!ConvertWhole(toText.get(), utf8 + at, charLength, converted,
                        sizeof(converted), &convertedLength) ||
          !ConvertWhole(back.get(), converted, convertedLength, again,
                        sizeof(again), &againLength) ||
          againLength != charLength ||
          memcmp(again, utf8 + at, charLength) != 0) {
        convertedLength = 0;
      }
    }
    if (convertedLength == 0) {
      converted[0] = kNoCodePage932Char;
      convertedLength = 1;
    }
    // Never longer than the UTF-8 it came from, so that the result can
    // overwrite its own source.
    if (write) memcpy(buffer + out, converted, convertedLength);
    out += static_cast<unsigned>(convertedLength);
    at += charLength != 0 ? charLength : skip;
  }
  return out;
}

}  // namespace platform
