// Settings texts handed to the wide-character calls.
//
// The updater's texts are code page 932 (Shift-JIS) bytes whatever the
// system's own ANSI code page is: settings files are written for Japanese
// Windows. On the NT family every text passed to Windows is converted from
// code page 932 explicitly and given to the wide-character call, so that an
// English, Chinese or UTF-8 system sees the same names as a Japanese one;
// the 95 family (Japanese Windows 95, 98 and Me, whose ANSI code page is
// 932 and whose wide-character calls are mostly stubs) keeps the ANSI calls.
#ifndef UPDATER_PLATFORM_WIN32_WIDE_TEXT_H_
#define UPDATER_PLATFORM_WIN32_WIDE_TEXT_H_

#include <windows.h>

#include "platform/platform.h"

namespace platform {
namespace win32 {

const UINT kSettingsCodePage = 932;

// Whether this system takes the wide-character calls: the NT family. Asked
// once per process (AssumePlatformId does not change it: it only tells the
// checker which family to judge a file for). Every 64-bit Windows is of
// the NT family, so the 64-bit build answers at compile time and carries no
// ANSI branch.
#ifdef _WIN64
inline bool UseWideCalls() { return true; }
#else
bool UseWideCalls();
#endif

// A settings text converted to UTF-16 for the length of one call:
// MultiByteToWideChar(932, MB_ERR_INVALID_CHARS). Paths up to kMaxPath
// characters are held in place, longer texts on the heap. A text that is
// not valid code page 932 (IsValidText932: a cut double-byte character at
// its end, a byte that starts no character, kNoCodePage932Char among them,
// although Windows' table gives some of those bytes a character) is refused
// rather than passed on with another character in it: valid() is false and
// ERROR_NO_UNICODE_TRANSLATION (or ERROR_NOT_ENOUGH_MEMORY) is kept and
// left as the thread's last error. A null text stays null and is valid.
class WideText {
 public:
  explicit WideText(const char* text);
  bool valid() const { return valid_; }
  const WCHAR* get() const { return text_; }
  WCHAR* writable() { return const_cast<WCHAR*>(text_); }

 private:
  WideText(const WideText&);
  WideText& operator=(const WideText&);

  WCHAR local_[kMaxPath];
  HeapArray<WCHAR> heap_;
  const WCHAR* text_;
  bool valid_;
};

// CreateFileW of `path` converted (CreateFileA on the 95 family), with no
// security attributes, FILE_ATTRIBUTE_NORMAL and no template. A failure,
// the conversion's included, gives INVALID_HANDLE_VALUE with its code kept.
HANDLE CreateFileOf(const char* path, DWORD access, DWORD share,
                    DWORD disposition);

// The whole of the file `path`, opened through CreateFileOf with `share`,
// into `*bytes` as ReadWholeFile reads it (platform/platform.h); a file
// found shorter than its size while read is kept as read when `shorter`,
// and fails with ERROR_HANDLE_EOF otherwise.
bool ReadFileOf(const char* path, DWORD share, unsigned most, bool shorter,
                HeapArray<char>* bytes, unsigned* size);

// WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS) of a terminated UTF-16
// text into `buffer` (`size` bytes, terminator included): the length
// written, without the terminator. 0, with the error kept, when the text
// does not fit or holds a character code page 932 has no form for (or
// one whose form is no valid code page 932 text, U+0080): a name is never
// handed on with "?" (a wildcard) or a look-alike in its place.
// An empty text gives 0 too, with `buffer` empty.
unsigned NarrowText(const WCHAR* text, char* buffer, unsigned size);

// A path the system gives (the module's, a system folder, the temporary
// folder) in code page 932, into `buffer`: NarrowText of the path, or,
// where it holds a character code page 932 has no form for (a Korean
// folder, a user name), of its short form (GetShortPathNameW) when that
// converts. The length written, without the terminator; 0 with the error
// kept (ERROR_NO_UNICODE_TRANSLATION, or ERROR_INSUFFICIENT_BUFFER when it
// does not fit `size`) otherwise.
unsigned SystemPathText(const WCHAR* path, char* buffer, unsigned size);

// As NarrowText for a text that is only shown or logged: a character code
// page 932 has no form for becomes "?". Cut to fit `size` (never inside a
// double-byte character); always terminated when `size` is not 0.
unsigned NarrowTextForDisplay(const WCHAR* text, char* buffer, unsigned size);

}  // namespace win32
}  // namespace platform

#endif  // UPDATER_PLATFORM_WIN32_WIDE_TEXT_H_
