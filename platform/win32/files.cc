// Single-call file operations: attributes, directories, delete, copy.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"

namespace platform {

namespace {

// The result of a Win32 call, keeping its error code when it failed.
bool Kept(BOOL done) {
  if (!done) win32::KeepLastError();
  return done != FALSE;
}

}  // namespace

bool SetAttributes(const char* path, unsigned attributes) {
  return Kept(SetFileAttributesA(path, attributes));
}

bool MakeDirectory(const char* path) {
  return Kept(CreateDirectoryA(path, NULL));
}

bool RemoveFile(const char* path) { return Kept(DeleteFileA(path)); }

bool CopyFileOver(const char* from, const char* to) {
  return Kept(CopyFileA(from, to, FALSE));
}

}  // namespace platform
