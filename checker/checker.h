// updater-check's core: every problem of a settings file that can be found
// without running a procedure, with the updater's own reader, value forms,
// expansion and loaders. What it accepts, the updater accepts.
#ifndef UPDATER_CHECKER_CHECKER_H_
#define UPDATER_CHECKER_CHECKER_H_

#include <string>
#include <vector>

#include "checker/findings.h"
#include "checker/flow.h"

namespace checker {

struct CheckOptions {
  CheckOptions() : here(false) {}
  // Also what a run on this PC would meet (see here_checks.h).
  bool here;
  // Codes reported nowhere (--exclude).
  std::vector<Code> excluded;
};

// Checks the settings file whose bytes are `bytes` and which the profile
// functions read at `profilePath` (a full path), for the Windows family that
// platform::IsNtPlatform answers. Uses the process-wide state of the
// updater's layers (symbols, settings path, error sink) and leaves it reset;
// `flow` receives the loaded lists (for --graph). The file's suppression
// comments and the excluded codes are applied (suppressions.h).
void CheckSettings(const std::string& profilePath, const std::string& bytes,
                   const CheckOptions& options, Findings* findings, Flow* flow);

}  // namespace checker

#endif  // UPDATER_CHECKER_CHECKER_H_
