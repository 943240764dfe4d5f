// Code page 932 text to UTF-8 and back, through UTF-16.
#include <string.h>
#include <windows.h>

#include <new>

#include "platform/platform.h"
#include "platform/text_rules.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// `text` (`length` bytes, or -1: up to and with its end) from code page
// `from` into code page `to`, through UTF-16; the bytes the result takes, 0
// when a step fails or it would take more than `most`. Written into `buffer`
// when that is given and `room` holds the result.
unsigned Recode(UINT from, DWORD fromFlags, const char* text, int length,
                UINT to, DWORD toFlags, const char* mark, unsigned most,
                char* buffer, unsigned room) {
  const int units = MultiByteToWideChar(from, fromFlags, text, length, NULL, 0);
  if (units <= 0) return 0;
  HeapArray<WCHAR> wide(new (std::nothrow) WCHAR[units]);
  if (!wide.valid() || MultiByteToWideChar(from, fromFlags, text, length,
                                           wide.get(), units) != units) {
    return 0;
  }
  const int bytes =
      WideCharToMultiByte(to, toFlags, wide.get(), units, NULL, 0, mark, NULL);
  if (bytes <= 0 || static_cast<unsigned>(bytes) > most) return 0;
  if (buffer && room >= static_cast<unsigned>(bytes) &&
      WideCharToMultiByte(to, toFlags, wide.get(), units, buffer, bytes, mark,
                          NULL) != bytes) {
    return 0;
  }
  return static_cast<unsigned>(bytes);
}

}  // namespace

// Not through WideText: a text the log cannot convert must not change the
// error code kept for the failure being reported. The bytes Windows' table
// takes although they start no character are refused, as WideText refuses
// them.
unsigned TextToUtf8(const char* text, char* buffer, unsigned size) {
  if (!IsValidText932(text, static_cast<unsigned>(strlen(text)))) return 0;
  return Recode(win32::kSettingsCodePage, MB_ERR_INVALID_CHARS, text, -1,
                CP_UTF8, 0, NULL, ~0u, buffer, size);
}

unsigned Utf8ToText(const char* utf8, unsigned length, char* buffer,
                    unsigned size) {
  if (length == 0) return 0;
  // Invalid UTF-8 becomes U+FFFD, which code page 932 lacks: the same mark.
  // WC_NO_BEST_FIT_CHARS: a character without a form of its own is never
  // given a look-alike's ("\" for a yen sign).
  static const char kMark[] = {kNoCodePage932Char, '\0'};
  const bool fits = buffer && size >= length;
  const unsigned bytes = Recode(CP_UTF8, 0, utf8, static_cast<int>(length),
                                win32::kSettingsCodePage, WC_NO_BEST_FIT_CHARS,
                                kMark, length, fits ? buffer : NULL, size);
  // Windows' table gives U+F8F0 to U+F8F3 the bytes 0xA0 and 0xFD to 0xFF,
  // which start no character: the same mark as everywhere else.
  if (fits) {
    for (unsigned i = 0; i < bytes; ++i) {
      const unsigned char c = static_cast<unsigned char>(buffer[i]);
      if (IsLeadByte932(c)) {
        ++i;
      } else if (c == 0xA0 || c >= 0xFD) {
        buffer[i] = kNoCodePage932Char;
      }
    }
  }
  return bytes;
}

}  // namespace platform
