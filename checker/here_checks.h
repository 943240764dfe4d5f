// What a run would meet on this PC, found out without changing anything:
// files and folders are only looked for, opened for writing without being
// written, and dated; the registry is only read. No program starts, no box
// is shown.
#ifndef UPDATER_CHECKER_HERE_CHECKS_H_
#define UPDATER_CHECKER_HERE_CHECKS_H_

#include "checker/context.h"
#include "checker/flow.h"

namespace checker {

// COPY sources that are missing and destinations that are read-only, held
// open or in a missing folder; DELETE and ATTR files that are missing or
// cannot be changed; MAKEDIR parents and LAUNCH programs that are missing;
// folders LINK would need; what DATE, EXIST and OSVER answer now; App Paths
// lookups that find nothing. A path the script makes itself (a MAKEDIR
// folder, a COPY destination, a shortcut) counts as there.
void CheckHere(const Context& context, const Flow& flow);

}  // namespace checker

#endif  // UPDATER_CHECKER_HERE_CHECKS_H_
