// Code page 932 to UTF-16 and back, for the wide-character calls.
#include "platform/win32/wide_text.h"

#include <string.h>

#include <new>

#include "platform/win32/last_error.h"

namespace platform {
namespace win32 {

bool UseWideCalls() {
  static const bool wide = PlatformId() == kPlatformWin32Nt;
  return wide;
}

WideText::WideText(const char* text) : text_(0), valid_(true) {
  if (text == 0) return;
  local_[0] = L'\0';
  if (MultiByteToWideChar(kSettingsCodePage, MB_ERR_INVALID_CHARS, text, -1,
                          local_, kMaxPath) != 0) {
    text_ = local_;
    return;
  }
  const DWORD error = GetLastError();
  int length = 0;
  if (error == ERROR_INSUFFICIENT_BUFFER) {
    length = MultiByteToWideChar(kSettingsCodePage, MB_ERR_INVALID_CHARS, text,
                                 -1, NULL, 0);
  }
  if (length == 0) {
    valid_ = Fail(error == ERROR_INSUFFICIENT_BUFFER ? GetLastError() : error);
    return;
  }
  heap_.Reset(new (std::nothrow) WCHAR[length]);
  if (!heap_.valid()) {
    valid_ = Fail(ERROR_NOT_ENOUGH_MEMORY);
    return;
  }
  valid_ = Kept(MultiByteToWideChar(kSettingsCodePage, MB_ERR_INVALID_CHARS,
                                    text, -1, heap_.get(), length) != 0);
  text_ = heap_.get();
}

unsigned NarrowText(const WCHAR* text, char* buffer, unsigned size) {
  if (size != 0) buffer[0] = '\0';
  BOOL defaulted = FALSE;
  const int written =
      WideCharToMultiByte(kSettingsCodePage, WC_NO_BEST_FIT_CHARS, text, -1,
                          buffer, static_cast<int>(size), NULL, &defaulted);
  if (written == 0) return (FailWithLastError(), 0u);
  if (defaulted) {
    buffer[0] = '\0';
    return (Fail(ERROR_NO_UNICODE_TRANSLATION), 0u);
  }
  return static_cast<unsigned>(written - 1);
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
    const unsigned next = static_cast<unsigned>(NextChar(&whole[length]) -
                                                whole.get());
    if (next >= size) break;
    length = next;
  }
  memcpy(buffer, whole.get(), length);
  buffer[length] = '\0';
  return length;
}

}  // namespace win32
}  // namespace platform
