// Replacing a file by a copy in one step (NT family): the copy is made in a
// new file beside the destination, written through to the disk, and then
// renamed over the destination, so that a failure at any point leaves the
// old file untouched.
//
// The paths are handled in UTF-16, converted from code page 932 as every
// path of the NT family is (platform/win32/wide_text.h): Windows counts its
// path limits in wide characters, and the temporary name takes the long form
// ("\\?\"), which no such limit applies to, so that no destination CopyFileA
// could write is refused for the room the temporary name takes.
#include <string.h>
#include <windows.h>

#include <new>

#include "platform/platform.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// A wide text on the heap.
typedef HeapArray<WCHAR> WideBuffer;

const WCHAR kTemporaryName[] = L"~up0000.tmp";
const unsigned kTemporaryDigitsAt = 3;  // after "~up"
// Every 4-digit number once: as many as GetTempFileNameA tries.
const unsigned kNameAttempts = 0x10000;
// The longest prefix of a long-form path: "\\?\UNC".
const unsigned kLongPrefixLength = 7;

// The attributes SetFileAttributes accepts.
const DWORD kSettableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool Allocate(WideBuffer* text, DWORD length) {
  text->Reset(new (std::nothrow) WCHAR[length]);
  return text->valid() || win32::Fail(ERROR_NOT_ENOUGH_MEMORY);
}

// Copies `text` up to its end or `length` characters, whichever comes
// first, and ends the copy there; returns the copy's end.
WCHAR* Put(WCHAR* at, const WCHAR* text, size_t length = MAX_PATH) {
  for (size_t i = 0; i < length && text[i] != L'\0'; ++i) *at++ = text[i];
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

// Writes `number` as 4 lower-case hexadecimal digits over the zeros of the
// temporary name at `name`.
void NumberName(WCHAR* name, unsigned number) {
  static const char kDigits[] = "0123456789abcdef";
  for (int i = 3; i >= 0; --i, number >>= 4)
    name[kTemporaryDigitsAt + i] = kDigits[number & 0xF];
}

// Deletes our temporary file after a failure, whose code is kept already.
void DiscardTemporary(const WCHAR* temporary) {
  SetFileAttributesW(temporary, FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(temporary);
}

// Copies `from` into a file of a new temporary name: `temporary` holds the
// folder and kTemporaryName, whose digits start at `name`. False when the
// copy failed (nothing of ours is left then, and its code is kept). A
// name that is taken is never written or deleted: it is skipped, and
// CopyFileW is told to fail on a name taken since.
bool CopyToNewTemporary(const WCHAR* from, const WCHAR* temporary,
                        WCHAR* name) {
  const unsigned first =
      (GetTickCount() ^ (GetCurrentProcessId() << 4)) & 0xFFFF;
  for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
    NumberName(name, first + attempt);
    if (GetFileAttributesW(temporary) != INVALID_FILE_ATTRIBUTES) continue;
    if (CopyFileW(from, temporary, TRUE)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
    win32::Fail(error);
    // The name was free a moment ago, so what a failed copy left there is
    // ours: Wine leaves the part written before the disk filled.
    DiscardTemporary(temporary);
    return false;
  }
  return win32::Fail(ERROR_FILE_EXISTS);
}

// Writes the file's data through to the disk, so that a power cut after the
// rename cannot leave the destination's name on data never written. A
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

}  // namespace

bool ReplaceFileByCopy(const char* from, const char* to) {
  if (strpbrk(to, "*?") != NULL) {  // never bytes of a double-byte character
    return win32::Fail(ERROR_INVALID_NAME);
  }
  // GetFullPathNameW fails on "" without saying why; CopyFileA's code.
  if (*to == '\0') return win32::Fail(ERROR_PATH_NOT_FOUND);
  const win32::WideText source(from);
  const win32::WideText target(to);
  if (!source.valid() || !target.valid()) return false;

  // The folder, found by the system's own path rules. One block holds the
  // full path, the destination (the folder and a stored name) and the
  // temporary file's long form.
  const DWORD needed = GetFullPathNameW(target.get(), 0, NULL, NULL);
  WideBuffer paths;
  if (needed == 0) return win32::FailWithLastError();
  if (!Allocate(&paths, 3 * needed + MAX_PATH + kLongPrefixLength + 16)) {
    return false;
  }
  WCHAR* const full = paths.get();
  WCHAR* namePart = NULL;
  const DWORD fullLength =
      GetFullPathNameW(target.get(), needed, full, &namePart);
  if (fullLength == 0 || fullLength >= needed || namePart == NULL) {
    return win32::Fail(ERROR_INVALID_NAME);
  }
  const size_t folderLength = namePart - full;  // with its backslash
  WCHAR* const destination = full + needed;
  WCHAR* const temporary = destination + needed + MAX_PATH;

  // An existing destination: refused as CopyFileA would refuse it, and
  // renamed over under the name it is stored with. A search that fails for
  // another reason than a missing file (a missing folder, a path too long
  // for Windows) fails as the copy would, before anything is written.
  WIN32_FIND_DATAW existing;
  const HANDLE search = FindFirstFileW(full, &existing);
  if (search != INVALID_HANDLE_VALUE) {
    FindClose(search);
    const DWORD attributes = GetFileAttributesW(source.get());
    const DWORD guarded = existing.dwFileAttributes &
                          (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if ((existing.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0 ||
        (attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & guarded) != guarded)) {
      return win32::Fail(ERROR_ACCESS_DENIED);
    }
    Put(Put(destination, full, folderLength), existing.cFileName);
  } else if (GetLastError() == ERROR_FILE_NOT_FOUND) {
    Put(destination, full, fullLength);
  } else {
    return win32::FailWithLastError();
  }

  WCHAR* const name = PutLongForm(temporary, full, folderLength);
  Put(name, kTemporaryName);
  if (!CopyToNewTemporary(source.get(), temporary, name)) return false;
  if (!FlushToDisk(temporary) ||
      !win32::Kept(
          MoveFileExW(temporary, destination,
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))) {
    DiscardTemporary(temporary);
    return false;
  }
  return true;
}

}  // namespace platform
