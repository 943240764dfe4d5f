// updater-check's core: every problem of a settings file that can be found
// without running a procedure, with the updater's own reader, value forms,
// expansion and loaders. What it accepts, the updater accepts.
#ifndef UPDATER_CHECKER_CHECKER_H_
#define UPDATER_CHECKER_CHECKER_H_

#include <string>

#include "checker/findings.h"
#include "checker/flow.h"

namespace checker {

// Checks the settings file whose bytes are `bytes` and which the profile
// functions read at `profilePath` (a full path). With `here`, also what a
// run on this PC would meet (see here_checks.h). Uses the process-wide
// state of the updater's layers (symbols, settings path, error sink) and
// leaves it reset; `flow` receives the loaded lists (for --graph).
void CheckSettings(const std::string& profilePath, const std::string& bytes,
                   bool here, Findings* findings, Flow* flow);

}  // namespace checker

#endif  // UPDATER_CHECKER_CHECKER_H_
