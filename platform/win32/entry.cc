// The Windows entry point of updater.exe.
#include <windows.h>

#include "platform/program_main.h"
#include "platform/win32/command_line.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The runtime's own lpCmdLine is not used: mingw-w64 skips the blanks
  // after the program name with a signed comparison, which also eats the
  // first byte of a Shift-JIS character there. The result is the process's
  // exit code.
  return UpdaterMain(platform::ArgumentsOf(GetCommandLineA()));
}
