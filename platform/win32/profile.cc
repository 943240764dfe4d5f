// Settings files read by the updater itself, with the private-profile rules
// of platform/profile_text.h.
//
// Windows' own profile functions read an ANSI file in the system's code
// page, and cannot be told otherwise: on a Chinese system a half-width
// katakana before "]" pairs up with it as one character, on a UTF-8 system
// every Shift-JIS byte is lost. So the file's bytes are read here and made
// settings text (code page 932, or UTF-8 with the mark converted) by
// platform/settings_bytes.h, as everywhere else.
//
// The last file read is kept, with its sections found once, and used again
// while its size and last-write time stay the same (Windows' profile
// functions keep theirs on the last-write time alone): a procedure that
// replaces its own settings file is read from the new file afterwards, and
// a large file is not read again for every value.
#include <string.h>
#include <windows.h>

#include <new>

#include "platform/compiler.h"
#include "platform/platform.h"
#include "platform/profile_text.h"
#include "platform/settings_bytes.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// What tells one version of a file from another.
struct FileStamp {
  DWORD sizeLow;
  DWORD sizeHigh;
  FILETIME written;
};

// A section header of the kept text: where its line starts and its name.
struct Header {
  unsigned line;
  unsigned name;
  unsigned nameLength;
};

// Every member starts empty at compile time: the kept file needs no
// constructor run at start-up.
struct KeptFile {
  HeapArray<char> path;
  FileStamp stamp{};
  HeapArray<char> text;
  unsigned length = 0;
  HeapArray<Header> headers;
  unsigned headerCount = 0;
};

KeptFile g_kept;

bool SameStamp(const FileStamp& a, const FileStamp& b) {
  // Four double words, without padding: compared as two halves.
  unsigned long long x[2];
  unsigned long long y[2];
  memcpy(x, &a, sizeof x);
  memcpy(y, &b, sizeof y);
  return ((x[0] ^ y[0]) | (x[1] ^ y[1])) == 0;
}

// The stamp of an existing file (not a folder). The 95 family lacks
// GetFileAttributesExA; its search gives the same fields.
bool StampOf(const char* path, FileStamp* stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (win32::UseWideCalls()) {
    const win32::WideText wide(path);
    if (!wide.valid() ||
        !GetFileAttributesExW(wide.get(), GetFileExInfoStandard, &data)) {
      return false;
    }
  } else {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    // A search's data starts with the same fields, in the same order.
    memcpy(&data, &found, sizeof data);
  }
  stamp->sizeLow = data.nFileSizeLow;
  stamp->sizeHigh = data.nFileSizeHigh;
  stamp->written = data.ftLastWriteTime;
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The whole file into `text`; false when it cannot be opened or read, or
// is too large to hold.
bool ReadBytes(const char* path, HeapArray<char>* text, unsigned* length) {
  // FILE_SHARE_DELETE is unknown to the 95 family.
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE |
                      (win32::UseWideCalls() ? FILE_SHARE_DELETE : 0);
  return win32::ReadFileOf(path, share, 0x7FFFFFFFu, true, text, length);
}

// Finds the section headers of the kept text, in order: counted on a first
// walk, written down on a second once there is room (`headers` is null
// until then).
bool IndexHeaders(KeptFile* file) {
  for (;;) {
    ProfileScanner scanner(file->text.get(), file->length);
    ProfileLine line;
    unsigned at = 0;
    while (scanner.Next(&line)) {
      if (line.kind != ProfileLine::kHeader) continue;
      if (file->headers.valid()) {
        Header& header = file->headers.get()[at];
        header.line = static_cast<unsigned>(line.line - file->text.get());
        header.name = static_cast<unsigned>(line.name - file->text.get());
        header.nameLength = line.nameLength;
      }
      ++at;
    }
    if (file->headers.valid()) {
      file->headerCount = at;
      return true;
    }
    file->headers.Reset(new (std::nothrow) Header[at + 1]);
    if (!file->headers.valid()) return false;
  }
}

void Forget(KeptFile* file) {
  file->path.Reset();
  file->text.Reset();
  file->headers.Reset();
  file->length = file->headerCount = 0;
}

// The kept file, read afresh when `path` or its stamp changed; false when
// the file is missing or cannot be read (it then reads like an empty one).
bool Load(KeptFile* kept, const char* path) {
  FileStamp stamp;
  if (path == 0 || !StampOf(path, &stamp)) {
    Forget(kept);
    return false;
  }
  if (kept->path.valid() && strcmp(kept->path.get(), path) == 0 &&
      SameStamp(kept->stamp, stamp)) {
    return true;
  }
  Forget(kept);
  const size_t pathSize = strlen(path) + 1;
  kept->path.Reset(new (std::nothrow) char[pathSize]);
  if (!kept->path.valid() || !ReadBytes(path, &kept->text, &kept->length) ||
      !SettingsTextInPlace(kept->text.get(), &kept->length) ||
      !IndexHeaders(kept)) {
    Forget(kept);
    return false;
  }
  memcpy(kept->path.get(), path, pathSize);
  kept->stamp = stamp;
  return true;
}

// The bytes of the first section named `name` in the kept text, from its
// header to the next one; the lines before the first header for the empty
// name. None when absent.
const char* SectionText(const KeptFile& kept, const char* name,
                        unsigned nameLength, unsigned* length) {
  const char* const text = kept.text.get();
  *length = 0;
  if (text == 0) return "";
  if (nameLength == 0) {  // "[]" is never the empty name
    *length = kept.headerCount != 0 ? kept.headers[0].line : kept.length;
    return text;
  }
  for (unsigned i = 0; i < kept.headerCount; ++i) {
    const Header& header = kept.headers[i];
    if (!ProfileNamesEqual(text + header.name, header.nameLength, name,
                           nameLength)) {
      continue;
    }
    const unsigned end =
        i + 1 < kept.headerCount ? kept.headers[i + 1].line : kept.length;
    *length = end - header.line;
    return text + header.line;
  }
  return "";
}

// Reading a settings value is no failing operation: the error code kept for
// an earlier failure must outlive it (a path the conversion refuses keeps
// one).
class KeptErrorCode {
 public:
  KeptErrorCode() : code_(LastErrorCode()) {}
  ~KeptErrorCode() {
    if (LastErrorCode() != code_) win32::Fail(code_);
  }

 private:
  unsigned code_;
};

// The text of the section `section` of the settings file `file` (its name
// trimmed first where `trim` says so, as a value's lookup does), with its
// length in `*length`; an empty one where the file or section is missing.
const char* FileSection(const char* file, const char* section, bool trim,
                        unsigned* length) {
  const KeptErrorCode kept;
  *length = 0;
  KeptFile* sections = &g_kept;
  UPDATER_OPAQUE(sections);
  if (section == 0 || !Load(sections, file)) return "";
  const char* name = section;
  unsigned nameLength = static_cast<unsigned>(strlen(section));
  if (trim) nameLength = TrimProfileName(section, nameLength, &name);
  return SectionText(*sections, name, nameLength, length);
}

}  // namespace

unsigned ProfileString(const char* section, const char* key,
                       const char* fallback, char* buffer, unsigned size,
                       const char* file) {
  unsigned length;
  const char* const text = FileSection(file, section, true, &length);
  return ProfileStringOf(text, length, section, key, fallback, buffer, size);
}

unsigned ProfileSection(const char* section, char* buffer, unsigned size,
                        const char* file) {
  unsigned length;
  const char* const text = FileSection(file, section, false, &length);
  return ProfileSectionOf(text, length, section, buffer, size);
}

}  // namespace platform
