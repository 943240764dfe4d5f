// Replacing a file by a copy in one step (NT family): the copy is made in a
// new file beside the destination, written through to the disk, and then
// renamed over the destination, so that a failure at any point leaves the
// old file untouched.
#include <string.h>
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"
#include "platform/win32/scoped_handle.h"

namespace platform {

namespace {

const char kTemporaryPrefix[] = "~up";
const char kTemporaryExtension[] = ".tmp";
// "~up" + 4 hexadecimal digits + ".tmp".
const unsigned kTemporaryNameLength = 11;
// Every 4-digit number once: as many as GetTempFileNameA tries.
const unsigned kNameAttempts = 0x10000;

// The attributes SetFileAttributesA accepts.
const DWORD kSettableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// `folder` (which ends in a backslash) + "~up" + `number` in 4 lower-case
// hexadecimal digits + ".tmp", into `name` (kMaxPath bytes; checked by the
// caller).
void MakeTemporaryName(const char* folder, unsigned number, char* name) {
  static const char kDigits[] = "0123456789abcdef";
  size_t length = strlen(folder);
  memcpy(name, folder, length);
  memcpy(name + length, kTemporaryPrefix, sizeof(kTemporaryPrefix) - 1);
  length += sizeof(kTemporaryPrefix) - 1;
  for (int shift = 12; shift >= 0; shift -= 4) {
    name[length++] = kDigits[(number >> shift) & 0xF];
  }
  memcpy(name + length, kTemporaryExtension, sizeof(kTemporaryExtension));
}

// Deletes our temporary file after a failure, keeping the failure's error.
void DiscardTemporary(const char* temporary) {
  const DWORD error = GetLastError();
  SetFileAttributesA(temporary, FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(temporary);
  SetLastError(error);
}

// Copies `from` into a file of a new temporary name in `folder`; false when
// the copy failed (nothing of ours is left then, and GetLastError tells
// why). A name that is taken is never written or deleted: it is skipped, and
// CopyFileA is told to fail on a name taken since.
bool CopyToNewTemporary(const char* from, const char* folder, char* temporary) {
  const unsigned first =
      (GetTickCount() ^ (GetCurrentProcessId() << 4)) & 0xFFFF;
  for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
    MakeTemporaryName(folder, (first + attempt) & 0xFFFF, temporary);
    if (GetFileAttributesA(temporary) != INVALID_FILE_ATTRIBUTES) continue;
    if (CopyFileA(from, temporary, TRUE)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
    // The name was free a moment ago, so what a failed copy left there is
    // ours: Wine leaves the part written before the disk filled.
    DiscardTemporary(temporary);
    return false;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return false;
}

// Writes the file's data through to the disk, so that a power cut after the
// rename cannot leave the destination's name on data never written. A
// read-only file is opened for writing with that attribute lifted meanwhile.
bool FlushToDisk(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  const DWORD writable =
      attributes & kSettableAttributes & ~FILE_ATTRIBUTE_READONLY;
  if (readOnly && !SetFileAttributesA(
                      path, writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL)) {
    return false;
  }
  bool flushed;
  {
    win32::ScopedHandle file(CreateFileA(path, GENERIC_WRITE, 0, NULL,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                         NULL));
    flushed = file.valid() && FlushFileBuffers(file.get());
  }
  const DWORD error = GetLastError();
  if (readOnly && !SetFileAttributesA(path, attributes & kSettableAttributes)) {
    return false;
  }
  SetLastError(error);
  return flushed;
}

// The whole sequence; on failure GetLastError holds the failed step's code.
bool ReplaceBySteps(const char* from, const char* to) {
  if (strpbrk(to, "*?") != NULL) {  // never bytes of a double-byte character
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  // The folder, found by the system's own path rules (a double-byte
  // character's second byte is never taken for a backslash).
  char folder[kMaxPath];
  char* namePart = NULL;
  const DWORD folderLength = GetFullPathNameA(to, kMaxPath, folder, &namePart);
  if (folderLength == 0 || folderLength >= kMaxPath || namePart == NULL) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  *namePart = '\0';  // the folder, ending in its backslash
  if (strlen(folder) + kTemporaryNameLength >= kMaxPath) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }

  // An existing destination: refused as CopyFileA would refuse it, and
  // renamed over under the name it is stored with.
  char destination[kMaxPath];
  FindEntry existing;
  FileSearch search;
  if (search.First(to, &existing)) {
    search.Close();
    const DWORD source = GetFileAttributesA(from);
    const DWORD guarded =
        existing.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if ((existing.attributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0 ||
        (source != INVALID_FILE_ATTRIBUTES && (source & guarded) != guarded)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
    if (strlen(folder) + strlen(existing.name) >= kMaxPath) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return false;
    }
    strcpy(destination, folder);
    strcat(destination, existing.name);
  } else {
    lstrcpynA(destination, to, kMaxPath);
  }

  char temporary[kMaxPath];
  if (!CopyToNewTemporary(from, folder, temporary)) return false;
  if (!FlushToDisk(temporary) ||
      !MoveFileExA(temporary, destination,
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DiscardTemporary(temporary);
    return false;
  }
  return true;
}

}  // namespace

bool ReplaceFileByCopy(const char* from, const char* to) {
  if (ReplaceBySteps(from, to)) return true;
  win32::KeepLastError();
  return false;
}

}  // namespace platform
