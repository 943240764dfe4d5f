// Log files and the mutex that keeps one run per folder.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"

namespace platform {

KernelObjectTraits::Handle KernelObjectTraits::Null() { return NULL; }

bool KernelObjectTraits::IsValid(Handle handle) {
  return handle != NULL && handle != INVALID_HANDLE_VALUE;
}

void KernelObjectTraits::Close(Handle handle) { CloseHandle(handle); }

unsigned TempDirectory(char* buffer, unsigned size) {
  DWORD length = GetTempPathA(size, buffer);
  if (length == 0 || length >= size) {
    if (size != 0) buffer[0] = '\0';
    return 0;
  }
  return length;
}

bool OpenLogFile(const char* path, LogOpenMode mode, KernelObject* file,
                 bool* created) {
  const DWORD disposition = mode == kLogCreateNew ? CREATE_NEW : OPEN_ALWAYS;
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE handle = CreateFileA(path, FILE_APPEND_DATA, share, NULL, disposition,
                              FILE_ATTRIBUTE_NORMAL, NULL);
  DWORD error = GetLastError();
  if (handle == INVALID_HANDLE_VALUE && PlatformId() != kPlatformWin32Nt) {
    // The 95 family knows only the generic rights; AppendToFile seeks to
    // the end before each write instead.
    handle = CreateFileA(path, GENERIC_WRITE, share, NULL, disposition,
                         FILE_ATTRIBUTE_NORMAL, NULL);
    error = GetLastError();
  }
  if (handle == INVALID_HANDLE_VALUE) {
    win32::KeepErrorCode(error);
    return false;
  }
  // OPEN_ALWAYS tells an existing file by ERROR_ALREADY_EXISTS.
  *created = mode == kLogCreateNew || error != ERROR_ALREADY_EXISTS;
  file->Reset(handle);
  return true;
}

bool AppendToFile(const KernelObject& file, const char* bytes, unsigned size) {
  SetFilePointer(file.get(), 0, NULL, FILE_END);
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes, size, &written, NULL)) {
    win32::KeepLastError();
    return false;
  }
  return written == size;
}

MutexResult CreateNamedMutex(const char* name, KernelObject* held) {
  HANDLE mutex = CreateMutexA(NULL, FALSE, name);
  const DWORD error = GetLastError();
  if (mutex == NULL) {
    win32::KeepErrorCode(error);
    return error == ERROR_ACCESS_DENIED ? kMutexExisted : kMutexFailed;
  }
  held->Reset(mutex);
  return error == ERROR_ALREADY_EXISTS ? kMutexExisted : kMutexCreated;
}

}  // namespace platform
