// updater-check against the updater's own loading, both on the fake Windows
// world and the same settings file: where they disagree about what the
// updater refuses. Used by the corpus test and the differential fuzz target.
#ifndef UPDATER_TESTS_CHECKER_DIFFERENTIAL_H_
#define UPDATER_TESTS_CHECKER_DIFFERENTIAL_H_

#include <string>
#include <vector>

namespace differential {

// The updater is started on `bytes` (start-up, then every list it could
// load: [UPDATER] PROC and every branch of every SWITCH, each item loaded
// as LoadProcList loads it), judged for the Windows family `platformId`;
// the checker examines the same file with the same built-in folders. A
// sentence for each disagreement:
// - the updater refuses a start-up, a section or a list item, and the
//   checker reports no error that predicts its box;
// - the checker reports that the updater refuses a key or section
//   (CodeInfo::refusal) that the updater loads without complaint;
// - a SWITCH PROC or MSGBOX FLAG that the updater's lookup does not find,
//   or finds, where the checker says the opposite;
// - a SWITCH that runs nested past the updater's bound, or does not, where
//   the checker says the opposite.
// Leaves the fake world and the process state reset.
std::vector<std::string> Disagreements(const std::string& bytes,
                                       unsigned platformId);

}  // namespace differential

#endif  // UPDATER_TESTS_CHECKER_DIFFERENTIAL_H_
