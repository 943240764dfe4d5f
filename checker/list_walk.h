// Loads every reachable procedure list with the updater's own loaders and
// reports what loading, and the lookups between procedures, would stop on.
#ifndef UPDATER_CHECKER_LIST_WALK_H_
#define UPDATER_CHECKER_LIST_WALK_H_

#include "base/text_string.h"
#include "checker/context.h"
#include "checker/flow.h"

namespace checker {

// Walks [UPDATER] PROC (`proc`, as read) and every SWITCH branch reachable
// from it into `flow`. Findings: empty lists and names, missing sections and
// keys, unknown MODE values, SWITCH PROC and MSGBOX FLAG names that are not
// in their list or have not run yet, branches that lead back to their
// SWITCH, and the procedure sections no list reaches.
void WalkLists(const Context& context, const TextString& proc, Flow* flow);

}  // namespace checker

#endif  // UPDATER_CHECKER_LIST_WALK_H_
