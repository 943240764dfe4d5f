// The procedure lists of a settings file as the updater would load them:
// the [UPDATER] PROC list and, through both branches of every SWITCH, every
// list reachable from it. The checks and the --graph picture read it.
#ifndef UPDATER_CHECKER_FLOW_H_
#define UPDATER_CHECKER_FLOW_H_

#include <string>
#include <vector>

#include "commands/proc_record.h"

namespace checker {

struct FlowItem {
  std::string name;    // the list item, blanks trimmed
  ProcRecord* record;  // loaded by the updater's loader; null when it failed
  // SWITCH: the lists of its "0" and "1" branches (indexes into
  // Flow::lists); -1 for an empty branch or one not loaded.
  int branch[2];
  // That branch leads back to this SWITCH; branch[] then names the list the
  // loop returns to, or -1.
  bool loops[2];
};

struct FlowList {
  std::string owner;  // "UPDATER", or the SWITCH section
  std::string key;    // "PROC", or the branch "0" / "1"
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
