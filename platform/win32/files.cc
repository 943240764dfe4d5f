// Single-call file operations: attributes, directories, delete, copy. On
// the NT family the paths go to the wide-character calls, converted from
// code page 932; the 95 family keeps the ANSI calls.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

bool SetAttributes(const char* path, unsigned attributes) {
  if (!win32::UseWideCalls()) {
    return win32::Kept(SetFileAttributesA(path, attributes));
  }
  const win32::WideText wide(path);
  return wide.valid() &&
         win32::Kept(SetFileAttributesW(wide.get(), attributes));
}

bool MakeDirectory(const char* path) {
  if (!win32::UseWideCalls()) return win32::Kept(CreateDirectoryA(path, NULL));
  const win32::WideText wide(path);
  return wide.valid() && win32::Kept(CreateDirectoryW(wide.get(), NULL));
}

bool RemoveFile(const char* path) {
  if (!win32::UseWideCalls()) return win32::Kept(DeleteFileA(path));
  const win32::WideText wide(path);
  return wide.valid() && win32::Kept(DeleteFileW(wide.get()));
}

bool CopyFileOver(const char* from, const char* to) {
  if (!win32::UseWideCalls()) return win32::Kept(CopyFileA(from, to, FALSE));
  const win32::WideText source(from);
  const win32::WideText target(to);
  return source.valid() && target.valid() &&
         win32::Kept(CopyFileW(source.get(), target.get(), FALSE));
}

}  // namespace platform
