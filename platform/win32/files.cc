// Single-call file operations: attributes, directories, delete, copy.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

bool SetAttributes(const char* path, unsigned attributes) {
  return SetFileAttributesA(path, attributes) != FALSE;
}

bool MakeDirectory(const char* path) {
  return CreateDirectoryA(path, NULL) != FALSE;
}

bool RemoveFile(const char* path) { return DeleteFileA(path) != FALSE; }

bool CopyFileOver(const char* from, const char* to) {
  return CopyFileA(from, to, FALSE) != FALSE;
}

}  // namespace platform
