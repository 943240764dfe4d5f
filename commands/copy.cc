#include "commands/copy.h"

#include <new>

#include "commands/file_in_use.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/run_log.h"

ProcRecord* LoadCopy(const char* name) {
  return LoadProcRecord(kProcKinds[kCopyKind], new (std::nothrow) COPY_INFO,
                        name);
}

namespace {

struct CopyPair {
  const char* source;
  const char* destination;
};

bool CopyOnce(const void* operation) {
  const CopyPair& pair = *static_cast<const CopyPair*>(operation);
  // A copy that fails part-way (a full disk) must not leave a cut or mixed
  // program behind: the NT family replaces each destination in one step.
  // The 95 family lacks MoveFileExA and copies straight over it.
  const bool copied =
      platform::IsNtPlatform()
          ? platform::ReplaceFileByCopy(pair.source, pair.destination)
          : platform::CopyFileOver(pair.source, pair.destination);
  LogFileOperation(copied, "copy", pair.source, pair.destination);
  return copied;
}

// FROM and TO. TO is not counted: a shorter list leaves "" here, which the
// copy refuses and the message then shows as an empty destination.
ItemOutcome CopyItem(const ProcRecord&, const TextString* items) {
  const CopyPair pair = {items[0].Text(), items[1].Text()};
  // The file a holder keeps from being replaced is the destination; a new
  // destination has none, and then it is the source that is held.
  const char* held =
      platform::FileExists(pair.destination) ? pair.destination : pair.source;
  return ItemOutcomeOf(TryWhileInUse(held, CopyOnce, &pair));
}

}  // namespace

bool RunCopy(ProcRecord* record) { return RunItems(record, CopyItem, true); }
