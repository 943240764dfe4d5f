// Log files and the mutex that keeps one run per folder.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

KernelObjectTraits::Handle KernelObjectTraits::Null() { return NULL; }

bool KernelObjectTraits::IsValid(Handle handle) {
  return handle != NULL && handle != INVALID_HANDLE_VALUE;
}

// Closing keeps the thread's last error, so that a failure read after its
// handle has gone out of scope is still the failure's.
void KernelObjectTraits::Close(Handle handle) {
  const DWORD error = GetLastError();
  CloseHandle(handle);
  SetLastError(error);
}

unsigned TempDirectory(char* buffer, unsigned size) {
  DWORD length = 0;
  if (win32::UseWideCalls()) {
    WCHAR wide[kMaxPath];
    const DWORD got = GetTempPathW(kMaxPath, wide);
    if (got != 0 && got < kMaxPath) {
      length = win32::SystemPathText(wide, buffer, size);
    }
  } else {
    length = GetTempPathA(size, buffer);
  }
  if (length == 0 || length >= size) {
    if (size != 0) buffer[0] = '\0';
    return 0;
  }
  return length;
}

namespace {

// A byte far past the end of any log, locked around each line by every run
// that writes the file. Wine appends by reading the file's size and then
// writing there, so that two processes can write at one place; Windows
// appends each write whole, and the lock costs it next to nothing.
const DWORD kLineLockHigh = 0x7FFFFFFF;
// How long a line waits for the lock before it is written all the same.
const DWORD kLineLockWait = 2000;

bool LockLine(HANDLE file) {
  const DWORD start = GetTickCount();
  for (unsigned attempt = 0;; ++attempt) {
    if (LockFile(file, 0, kLineLockHigh, 1, 0)) return true;
    // A file system without locks, or a handle without the access: no wait.
    if (GetLastError() != ERROR_LOCK_VIOLATION ||
        GetTickCount() - start >= kLineLockWait) {
      return false;
    }
    Sleep(attempt < 16 ? 0 : 1);
  }
}

HANDLE OpenLog(const char* path, DWORD access, DWORD disposition) {
  return win32::CreateFileOf(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             disposition);
}

}  // namespace

bool OpenLogFile(const char* path, LogOpenMode mode, KernelObject* file,
                 bool* created) {
  const DWORD disposition = mode == kLogCreateNew ? CREATE_NEW : OPEN_ALWAYS;
  // The rights tried in turn: reading and appending, as LockFile needs read
  // or write access to the data and appending needs FILE_APPEND_DATA
  // without FILE_WRITE_DATA; where that is denied, appending alone (a file
  // this user may only append to is written without the lock); and on the
  // 95 family, which knows only the generic rights, GENERIC_WRITE
  // (AppendToFile seeks to the end before each write instead).
  HANDLE handle;
  DWORD error;
  for (unsigned i = 0;; ++i) {
    const DWORD rights = i == 0   ? FILE_APPEND_DATA | FILE_READ_DATA
                         : i == 1 ? FILE_APPEND_DATA
                                  : GENERIC_WRITE;
    handle = OpenLog(path, rights, disposition);
    error = GetLastError();
    if (handle != INVALID_HANDLE_VALUE) break;
    if (i == 0 && error == ERROR_ACCESS_DENIED) continue;
    if (i == 2 || win32::UseWideCalls()) return win32::Fail(error);
    i = 1;  // the generic rights next
  }
  // OPEN_ALWAYS tells an existing file by ERROR_ALREADY_EXISTS.
  *created = mode == kLogCreateNew || error != ERROR_ALREADY_EXISTS;
  file->Reset(handle);
  return true;
}

bool AppendToFile(const KernelObject& file, const char* bytes, unsigned size) {
  const bool locked = LockLine(file.get());
  SetFilePointer(file.get(), 0, NULL, FILE_END);
  DWORD written = 0;
  const bool wrote =
      win32::Kept(WriteFile(file.get(), bytes, size, &written, NULL));
  if (locked) UnlockFile(file.get(), 0, kLineLockHigh, 1, 0);
  return wrote && written == size;
}

MutexResult CreateNamedMutex(const char* name, KernelObject* held) {
  HANDLE mutex = NULL;
  DWORD error = 0;
  if (win32::UseWideCalls()) {
    const win32::WideText wide(name);
    if (!wide.valid()) return kMutexFailed;
    mutex = CreateMutexW(NULL, FALSE, wide.get());
    error = GetLastError();
  } else {
    mutex = CreateMutexA(NULL, FALSE, name);
    error = GetLastError();
  }
  if (mutex == NULL) {
    win32::Fail(error);
    return error == ERROR_ACCESS_DENIED ? kMutexExisted : kMutexFailed;
  }
  held->Reset(mutex);
  return error == ERROR_ALREADY_EXISTS ? kMutexExisted : kMutexCreated;
}

}  // namespace platform
