#include "commands/copy.h"

#include <new>

#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/run_log.h"

ProcRecord* LoadCopy(const char* name) {
  return LoadProcRecord(kProcKinds[kCopyKind], new (std::nothrow) COPY_INFO,
                        name);
}

namespace {

// FROM and TO. TO is not counted: a shorter list leaves "" here, which the
// copy refuses and the message then shows as an empty destination.
ItemOutcome CopyItem(const ProcRecord&, const TextString* items) {
  const char* source = items[0].Text();
  const char* destination = items[1].Text();
  // A copy that fails part-way (a full disk) must not leave a cut or mixed
  // program behind: the NT family replaces each destination in one step.
  // The 95 family lacks MoveFileExA and copies straight over it.
  const bool copied = platform::IsNtPlatform()
                          ? platform::ReplaceFileByCopy(source, destination)
                          : platform::CopyFileOver(source, destination);
  LogFileOperation(copied, "copy", source, destination);
  return copied ? kItemDone : kItemFailed;
}

}  // namespace

bool RunCopy(ProcRecord* record) { return RunItems(record, CopyItem, true); }
