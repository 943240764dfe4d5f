// FindFirstFileA / FindNextFileA listings behind the FileSearch object.
#include <windows.h>

#include <string.h>

#include "platform/platform.h"

namespace platform {

namespace {

void CopyEntry(const WIN32_FIND_DATAA& data, FindEntry* entry) {
  entry->attributes = data.dwFileAttributes;
  memcpy(entry->name, data.cFileName, sizeof(entry->name));
  entry->name[kMaxPath - 1] = '\0';
}

}  // namespace

FileSearch::FileSearch() : handle_(INVALID_HANDLE_VALUE) {}

FileSearch::~FileSearch() { Close(); }

bool FileSearch::First(const char* pattern, FindEntry* entry) {
  Close();  // a reused object must not leak its earlier search
  WIN32_FIND_DATAA data;
  handle_ = FindFirstFileA(pattern, &data);
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  CopyEntry(data, entry);
  return true;
}

bool FileSearch::Next(FindEntry* entry) {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  WIN32_FIND_DATAA data;
  if (!FindNextFileA(handle_, &data)) return false;
  CopyEntry(data, entry);
  return true;
}

void FileSearch::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return;
  FindClose(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace platform
