// Message boxes, the executable's own string table and the language of the
// user interface.
#include <windows.h>

#include <new>

#include "platform/platform.h"
#include "platform/win32/last_error.h"
#include "platform/win32/system_function.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// A box text in UTF-16, converted from code page 932 without refusing
// anything: a byte that starts no character is shown as the system's
// replacement character. A box that shows a broken name is better than no
// box. Null when memory runs out.
WCHAR* DisplayWideText(const char* text, HeapArray<WCHAR>* owner) {
  const int length =
      MultiByteToWideChar(win32::kSettingsCodePage, 0, text, -1, NULL, 0);
  if (length <= 0) return NULL;
  owner->Reset(new (std::nothrow) WCHAR[length]);
  if (!owner->valid() ||
      MultiByteToWideChar(win32::kSettingsCodePage, 0, text, -1, owner->get(),
                          length) != length) {
    return NULL;
  }
  return owner->get();
}

#ifndef _WIN64
typedef LANGID(WINAPI* GetUserDefaultUILanguageFn)();
#endif

}  // namespace

int ShowMessageBox(const char* text, const char* caption, unsigned style) {
  int answer = 0;
  HeapArray<WCHAR> wideText;
  HeapArray<WCHAR> wideCaption;
  const WCHAR* shownText = NULL;
  const WCHAR* shownCaption = NULL;
  if (win32::UseWideCalls()) {
    shownText = DisplayWideText(text, &wideText);
    shownCaption = DisplayWideText(caption, &wideCaption);
  }
  // Out of memory, or the 95 family: the ANSI box, which a Japanese
  // system shows right.
  if (shownText != NULL && shownCaption != NULL)
    answer = MessageBoxW(NULL, shownText, shownCaption, style);
  else
    answer = MessageBoxA(NULL, text, caption, style);
  if (answer == 0) win32::FailWithLastError();
  return answer;
}

int LoadResourceString(unsigned id, char* buffer, int size) {
  if (size <= 0) return 0;
  if (!win32::UseWideCalls())
    return LoadStringA(GetModuleHandleA(NULL), id, buffer, size);
  // Each UTF-16 unit becomes at least one byte: `size` units hold every
  // text that fits `size` bytes.
  buffer[0] = '\0';
  HeapArray<WCHAR> wide(new (std::nothrow) WCHAR[size]);
  if (!wide.valid()) return 0;
  if (LoadStringW(GetModuleHandleA(NULL), id, wide.get(), size) <= 0) return 0;
  return static_cast<int>(win32::NarrowTextForDisplay(
      wide.get(), buffer, static_cast<unsigned>(size)));
}

bool UserInterfaceIsJapanese() {
  const WORD kPrimaryLanguageMask = 0x3FF;  // PRIMARYLANGID
#ifdef _WIN64
  // Every 64-bit Windows has the call: no lookup, and no fallback.
  return (GetUserDefaultUILanguage() & kPrimaryLanguageMask) == LANG_JAPANESE;
#else
  GetUserDefaultUILanguageFn uiLanguage =
      win32::SystemFunction<GetUserDefaultUILanguageFn>(
          "kernel32.dll", "GetUserDefaultUILanguage");
  if (uiLanguage != NULL)
    return (uiLanguage() & kPrimaryLanguageMask) == LANG_JAPANESE;
  return GetACP() == win32::kSettingsCodePage;
#endif
}

}  // namespace platform
