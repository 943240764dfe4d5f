// Starting a program and waiting for it.
#include <string.h>
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"
#include "platform/win32/scoped_handle.h"

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
  win32::KeepLastError();
  return true;
}

}  // namespace

LaunchResult Launch(char* commandLine, const char* directory, LaunchWait wait) {
  STARTUPINFOA startup;
  memset(&startup, 0, sizeof(startup));
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started;
  memset(&started, 0, sizeof(started));
  if (!CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, directory,
                      &startup, &started)) {
    win32::KeepLastError();
    return kLaunchNotStarted;
  }
  // Declared in this order so that the thread handle is closed first.
  win32::ScopedHandle process(started.hProcess);
  win32::ScopedHandle thread(started.hThread);

  bool failed;
  if (wait == kWaitForExit) {
    failed = WaitForSingleObject(process.get(), INFINITE) == WAIT_FAILED;
    if (failed) win32::KeepLastError();
  } else {
    failed = InputIdleWaitFailed(process.get());
  }
  thread.Reset();
  process.Reset();
  return failed ? kLaunchWaitFailed : kLaunchDone;
}

}  // namespace platform
