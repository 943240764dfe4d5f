// Replacing a set of files all or nothing (NT family): each new file is
// staged beside its destination and written through to the disk, then each
// destination is swapped for it, its old file kept as a backup until every
// destination is swapped, so that a failure at any point can be undone.
//
// The paths are handled in UTF-16, converted from code page 932 as every
// path of the NT family is (platform/win32/wide_text.h): Windows counts its
// path limits in wide characters, and the staged and backup names take the
// long form ("\\?\"), which no such limit applies to, so that no destination
// CopyFileA could write is refused for the room those names take.
#include <string.h>
#include <windows.h>

#include <new>

#include "platform/platform.h"
#include "platform/staged_names.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// A wide text on the heap.
typedef HeapArray<WCHAR> WideBuffer;

// The longest prefix of a long-form path: "\\?\UNC".
const unsigned kLongPrefixLength = 7;

// The attributes SetFileAttributes accepts.
const DWORD kSettableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Copies `text` up to its end or `length` characters, whichever comes
// first, and ends the copy there; returns the copy's end.
template <class Char>
WCHAR* Put(WCHAR* at, const Char* text, size_t length = MAX_PATH) {
  for (size_t i = 0; i < length && text[i] != 0; ++i) *at++ = text[i];
  *at = L'\0';
  return at;
}

// The long form of a full folder path (ending in its backslash) into
// `out`: "\\?\C:\dir\", or "\\?\UNC\server\share\dir\"; a path already in
// that form, or a device path, as it is.
WCHAR* PutLongForm(WCHAR* out, const WCHAR* folder, size_t length) {
  if (folder[0] != L'\\') return Put(Put(out, L"\\\\?\\"), folder, length);
  if (folder[1] == L'\\' && folder[2] != L'?' && folder[2] != L'.') {
    return Put(Put(out, L"\\\\?\\UNC"), folder + 1, length - 1);
  }
  return Put(out, folder, length);
}

bool Exists(const WCHAR* path) {
  return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// Deletes a file of ours, read-only or not; true when it is gone. One call
// where it is missing or plain: each is a round trip to the file system.
bool Discard(const WCHAR* path) {
  if (DeleteFileW(path)) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
    return true;
  if (error != ERROR_ACCESS_DENIED) return win32::Fail(error);
  SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
  return win32::Kept(DeleteFileW(path));
}

bool MoveThrough(const WCHAR* from, const WCHAR* to, DWORD flags = 0) {
  return win32::Kept(MoveFileExW(from, to, flags | MOVEFILE_WRITE_THROUGH));
}

// The files one step of number `number` works on, for the destination `to`.
struct StagedPaths {
  WideBuffer block;
  WCHAR* destination;  // the folder and the name an existing file is stored
                       // under (its letter case) where searched for, or
                       // the full path
  WCHAR* staged;       // long form
  WCHAR* backup;       // long form
  WCHAR* stagedName;   // where the name starts in `staged`
  WCHAR* backupName;
  DWORD attributes;  // the existing destination's; INVALID_FILE_ATTRIBUTES
                     // when missing or not searched for
};

void NameAs(StagedPaths* paths, unsigned number) {
  char name[kStagedNameSize];
  StagedName(number, kStagedCopy, name);
  Put(paths->stagedName, name);
  StagedName(number, kStagedBackup, name);
  Put(paths->backupName, name);
}

// The steps that need the destination's attributes or stored name `search`
// for it; the others spare the file system the search.
bool FindPaths(const char* to, unsigned number, StagedPaths* paths,
               bool search = false) {
  if (strpbrk(to, "*?") != NULL) {  // never bytes of a double-byte character
    return win32::Fail(ERROR_INVALID_NAME);
  }
  // GetFullPathNameW fails on "" without saying why; CopyFileA's code.
  if (*to == '\0') return win32::Fail(ERROR_PATH_NOT_FOUND);
  const win32::WideText target(to);
  if (!target.valid()) return false;
  const DWORD needed = GetFullPathNameW(target.get(), 0, NULL, NULL);
  if (needed == 0) return win32::FailWithLastError();
  const DWORD longName = needed + kLongPrefixLength + kStagedNameSize;
  paths->block.Reset(new (std::nothrow)
                         WCHAR[2 * needed + MAX_PATH + 2 * longName]);
  if (!paths->block.valid()) return win32::Fail(ERROR_NOT_ENOUGH_MEMORY);
  WCHAR* const full = paths->block.get();
  WCHAR* namePart = NULL;
  const DWORD fullLength =
      GetFullPathNameW(target.get(), needed, full, &namePart);
  if (fullLength == 0 || fullLength >= needed || namePart == NULL) {
    return win32::Fail(ERROR_INVALID_NAME);
  }
  const size_t folderLength = namePart - full;  // with its backslash
  paths->destination = full + needed;
  paths->staged = paths->destination + needed + MAX_PATH;
  paths->backup = paths->staged + longName;
  paths->stagedName = PutLongForm(paths->staged, full, folderLength);
  paths->backupName = PutLongForm(paths->backup, full, folderLength);
  NameAs(paths, number);
  paths->attributes = INVALID_FILE_ATTRIBUTES;
  Put(paths->destination, full, fullLength);
  if (!search) return true;

  WIN32_FIND_DATAW existing;
  const HANDLE found = FindFirstFileW(full, &existing);
  if (found != INVALID_HANDLE_VALUE) {
    FindClose(found);
    paths->attributes = existing.dwFileAttributes;
    Put(Put(paths->destination, full, folderLength), existing.cFileName);
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    return win32::FailWithLastError();
  }
  return true;
}

// Writes the file's data through to the disk, so that a power cut after the
// swap cannot leave the destination's name on data never written. A
// read-only file is opened for writing with that attribute lifted meanwhile.
bool FlushToDisk(const WCHAR* path) {
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return win32::FailWithLastError();
  const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  const DWORD writable =
      attributes & kSettableAttributes & ~FILE_ATTRIBUTE_READONLY;
  if (readOnly &&
      !win32::Kept(SetFileAttributesW(
          path, writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL))) {
    return false;
  }
  bool flushed;
  {
    KernelObject file(CreateFileW(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, NULL));
    flushed = file.valid() ? win32::Kept(FlushFileBuffers(file.get()))
                           : win32::FailWithLastError();
  }
  if (readOnly && !win32::Kept(SetFileAttributesW(
                      path, attributes & kSettableAttributes))) {
    return false;
  }
  return flushed;
}

bool SameSize(const WCHAR* one, const WCHAR* other) {
  WIN32_FILE_ATTRIBUTE_DATA a, b;
  if (!win32::Kept(GetFileAttributesExW(one, GetFileExInfoStandard, &a)) ||
      !win32::Kept(GetFileAttributesExW(other, GetFileExInfoStandard, &b))) {
    return false;
  }
  return (a.nFileSizeLow == b.nFileSizeLow &&
          a.nFileSizeHigh == b.nFileSizeHigh) ||
         win32::Fail(ERROR_HANDLE_DISK_FULL);
}

}  // namespace

bool FindStagedNumber(const char* to, unsigned* number) {
  StagedPaths paths;
  if (!FindPaths(to, *number, &paths)) return false;
  for (unsigned attempt = 0; attempt < kStagedNumbers; ++attempt) {
    NameAs(&paths, *number + attempt);
    if (!Exists(paths.staged) && !Exists(paths.backup)) {
      *number = (*number + attempt) % kStagedNumbers;
      return true;
    }
  }
  return win32::Fail(ERROR_FILE_EXISTS);
}

bool StageCopy(const char* from, const char* to, unsigned number) {
  StagedPaths paths;
  if (!FindPaths(to, number, &paths, true)) return false;
  const win32::WideText source(from);
  if (!source.valid()) return false;
  // An existing destination: refused as CopyFileA would refuse it.
  if (paths.attributes != INVALID_FILE_ATTRIBUTES) {
    const DWORD attributes = GetFileAttributesW(source.get());
    const DWORD guarded =
        paths.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if ((paths.attributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0 ||
        (attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & guarded) != guarded)) {
      return win32::Fail(ERROR_ACCESS_DENIED);
    }
  }
  // A name taken since it was chosen is another's: failed, never written.
  if (!CopyFileW(source.get(), paths.staged, TRUE)) {
    const DWORD error = GetLastError();
    win32::Fail(error);
    // Otherwise the name was free, so what a failed copy left there is
    // ours: Wine leaves the part written before the disk filled.
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
      Discard(paths.staged);
    return false;
  }
  if (!FlushToDisk(paths.staged) || !SameSize(source.get(), paths.staged)) {
    Discard(paths.staged);
    return false;
  }
  return true;
}

bool WritableNow(const char* path) {
  KernelObject file(win32::CreateFileOf(
      path, GENERIC_WRITE,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING));
  return file.valid();
}

bool SwapStaged(const char* to, unsigned number) {
  StagedPaths paths;
  if (!FindPaths(to, number, &paths, true)) return false;
  const bool existed = paths.attributes != INVALID_FILE_ATTRIBUTES;
  if (existed && !MoveThrough(paths.destination, paths.backup)) return false;
  if (MoveThrough(paths.staged, paths.destination)) return true;
  // The code of the failed rename is kept; the old file goes back.
  if (existed)
    MoveFileExW(paths.backup, paths.destination, MOVEFILE_WRITE_THROUGH);
  return false;
}

RestoreResult RestoreStaged(const char* to, unsigned number, bool wasNew) {
  StagedPaths paths;
  if (!FindPaths(to, number, &paths)) return kRestoreFailed;
  RestoreResult result = kNothingToRestore;
  const bool there = Exists(paths.destination);
  if (Exists(paths.backup)) {
    // The copy in its place may be read-only, which a rename cannot replace.
    if (there) SetFileAttributesW(paths.destination, FILE_ATTRIBUTE_NORMAL);
    if (!MoveThrough(paths.backup, paths.destination,
                     MOVEFILE_REPLACE_EXISTING)) {
      return kRestoreFailed;
    }
    result = kRestored;
  } else if (wasNew && there && !Exists(paths.staged)) {
    if (!Discard(paths.destination)) return kRestoreFailed;
    result = kRestored;
  }
  return Discard(paths.staged) ? result : kRestoreFailed;
}

bool RemoveStaged(const char* to, unsigned number) {
  StagedPaths paths;
  if (!FindPaths(to, number, &paths)) return false;
  const bool staged = Discard(paths.staged);
  return Discard(paths.backup) && staged;
}

bool WriteFileThrough(const char* path, const char* bytes, unsigned size) {
  KernelObject file(win32::CreateFileOf(path, GENERIC_WRITE, 0, CREATE_ALWAYS));
  DWORD written = 0;
  return file.valid() &&
         win32::Kept(WriteFile(file.get(), bytes, size, &written, NULL)) &&
         (written == size || win32::Fail(ERROR_HANDLE_DISK_FULL)) &&
         win32::Kept(FlushFileBuffers(file.get()));
}

bool ReadWholeFile(const char* path, unsigned most, HeapArray<char>* bytes,
                   unsigned* size) {
  KernelObject file(
      win32::CreateFileOf(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  if (!file.valid()) return false;
  DWORD high = 0;
  const DWORD length = GetFileSize(file.get(), &high);
  if (length == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
    return win32::FailWithLastError();
  if (high != 0 || length > most) return win32::Fail(ERROR_FILE_TOO_LARGE);
  bytes->Reset(new (std::nothrow) char[length + 1]);
  if (!bytes->valid()) return win32::Fail(ERROR_NOT_ENOUGH_MEMORY);
  DWORD read = 0;
  if (!win32::Kept(ReadFile(file.get(), bytes->get(), length, &read, NULL)))
    return false;
  if (read != length) return win32::Fail(ERROR_HANDLE_EOF);
  (*bytes)[length] = '\0';
  *size = length;
  return true;
}

bool RenameFile(const char* from, const char* to) {
  const win32::WideText source(from);
  const win32::WideText target(to);
  return source.valid() && target.valid() &&
         MoveThrough(source.get(), target.get());
}

}  // namespace platform
