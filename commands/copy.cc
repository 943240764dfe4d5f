#include "commands/copy.h"

#include <new>

#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/messages.h"
#include "settings/run_log.h"

ProcRecord* LoadCopy(const char* name) {
  return LoadProcRecord(kProcKinds[kCopyKind], new (std::nothrow) COPY_INFO,
                        name);
}

bool RunCopy(ProcRecord* record) {
  COPY_INFO* info = static_cast<COPY_INFO*>(record);
  const int count = CountDrivingItems(*info);
  if (count == 0) return false;
  // A copy that fails part-way (a full disk) must not leave a cut or mixed
  // program behind: the NT family replaces each destination in one step.
  // The 95 family lacks MoveFileExA and copies straight over it.
  const bool inOneStep = platform::IsNtPlatform();
  for (int i = 0; i < count; ++i) {
    const TextString source = ListItem(info->FROM, i);
    // TO is not counted: a shorter list leaves "" here, which the copy
    // refuses and the message then shows as an empty destination.
    const TextString destination = ListItem(info->TO, i);
    const bool copied =
        inOneStep
            ? platform::ReplaceFileByCopy(source.Text(), destination.Text())
            : platform::CopyFileOver(source.Text(), destination.Text());
    LogFileOperation(copied, "copy", source.Text(), destination.Text());
    if (!copied) {
      ShowError(MSG_COPY_FAILED, source.Text(), destination.Text());
      return false;
    }
  }
  info->result = true;
  return true;
}
