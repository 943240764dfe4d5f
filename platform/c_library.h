// Owners for what the C library hands out, and the whole of a file read
// through a C stream: for the tools (updater-check, the Linux build's
// profile reader); the updater itself reads with the Win32 calls alone.
// Header-only, so that nothing of it reaches an executable that does not
// use it.
#ifndef UPDATER_PLATFORM_C_LIBRARY_H_
#define UPDATER_PLATFORM_C_LIBRARY_H_

#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "platform/scoped_owner.h"
#include "platform/tool_files.h"

namespace platform {

struct StdioFileTraits {
  typedef FILE* Handle;
  static Handle Null() { return 0; }
  static bool IsValid(Handle file) { return file != 0; }
  static void Close(Handle file) { fclose(file); }
};
// A stream from fopen, closed with fclose.
typedef ScopedOwner<StdioFileTraits> ScopedStdioFile;

struct MallocTraits {
  typedef char* Handle;
  static Handle Null() { return 0; }
  static bool IsValid(Handle text) { return text != 0; }
  static void Close(Handle text) { free(text); }
};
// A text the C library made with malloc (realpath), given back with free.
typedef ScopedOwner<MallocTraits> ScopedMallocText;

// Appends the file's bytes to `bytes`; false when it cannot be opened
// (missing, a directory) or a read fails.
inline bool ReadWholeFile(const char* path, std::string* bytes) {
  ScopedStdioFile file(OpenForReading(path));
  if (!file.valid()) return false;
  char chunk[4096];
  size_t got = 0;
  while ((got = fread(chunk, 1, sizeof(chunk), file.get())) > 0) {
    bytes->append(chunk, got);
  }
  return !ferror(file.get());
}

}  // namespace platform

#endif  // UPDATER_PLATFORM_C_LIBRARY_H_
