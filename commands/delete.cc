#include "commands/delete.h"

#include <new>

#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/run_log.h"

ProcRecord* LoadDelete(const char* name) {
  return LoadProcRecord(kProcKinds[kDeleteKind], new (std::nothrow) DELETE_INFO,
                        name);
}

namespace {

// No existence test first: a missing file is a failure like any other, and
// a read-only file is left alone (ATTR can clear it beforehand).
ItemOutcome DeleteItem(const ProcRecord&, const TextString* items) {
  const bool deleted = platform::RemoveFile(items[0].Text());
  LogFileOperation(deleted, "delete", items[0].Text(), 0);
  return deleted ? kItemDone : kItemFailed;
}

}  // namespace

bool RunDelete(ProcRecord* record) {
  return RunItems(record, DeleteItem, true);
}
