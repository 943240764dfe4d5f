#include "settings/exit_code.h"

namespace {

ExitCode g_stopCause = kExitDone;
bool g_restartNeeded = false;

}  // namespace

void StopRun(ExitCode cause) {
  if (g_stopCause == kExitDone) g_stopCause = cause;
}

ExitCode StopCause() { return g_stopCause; }

void ClearStopCause() {
  g_stopCause = kExitDone;
  g_restartNeeded = false;
}

void NoteRestartNeeded() { g_restartNeeded = true; }

bool RestartNeeded() { return g_restartNeeded; }
