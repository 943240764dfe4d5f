#include "commands/makedir.h"

#include <new>

#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/messages.h"
#include "settings/run_log.h"

ProcRecord* LoadMakedir(const char* name) {
  return LoadProcRecord(kProcKinds[kMakedirKind],
                        new (std::nothrow) MAKEDIR_INFO, name);
}

bool RunMakedir(ProcRecord* record) {
  MAKEDIR_INFO* info = static_cast<MAKEDIR_INFO*>(record);
  const int count = CountDrivingItems(*info);
  if (count == 0) return false;
  for (int i = 0; i < count; ++i) {
    const TextString dir = ListItem(info->DIR, i);
    // Anything already there, a file of that name too, is left as it is:
    // running the same procedure again must not fail.
    if (ItemExists(dir)) {
      LogFormat("make directory %s: there already", dir.Text());
      continue;
    }
    const bool made = platform::MakeDirectory(dir.Text());
    LogFileOperation(made, "make directory", dir.Text(), 0);
    if (!made) {
      ShowError(MSG_MAKEDIR_FAILED, dir.Text());
      return false;
    }
  }
  info->result = true;
  return true;
}
