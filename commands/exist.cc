#include "commands/exist.h"

#include <new>

#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "settings/run_log.h"

ProcRecord* LoadExist(const char* name) {
  return LoadProcRecord(kProcKinds[kExistKind], new (std::nothrow) EXIST_INFO,
                        name);
}

namespace {

// A missing item is an answer, not a failure: the run goes on and a later
// SWITCH or MSGBOX reads the result.
ItemOutcome ExistItem(const ProcRecord&, const TextString* items) {
  const bool exists = ItemExists(items[0]);
  LogFormat("exists %s: %s", items[0].Text(), exists ? "yes" : "no");
  return exists ? kItemDone : kItemEnds;
}

}  // namespace

bool RunExist(ProcRecord* record) { return RunItems(record, ExistItem, true); }
