// Single-call file operations: attributes, directories, delete, copy.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"

namespace platform {

bool SetAttributes(const char* path, unsigned attributes) {
  return win32::Kept(SetFileAttributesA(path, attributes));
}

bool MakeDirectory(const char* path) {
  return win32::Kept(CreateDirectoryA(path, NULL));
}

bool RemoveFile(const char* path) { return win32::Kept(DeleteFileA(path)); }

bool CopyFileOver(const char* from, const char* to) {
  return win32::Kept(CopyFileA(from, to, FALSE));
}

}  // namespace platform
