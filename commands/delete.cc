#include "commands/delete.h"

#include <new>

#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/messages.h"
#include "settings/run_log.h"

ProcRecord* LoadDelete(const char* name) {
  return LoadProcRecord(kProcKinds[kDeleteKind], new (std::nothrow) DELETE_INFO,
                        name);
}

bool RunDelete(ProcRecord* record) {
  DELETE_INFO* info = static_cast<DELETE_INFO*>(record);
  const int count = CountDrivingItems(*info);
  if (count == 0) return false;
  for (int i = 0; i < count; ++i) {
    // No existence test first: a missing file is a failure like any other,
    // and a read-only file is left alone (ATTR can clear it beforehand).
    const TextString file = ListItem(info->FILE, i);
    const bool deleted = platform::RemoveFile(file.Text());
    LogFileOperation(deleted, "delete", file.Text(), 0);
    if (!deleted) {
      ShowError(MSG_DELETE_FAILED, file.Text());
      return false;
    }
  }
  info->result = true;
  return true;
}
