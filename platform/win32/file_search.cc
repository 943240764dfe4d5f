// FindFirstFileA / FindNextFileA listings behind the FileSearch object.
#include <string.h>
#include <windows.h>

#include "platform/platform.h"

namespace platform {

namespace {

void CopyEntry(const WIN32_FIND_DATAA& data, FindEntry* entry) {
  entry->attributes = data.dwFileAttributes;
  entry->size = data.nFileSizeHigh != 0 ? 0xFFFFFFFFu : data.nFileSizeLow;
  memcpy(entry->name, data.cFileName, sizeof(entry->name));
  entry->name[kMaxPath - 1] = '\0';
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
  Close();  // a reused object must not leak its earlier search
  WIN32_FIND_DATAA data;
  HANDLE found = FindFirstFileA(pattern, &data);
  if (found == INVALID_HANDLE_VALUE) return false;
  handle_.Reset(found);
  CopyEntry(data, entry);
  return true;
}

bool FileSearch::Next(FindEntry* entry) {
  if (!handle_.valid()) return false;
  WIN32_FIND_DATAA data;
  if (!FindNextFileA(handle_.get(), &data)) return false;
  CopyEntry(data, entry);
  return true;
}

}  // namespace platform
