#include "commands/delete.h"

#include <new>

#include "commands/file_in_use.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/run_log.h"

ProcRecord* LoadDelete(const char* name) {
  return LoadProcRecord(kProcKinds[kDeleteKind], new (std::nothrow) DELETE_INFO,
                        name);
}

namespace {

bool DeleteOnce(const void* operation) {
  const char* path = static_cast<const char*>(operation);
  const bool deleted = platform::RemoveFile(path);
  LogFileOperation(deleted, "delete", path, 0);
  return deleted;
}

// No existence test first: a missing file is a failure like any other, and
// a read-only file is left alone (ATTR can clear it beforehand).
ItemOutcome DeleteItem(const ProcRecord&, const TextString* items) {
  const char* path = items[0].Text();
  return ItemOutcomeOf(TryWhileInUse(path, DeleteOnce, path));
}

}  // namespace

bool RunDelete(ProcRecord* record) {
  return RunItems(record, DeleteItem, true);
}
