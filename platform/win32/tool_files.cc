// The tools' arguments and files on Windows: the wide-character calls on the
// NT family, so that names are the same code page 932 texts on every system.
#include "platform/tool_files.h"

#include <stdlib.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/win32/wide_text.h"

namespace platform {

namespace {

struct LocalMemoryTraits {
  typedef LPWSTR* Handle;
  static Handle Null() { return NULL; }
  static bool IsValid(Handle memory) { return memory != NULL; }
  static void Close(Handle memory) { LocalFree(memory); }
};

// Room for any path or argument converted to code page 932.
const unsigned kArgumentBytes = 32768 * 2;

}  // namespace

std::vector<std::string> ToolArguments(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (!win32::UseWideCalls()) return arguments;
  int count = 0;
  ScopedOwner<LocalMemoryTraits> wide(
      CommandLineToArgvW(GetCommandLineW(), &count));
  // The C runtime and the shell split a command line alike; where they
  // disagree on the count, the runtime's split stands.
  if (!wide.valid() || count != argc) return arguments;
  std::vector<char> text(kArgumentBytes);
  for (int i = 1; i < count; ++i) {
    if (win32::NarrowText(wide.get()[i], &text[0], kArgumentBytes) != 0)
      arguments[i - 1] = &text[0];
  }
  return arguments;
}

FILE* OpenForReading(const char* path) {
  if (!win32::UseWideCalls()) return fopen(path, "rb");
  const win32::WideText wide(path);
  return wide.valid() ? _wfopen(wide.get(), L"rb") : NULL;
}

std::string FullPathOf(const std::string& path) {
  if (!win32::UseWideCalls()) {
    char full[_MAX_PATH];
    return _fullpath(full, path.c_str(), sizeof full) ? full : path;
  }
  const win32::WideText wide(path.c_str());
  std::vector<WCHAR> full(kArgumentBytes / 2);
  const DWORD length =
      wide.valid() ? GetFullPathNameW(wide.get(), kArgumentBytes / 2, &full[0],
                                      NULL)
                   : 0;
  if (length == 0 || length >= kArgumentBytes / 2) return path;
  std::vector<char> text(kArgumentBytes);
  return win32::NarrowText(&full[0], &text[0], kArgumentBytes) != 0
             ? std::string(&text[0])
             : path;
}

}  // namespace platform
