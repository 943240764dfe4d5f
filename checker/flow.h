// The procedure lists of a settings file as the updater would load them:
// the [UPDATER] PROC list and, through every branch of every SWITCH, every
// list reachable from it. The checks and the --graph picture read it.
#ifndef UPDATER_CHECKER_FLOW_H_
#define UPDATER_CHECKER_FLOW_H_

#include <string>
#include <vector>

#include "commands/proc_record.h"

namespace checker {

// A branch key of a SWITCH (kBranchList in the kind table).
struct FlowBranch {
  std::string key;  // "0", "1"
  // The list it loads (an index into Flow::lists); -1 for an empty branch
  // or one not loaded.
  int list;
  // The branch leads back to its SWITCH; `list` then names the list the
  // loop returns to, or -1.
  bool loops;
};

struct FlowItem {
  std::string name;    // the list item, blanks trimmed
  ProcRecord* record;  // loaded by the updater's loader; null when it failed
  std::vector<FlowBranch> branches;  // in the order of the kind's keys
};

struct FlowList {
  std::string owner;  // "UPDATER", or the SWITCH section
  std::string key;    // "PROC", or the branch key
  std::vector<FlowItem> items;
};

class Flow {
 public:
  Flow() {}
  ~Flow();  // releases the records

  std::vector<FlowList> lists;  // lists[0]: [UPDATER] PROC, when it loaded
  // Sections with a MODE key that no list names, in file order.
  std::vector<std::string> unreachable;

 private:
  Flow(const Flow&);
  Flow& operator=(const Flow&);
};

}  // namespace checker

#endif  // UPDATER_CHECKER_FLOW_H_
