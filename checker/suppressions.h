// What the author of a settings file silenced: comment lines
//   ; updater-check: disable=U035,U040     the next line that is no comment
//   ; updater-check: disable-file=U035     the whole file
// and the codes excluded on the command line (--exclude). A comment that
// silences nothing, or names no code, is itself reported (U090).
#ifndef UPDATER_CHECKER_SUPPRESSIONS_H_
#define UPDATER_CHECKER_SUPPRESSIONS_H_

#include <vector>

#include "checker/findings.h"
#include "checker/settings_text.h"

namespace checker {

void ApplySuppressions(const SettingsText& text,
                       const std::vector<Code>& excluded, Findings* findings);

}  // namespace checker

#endif  // UPDATER_CHECKER_SUPPRESSIONS_H_
