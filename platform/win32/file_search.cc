// FindFirstFile / FindNextFile listings behind the FileSearch object: the
// wide-character calls on the NT family, each name found handed up in code
// page 932; the ANSI calls on the 95 family.
#include <string.h>
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

void CopyFields(DWORD attributes, DWORD sizeHigh, DWORD sizeLow,
                FindEntry* entry) {
  entry->attributes = attributes;
  entry->size = sizeHigh != 0 ? 0xFFFFFFFFu : sizeLow;
}

void CopyEntry(const WIN32_FIND_DATAA& data, FindEntry* entry) {
  CopyFields(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow,
             entry);
  memcpy(entry->name, data.cFileName, sizeof(entry->name));
  entry->name[kMaxPath - 1] = '\0';
}

// The entry's name in code page 932: its own, or else its short form (the
// system makes one of ASCII characters for such names where the volume
// keeps short names). Never a name with "?" in it, which would match other
// files. False, with ERROR_NO_UNICODE_TRANSLATION kept, when neither
// converts; `entry` is then left untouched.
bool CopyEntry(const WIN32_FIND_DATAW& data, FindEntry* entry) {
  char name[kMaxPath];
  if (win32::NarrowText(data.cFileName, name, sizeof(name)) == 0 &&
      (data.cAlternateFileName[0] == L'\0' ||
       win32::NarrowText(data.cAlternateFileName, name, sizeof(name)) == 0)) {
    return win32::Fail(ERROR_NO_UNICODE_TRANSLATION);
  }
  CopyFields(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow,
             entry);
  memcpy(entry->name, name, sizeof(entry->name));
  return true;
}

}  // namespace

FindHandleTraits::Handle FindHandleTraits::Null() {
  return INVALID_HANDLE_VALUE;
}

bool FindHandleTraits::IsValid(Handle handle) {
  return handle != INVALID_HANDLE_VALUE && handle != NULL;
}

void FindHandleTraits::Close(Handle handle) { FindClose(handle); }

bool FileSearch::First(const char* pattern, FindEntry* entry) {
  // A reused object must not leak its earlier search.
  HANDLE* const search = handle_.Receive();
  failed_ = false;
  if (!win32::UseWideCalls()) {
    WIN32_FIND_DATAA data;
    *search = FindFirstFileA(pattern, &data);
    if (!handle_.valid()) return false;
    CopyEntry(data, entry);
    return true;
  }
  const win32::WideText wide(pattern);
  if (!wide.valid()) return false;
  WIN32_FIND_DATAW data;
  *search = FindFirstFileW(wide.get(), &data);
  if (!handle_.valid()) return false;
  failed_ = !CopyEntry(data, entry);
  return !failed_;
}

bool FileSearch::Next(FindEntry* entry) {
  if (!handle_.valid() || failed_) return false;
  if (!win32::UseWideCalls()) {
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(handle_.get(), &data)) return false;
    CopyEntry(data, entry);
    return true;
  }
  WIN32_FIND_DATAW data;
  if (!FindNextFileW(handle_.get(), &data)) return false;
  failed_ = !CopyEntry(data, entry);
  return !failed_;
}

}  // namespace platform
