#include "commands/copy.h"

#include <new>

#include "commands/copy_journal.h"
#include "commands/file_in_use.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/messages.h"
#include "settings/run_log.h"

ProcRecord* LoadCopy(const char* name) {
  return LoadProcRecord(kProcKinds[kCopyKind], new (std::nothrow) COPY_INFO,
                        name);
}

namespace {

// ---- The 95 family: each pair copied straight over its destination ------

struct CopyPair {
  const char* source;
  const char* destination;
};

bool CopyOnce(const void* operation) {
  const CopyPair& pair = *static_cast<const CopyPair*>(operation);
  const bool copied = platform::CopyFileOver(pair.source, pair.destination);
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

// ---- The NT family: every pair or none --------------------------------

// The pairs of the COPY being planned (the item walk's steps take no
// context of their own), and the next staged number to try.
struct CopyPlan {
  platform::HeapArray<StagedPair> pairs;
  int count;
  unsigned nextNumber;
};
CopyPlan* g_plan;

// Notes the pair and finds it a staged number free in its folder.
ItemOutcome PlanItem(const ProcRecord&, const TextString* items) {
  StagedPair& pair = g_plan->pairs[g_plan->count];
  pair.source.Set(items[0]);
  pair.destination.Set(items[1]);
  pair.wasNew = !platform::FileExists(pair.destination.Text());
  pair.number = g_plan->nextNumber;
  const bool found =
      platform::FindStagedNumber(pair.destination.Text(), &pair.number);
  if (!found) {
    LogFileOperation(false, "copy", pair.source.Text(),
                     pair.destination.Text());
    return kItemFailed;
  }
  g_plan->nextNumber = pair.number + 1;
  ++g_plan->count;
  return kItemDone;
}

bool StageOnce(const void* operation) {
  const StagedPair& pair = *static_cast<const StagedPair*>(operation);
  const bool staged = platform::StageCopy(pair.source.Text(),
                                          pair.destination.Text(), pair.number);
  LogFileOperation(staged, "stage", pair.source.Text(),
                   pair.destination.Text());
  return staged;
}

bool CheckOnce(const void* operation) {
  const StagedPair& pair = *static_cast<const StagedPair*>(operation);
  const bool writable = platform::WritableNow(pair.destination.Text());
  // The copy of this pair cannot be made now: logged as the copy's failure.
  if (!writable) {
    LogFileOperation(false, "copy", pair.source.Text(),
                     pair.destination.Text());
  }
  return writable;
}

// Ends a COPY that replaced nothing: its staged files and journal go, and
// the failing pair's message (none after a stop with its own) is shown.
bool Abandon(const StagedPair& failed, InUseOutcome outcome, bool journal) {
  // A staged file that stays is left to the next start with the journal.
  if (RemoveStagedFiles(g_plan->pairs.get(), g_plan->count) && journal)
    platform::RemoveFile(CopyJournalPath(false).Text());
  if (outcome != kInUseGivenUp) {
    ShowError(MSG_COPY_FAILED, failed.source.Text(), failed.destination.Text());
  }
  return false;
}

// Puts back every destination after the swap of `failed` failed. The
// journal stays when a file could not be put back: the next start tries
// again.
bool RollBack(const StagedPair& failed, bool journal) {
  int restored = 0;
  const bool whole =
      RestorePairs(g_plan->pairs.get(), g_plan->count, &restored);
  LogFormat("not every file could be replaced: restored %d of %d files%s",
            restored, g_plan->count, whole ? "" : "; the journal is kept");
  if (whole && journal) platform::RemoveFile(CopyJournalPath(false).Text());
  ShowError(MSG_COPY_FAILED, failed.source.Text(), failed.destination.Text());
  return false;
}

// Stage, check, swap, finish (see the README): until the last swap nothing
// is lost, and a failure puts every destination back.
bool ReplaceAll(CopyPlan* plan) {
  StagedPair* const pairs = plan->pairs.get();
  // Without a journal (the updater's folder cannot be written, a CD) a
  // failure is still undone; a killed run is not.
  const bool journal = WriteCopyJournal(pairs, plan->count);
  for (int i = 0; i < plan->count; ++i) {
    const InUseOutcome outcome =
        TryWhileInUse(pairs[i].source.Text(), StageOnce, &pairs[i]);
    if (outcome != kInUseDone) return Abandon(pairs[i], outcome, journal);
  }
  for (int i = 0; i < plan->count; ++i) {
    if (pairs[i].wasNew) continue;
    const InUseOutcome outcome =
        TryWhileInUse(pairs[i].destination.Text(), CheckOnce, &pairs[i]);
    if (outcome != kInUseDone) return Abandon(pairs[i], outcome, journal);
  }
  for (int i = 0; i < plan->count; ++i) {
    const bool swapped =
        platform::SwapStaged(pairs[i].destination.Text(), pairs[i].number);
    LogFileOperation(swapped, "copy", pairs[i].source.Text(),
                     pairs[i].destination.Text());
    if (!swapped) return RollBack(pairs[i], journal);
  }
  // Every file is new. Only once the journal says so may the backups go;
  // where it cannot say so, the COPY is undone like any that fails.
  const TextString committed = CopyJournalPath(true);
  if (journal &&
      !platform::RenameFile(CopyJournalPath(false).Text(), committed.Text())) {
    LogFileOperation(false, "commit the journal", committed.Text(), 0);
    return RollBack(pairs[plan->count - 1], journal);
  }
  if (RemoveStagedFiles(pairs, plan->count) && journal)
    platform::RemoveFile(committed.Text());
  return true;
}

}  // namespace

bool RunCopy(ProcRecord* record) {
  if (!platform::IsNtPlatform()) return RunItems(record, CopyItem, true);
  const COPY_INFO& copy = *static_cast<COPY_INFO*>(record);
  CopyPlan plan;
  plan.count = 0;
  plan.nextNumber = platform::TickCount() ^ (platform::ProcessId() << 4);
  plan.pairs.Reset(new (std::nothrow) StagedPair[copy.FROM.ItemCount(",") + 1]);
  if (!plan.pairs.valid()) {
    ShowError(MSG_OUT_OF_MEMORY, "COPY_INFO");
    return false;
  }
  g_plan = &plan;
  const bool planned = RunItems(record, PlanItem, false);
  const bool done = planned && ReplaceAll(&plan);
  g_plan = 0;
  if (done) record->result = true;
  return done;
}
