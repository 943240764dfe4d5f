// Starting a program and waiting for it.
#include <string.h>
#include <windows.h>

#include "platform/compiler.h"
#include "platform/platform.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// WaitForInputIdle fails at once for a program without a message queue (a
// console program) under Wine, and returns at once on Windows. A program
// that did start is not a failed start: only when the process cannot even
// be queried is the wait itself broken.
bool InputIdleWaitFailed(HANDLE process) {
  if (WaitForInputIdle(process, INFINITE) != WAIT_FAILED) return false;
  DWORD exitCode = 0;
  if (GetExitCodeProcess(process, &exitCode)) return false;
  win32::FailWithLastError();
  return true;
}

// Waits for the started program as `wait` says; true when the wait itself
// failed (its error kept).
UPDATER_NOINLINE bool WaitFailed(HANDLE process, LaunchWait wait,
                                 unsigned* exitCode) {
  if (wait != kWaitForExit) return InputIdleWaitFailed(process);
  DWORD code = 0;
  if (WaitForSingleObject(process, INFINITE) == WAIT_FAILED ||
      !GetExitCodeProcess(process, &code)) {
    win32::FailWithLastError();
    return true;
  }
  if (exitCode) *exitCode = code;
  return false;
}

// CreateProcessW on the NT family, with a writable wide copy of the command
// line (the call may write into it); CreateProcessA on the 95 family.
bool CreateProcessOf(char* commandLine, const char* directory,
                     PROCESS_INFORMATION* started) {
  // STARTUPINFOA has the same fields, with narrow texts in place of wide.
  STARTUPINFOW startup;
  memset(&startup, 0, sizeof(startup));
  startup.cb = sizeof(startup);
  if (!win32::UseWideCalls()) {
    return win32::Kept(
        CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, directory,
                       reinterpret_cast<STARTUPINFOA*>(&startup), started));
  }
  win32::WideText command(commandLine);
  const win32::WideText folder(directory);
  return command.valid() && folder.valid() &&
         win32::Kept(CreateProcessW(NULL, command.writable(), NULL, NULL, FALSE,
                                    0, NULL, folder.get(), &startup, started));
}

}  // namespace

LaunchResult Launch(char* commandLine, const char* directory, LaunchWait wait,
                    unsigned* exitCode) {
  PROCESS_INFORMATION started;  // filled in by a start that succeeds
  if (!CreateProcessOf(commandLine, directory, &started)) {
    return kLaunchNotStarted;
  }
  // Declared in this order so that the thread handle is closed first.
  KernelObject process(started.hProcess);
  KernelObject thread(started.hThread);

  return WaitFailed(process.get(), wait, exitCode) ? kLaunchWaitFailed
                                                   : kLaunchDone;
}

}  // namespace platform
