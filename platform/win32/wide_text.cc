// Code page 932 to UTF-16 and back, for the wide-character calls.
#include "platform/win32/wide_text.h"

#include <string.h>

#include <new>

#include "platform/text_rules.h"
#include "platform/win32/last_error.h"

namespace platform {
namespace win32 {

#ifndef _WIN64
bool UseWideCalls() {
  static const bool wide = PlatformId() == kPlatformWin32Nt;
  return wide;
}
#endif

namespace {

// Keeps `code`, and leaves it as the thread's last error too, for callers
// that read GetLastError where the call the text was for would have set it.
bool Refused(DWORD code) {
  SetLastError(code);
  return Fail(code);
}

}  // namespace

WideText::WideText(const char* text) : text_(0), valid_(true) {
  if (text == 0) return;
  local_[0] = L'\0';
  // Windows' table for code page 932 also takes the bytes 0x80, 0xA0 and
  // 0xFD to 0xFF, which start no character, to characters of their own:
  // kNoCodePage932Char among them. They are refused by the project's rule.
  DWORD refusal = ERROR_NO_UNICODE_TRANSLATION;
  if (IsValidText932(text, static_cast<unsigned>(strlen(text)))) {
    const int length = MultiByteToWideChar(
        kSettingsCodePage, MB_ERR_INVALID_CHARS, text, -1, NULL, 0);
    refusal = length == 0 ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
    WCHAR* wide = local_;
    if (length > static_cast<int>(kMaxPath)) {
      heap_.Reset(new (std::nothrow) WCHAR[length]);
      wide = heap_.get();
    }
    if (length != 0 && wide != 0) {
      valid_ = Kept(MultiByteToWideChar(kSettingsCodePage, MB_ERR_INVALID_CHARS,
                                        text, -1, wide, length) != 0);
      text_ = wide;
      return;
    }
  }
  valid_ = Refused(refusal);
}

HANDLE CreateFileOf(const char* path, DWORD access, DWORD share,
                    DWORD disposition) {
  HANDLE file;
  if (UseWideCalls()) {
    const WideText wide(path);
    if (!wide.valid()) return INVALID_HANDLE_VALUE;
    file = CreateFileW(wide.get(), access, share, NULL, disposition,
                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) FailWithLastError();
  } else {
    file = CreateFileA(path, access, share, NULL, disposition,
                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) FailWithLastError();
  }
  return file;
}

unsigned NarrowText(const WCHAR* text, char* buffer, unsigned size) {
  if (size != 0) buffer[0] = '\0';
  BOOL defaulted = FALSE;
  const int written =
      WideCharToMultiByte(kSettingsCodePage, WC_NO_BEST_FIT_CHARS, text, -1,
                          buffer, static_cast<int>(size), NULL, &defaulted);
  if (written == 0) return (FailWithLastError(), 0u);
  // A name holding a byte that starts no character (U+0080 comes back as
  // 0x80) could never be passed back.
  if (defaulted ||
      !IsValidText932(buffer, static_cast<unsigned>(written - 1))) {
    buffer[0] = '\0';
    return (Fail(ERROR_NO_UNICODE_TRANSLATION), 0u);
  }
  return static_cast<unsigned>(written - 1);
}

unsigned SystemPathText(const WCHAR* path, char* buffer, unsigned size) {
  const unsigned length = NarrowText(path, buffer, size);
  if (length != 0 || LastErrorCode() != ERROR_NO_UNICODE_TRANSLATION) {
    return length;
  }
  WCHAR shortPath[kMaxPath];
  const DWORD shortLength = GetShortPathNameW(path, shortPath, kMaxPath);
  if (shortLength == 0 || shortLength >= kMaxPath) {
    return (Fail(ERROR_NO_UNICODE_TRANSLATION), 0u);
  }
  return NarrowText(shortPath, buffer, size);
}

unsigned NarrowTextForDisplay(const WCHAR* text, char* buffer, unsigned size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  const int needed =
      WideCharToMultiByte(kSettingsCodePage, 0, text, -1, NULL, 0, NULL, NULL);
  if (needed <= 0) return 0;
  HeapArray<char> whole(new (std::nothrow) char[needed]);
  if (!whole.valid() ||
      WideCharToMultiByte(kSettingsCodePage, 0, text, -1, whole.get(), needed,
                          NULL, NULL) != needed) {
    return 0;
  }
  // Whole characters only, as many as fit before the terminator.
  unsigned length = 0;
  while (whole[length] != '\0') {
    const unsigned next =
        static_cast<unsigned>(NextChar(&whole[length]) - whole.get());
    if (next >= size) break;
    length = next;
  }
  memcpy(buffer, whole.get(), length);
  buffer[length] = '\0';
  return length;
}

}  // namespace win32
}  // namespace platform
