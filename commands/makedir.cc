#include "commands/makedir.h"

#include <new>

#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/run_log.h"

ProcRecord* LoadMakedir(const char* name) {
  return LoadProcRecord(kProcKinds[kMakedirKind],
                        new (std::nothrow) MAKEDIR_INFO, name);
}

namespace {

// One level per item. Anything already there, a file of that name too, is
// left as it is: running the same procedure again must not fail.
ItemOutcome MakedirItem(const ProcRecord&, const TextString* items) {
  const TextString& dir = items[0];
  if (ItemExists(dir)) {
    LogFormat("make directory %s: there already", dir.Text());
    return kItemDone;
  }
  const bool made = platform::MakeDirectory(dir.Text());
  LogFileOperation(made, "make directory", dir.Text(), 0);
  return made ? kItemDone : kItemFailed;
}

}  // namespace

bool RunMakedir(ProcRecord* record) {
  return RunItems(record, MakedirItem, true);
}
