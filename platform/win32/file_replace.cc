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

#include "platform/compiler.h"
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
UPDATER_NOINLINE WCHAR* Put(WCHAR* at, const Char* text,
                            size_t length = MAX_PATH) {
  for (size_t i = 0; i < length && text[i] != 0; ++i) *at++ = text[i];
  *at = L'\0';
  return at;
}

// The long form of a full folder path (ending in its backslash) into
// `out`: "\\?\C:\dir\", or "\\?\UNC\server\share\dir\"; a path already in
// that form, or a device path, as it is.
WCHAR* PutLongForm(WCHAR* out, const WCHAR* folder, size_t length) {
  // Both prefixes in one text: "\\?\" is the first 4 characters of it.
  static const WCHAR kUncPrefix[] = L"\\\\?\\UNC";
  if (folder[0] != L'\\') return Put(Put(out, kUncPrefix, 4), folder, length);
  if (folder[1] == L'\\' && folder[2] != L'?' && folder[2] != L'.') {
    return Put(Put(out, kUncPrefix), folder + 1, length - 1);
  }
  return Put(out, folder, length);
}

// The attributes of `path`, INVALID_FILE_ATTRIBUTES where it is missing:
// through the call StageCopy asks the source's fields of, one import fewer.
DWORD AttributesOf(const WCHAR* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return GetFileAttributesExW(path, GetFileExInfoStandard, &data)
             ? data.dwFileAttributes
             : INVALID_FILE_ATTRIBUTES;
}

bool Exists(const WCHAR* path) {
  return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
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

UPDATER_NOINLINE bool MoveThrough(const WCHAR* from, const WCHAR* to,
                                  DWORD flags = 0) {
  return win32::Kept(MoveFileExW(from, to, flags | MOVEFILE_WRITE_THROUGH));
}

// The files one step of number `number` works on, for the destination `to`.
struct StagedPaths {
  WideBuffer block;
  WCHAR* destination;  // the full path
  WCHAR* name;         // where the name starts in `destination`
  WCHAR* end;          // and where it ends
  WCHAR* staged;       // long form
  WCHAR* backup;       // long form
  WCHAR* stagedName;   // where the name starts in `staged`
  WCHAR* backupName;
};

void NameAs(StagedPaths* paths, unsigned number) {
  StagedName(number, kStagedCopy, paths->stagedName);
  StagedName(number, kStagedBackup, paths->backupName);
}

bool FindPaths(const char* to, unsigned number, StagedPaths* paths) {
  for (const char* at = to; *at != '\0'; ++at) {
    // Never bytes of a double-byte character.
    if (*at == '*' || *at == '?') return win32::Fail(ERROR_INVALID_NAME);
  }
  // GetFullPathNameW fails on "" without saying why; CopyFileA's code.
  if (*to == '\0') return win32::Fail(ERROR_PATH_NOT_FOUND);
  const win32::WideText target(to);
  if (!target.valid()) return false;
  const DWORD needed = GetFullPathNameW(target.get(), 0, NULL, NULL);
  if (needed == 0) return win32::FailWithLastError();
  const DWORD longName = needed + kLongPrefixLength + kStagedNameSize;
  // The full path, room for a stored name of MAX_PATH in its place, and the
  // two long names.
  paths->block.Reset(new (std::nothrow)
                         WCHAR[needed + MAX_PATH + 2 * longName]);
  if (!paths->block.valid()) return win32::Fail(ERROR_NOT_ENOUGH_MEMORY);
  WCHAR* const full = paths->block.get();
  WCHAR* namePart = NULL;
  const DWORD fullLength =
      GetFullPathNameW(target.get(), needed, full, &namePart);
  if (fullLength == 0 || fullLength >= needed || namePart == NULL) {
    return win32::Fail(ERROR_INVALID_NAME);
  }
  const size_t folderLength = namePart - full;  // with its backslash
  paths->destination = full;
  paths->name = namePart;
  paths->end = full + fullLength;
  paths->staged = full + needed + MAX_PATH;
  paths->backup = paths->staged + longName;
  paths->stagedName = PutLongForm(paths->staged, full, folderLength);
  paths->backupName = PutLongForm(paths->backup, full, folderLength);
  NameAs(paths, number);
  return true;
}

// Writes the staged file's data through to the disk, so that a power cut
// after the swap cannot leave the destination's name on data never
// written, and checks that all of the source's bytes are there. CopyFileW
// gave the copy the source's attributes, archive added; a read-only copy is
// opened for writing with that attribute lifted meanwhile.
bool FlushToDisk(const WCHAR* path, const WIN32_FILE_ATTRIBUTE_DATA& source) {
  const DWORD attributes =
      (source.dwFileAttributes | FILE_ATTRIBUTE_ARCHIVE) & kSettableAttributes;
  const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly && !win32::Kept(SetFileAttributesW(
                      path, attributes & ~FILE_ATTRIBUTE_READONLY))) {
    return false;
  }
  bool flushed;
  {
    KernelObject file(CreateFileW(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, NULL));
    DWORD high = 0;
    flushed = (file.valid() || win32::FailWithLastError()) &&
              win32::Kept(FlushFileBuffers(file.get())) &&
              ((GetFileSize(file.get(), &high) == source.nFileSizeLow &&
                high == source.nFileSizeHigh) ||
               win32::Fail(ERROR_HANDLE_DISK_FULL));
  }
  if (readOnly && !win32::Kept(SetFileAttributesW(path, attributes)))
    return false;
  return flushed;
}

// Marks in `taken` the number a listed name would have as a staged one:
// its 4 characters after "~up". A number marked for a name that is no
// staged one is only skipped. (A short name alone that is a staged one was
// given by hand: staging refuses to write it and a swap to rename onto it.)
void MarkListed(const WCHAR* name, unsigned char* taken) {
  char digits[4];
  for (unsigned i = 0; i < 4; ++i) {
    if (name[i] == 0 || name[3 + i] == 0 || name[3 + i] >= 0x80) return;
    digits[i] = static_cast<char>(name[3 + i]);
  }
  unsigned number;
  if (ReadStagedNumber(digits, &number)) MarkStagedNumber(taken, number);
}

// The length of the folder part of `path`, its last backslash included
// (the second byte of a double-byte character is none).
size_t FolderLength(const char* path) {
  size_t length = 0;
  for (const char* at = path; *at != '\0'; at = NextChar(at))
    if (*at == '\\') length = at + 1 - path;
  return length;
}

}  // namespace

bool FileFullPath(const char* path, HeapArray<char>* full, bool* exists) {
  StagedPaths paths;
  if (!FindPaths(path, 0, &paths)) return false;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(paths.destination, &found);
  *exists = search != INVALID_HANDLE_VALUE;
  if (*exists) {
    FindClose(search);
    paths.end = Put(paths.name, found.cFileName);
  } else {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
      return win32::Fail(error);
  }
  // Two bytes at most for each UTF-16 unit.
  const unsigned size =
      2 * static_cast<unsigned>(paths.end - paths.destination) + 1;
  full->Reset(new (std::nothrow) char[size]);
  if (!full->valid()) return win32::Fail(ERROR_NOT_ENOUGH_MEMORY);
  return win32::SystemPathText(paths.destination, full->get(), size) != 0;
}

bool FindStagedNumber(const char* to, const char* previous,
                      unsigned char* taken, unsigned* number) {
  StagedPaths paths;
  if (!FindPaths(to, 0, &paths)) return false;
  const size_t folder = FolderLength(to);
  bool sameFolder = previous != NULL && FolderLength(previous) == folder;
  for (size_t i = 0; sameFolder && i < folder; ++i)
    sameFolder = previous[i] == to[i];
  if (!sameFolder) {
    memset(taken, 0, kStagedNumberBytes);
    Put(paths.stagedName, L"~up*");
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(paths.staged, &entry);
    if (search == INVALID_HANDLE_VALUE) {
      if (GetLastError() != ERROR_FILE_NOT_FOUND)
        return win32::FailWithLastError();
    } else {
      do {
        MarkListed(entry.cFileName, taken);
      } while (FindNextFileW(search, &entry));
      FindClose(search);
    }
  }
  return TakeFreeNumber(taken, number) || win32::Fail(ERROR_FILE_EXISTS);
}

bool StageCopy(const char* from, const char* to, unsigned number) {
  StagedPaths paths;
  if (!FindPaths(to, number, &paths)) return false;
  const win32::WideText source(from);
  if (!source.valid()) return false;
  // A missing source fails here with the code CopyFileW would give.
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!win32::Kept(
          GetFileAttributesExW(source.get(), GetFileExInfoStandard, &data))) {
    return false;
  }
  // An existing destination: refused as CopyFileA would refuse it.
  const DWORD existing = AttributesOf(paths.destination);
  if (existing != INVALID_FILE_ATTRIBUTES) {
    const DWORD guarded =
        existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if ((existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) !=
            0 ||
        (data.dwFileAttributes & guarded) != guarded) {
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
  if (!FlushToDisk(paths.staged, data)) {
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
  if (!FindPaths(to, number, &paths)) return false;
  const bool existed = MoveThrough(paths.destination, paths.backup);
  if (!existed && LastErrorCode() != ERROR_FILE_NOT_FOUND) return false;
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
  if (Exists(paths.backup)) {
    // The copy in its place may be read-only, which a rename cannot replace.
    SetFileAttributesW(paths.destination, FILE_ATTRIBUTE_NORMAL);
    if (!MoveThrough(paths.backup, paths.destination,
                     MOVEFILE_REPLACE_EXISTING)) {
      return kRestoreFailed;
    }
    result = kRestored;
  } else if (wasNew && !Exists(paths.staged) && Exists(paths.destination)) {
    if (!Discard(paths.destination)) return kRestoreFailed;
    result = kRestored;
  }
  return Discard(paths.staged) ? result : kRestoreFailed;
}

bool RemoveStaged(const char* to, unsigned number, StagedRole role) {
  StagedPaths paths;
  return FindPaths(to, number, &paths) &&
         Discard(role == kStagedCopy ? paths.staged : paths.backup);
}

bool WriteFileThrough(const char* path, const char* bytes, unsigned size) {
  KernelObject file(win32::CreateFileOf(path, GENERIC_WRITE, 0, CREATE_ALWAYS));
  DWORD written = 0;
  return file.valid() &&
         win32::Kept(WriteFile(file.get(), bytes, size, &written, NULL)) &&
         (written == size || win32::Fail(ERROR_HANDLE_DISK_FULL)) &&
         win32::Kept(FlushFileBuffers(file.get()));
}

namespace win32 {

bool ReadFileOf(const char* path, DWORD share, unsigned most, bool shorter,
                HeapArray<char>* bytes, unsigned* size) {
  KernelObject file(CreateFileOf(path, GENERIC_READ, share, OPEN_EXISTING));
  if (!file.valid()) return false;
  DWORD high = 0;
  const DWORD length = GetFileSize(file.get(), &high);
  if (length == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
    return FailWithLastError();
  if (high != 0 || length > most) return Fail(ERROR_FILE_TOO_LARGE);
  bytes->Reset(new (std::nothrow) char[length + 1]);
  if (!bytes->valid()) return Fail(ERROR_NOT_ENOUGH_MEMORY);
  DWORD done = 0;
  while (done < length) {
    DWORD read = 0;
    if (!Kept(ReadFile(file.get(), bytes->get() + done, length - done, &read,
                       NULL))) {
      return false;
    }
    if (read == 0) break;  // shorter than it was a moment ago
    done += read;
  }
  if (done != length && !shorter) return Fail(ERROR_HANDLE_EOF);
  (*bytes)[done] = '\0';
  *size = done;
  return true;
}

}  // namespace win32

bool ReadWholeFile(const char* path, unsigned most, HeapArray<char>* bytes,
                   unsigned* size) {
  return win32::ReadFileOf(path, FILE_SHARE_READ, most, false, bytes, size);
}

bool RenameFile(const char* from, const char* to) {
  const win32::WideText source(from);
  const win32::WideText target(to);
  return source.valid() && target.valid() &&
         MoveThrough(source.get(), target.get());
}

}  // namespace platform
