#include "settings/exit_code.h"

namespace {

ExitCode g_stopCause = kExitDone;

}  // namespace

void StopRun(ExitCode cause) {
  if (g_stopCause == kExitDone) g_stopCause = cause;
}

ExitCode StopCause() { return g_stopCause; }

void ClearStopCause() { g_stopCause = kExitDone; }
