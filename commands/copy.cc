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
// context of their own), the next staged number to try, the numbers taken
// in the folder of the last pair, and the journal once written.
struct CopyPlan {
  platform::HeapArray<StagedPair> pairs;
  int count;
  unsigned nextNumber;
  platform::HeapArray<unsigned char> taken;
  const char* journal;  // null without one
};
CopyPlan* g_plan;

// Notes the pair with its destination's full path and whether it exists,
// and finds it a staged number free in its folder, which is listed once
// for the pairs in it in a row.
ItemOutcome PlanItem(const ProcRecord&, const TextString* items) {
  CopyPlan& plan = *g_plan;
  StagedPair& pair = plan.pairs[plan.count];
  pair.source.Set(items[0]);
  platform::HeapArray<char> full;
  bool exists = false;
  bool planned = platform::FileFullPath(items[1].Text(), &full, &exists);
  if (planned) {
    pair.target.Set(full.get());
    pair.wasNew = !exists;
    pair.number = plan.nextNumber;
    planned = platform::FindStagedNumber(
        full.get(), plan.count ? (&pair - 1)->target.Text() : 0,
        plan.taken.get(), &pair.number);
  }
  if (!planned) {
    LogFileOperation(false, "copy", pair.source.Text(), items[1].Text());
    return kItemFailed;
  }
  plan.nextNumber = pair.number + 1;
  ++plan.count;
  return kItemDone;
}

bool StageOnce(const void* operation) {
  const StagedPair& pair = *static_cast<const StagedPair*>(operation);
  const bool staged =
      platform::StageCopy(pair.source.Text(), pair.target.Text(), pair.number);
  LogFileOperation(staged, "stage", pair.source.Text(), pair.target.Text());
  return staged;
}

bool CheckOnce(const void* operation) {
  const StagedPair& pair = *static_cast<const StagedPair*>(operation);
  const bool writable = platform::WritableNow(pair.target.Text());
  // The copy of this pair cannot be made now: logged as the copy's failure.
  if (!writable) {
    LogFileOperation(false, "copy", pair.source.Text(), pair.target.Text());
  }
  return writable;
}

// Ends a COPY that failed, every destination as it was (`whole`) or the
// journal kept for the next start to finish it; the failing pair's message
// is shown unless the run stops with its own.
bool EndFailed(const StagedPair& failed, bool whole, bool show) {
  if (whole && g_plan->journal) platform::RemoveFile(g_plan->journal);
  if (show)
    ShowError(MSG_COPY_FAILED, failed.source.Text(), failed.target.Text());
  return false;
}

// Ends a COPY that replaced nothing: its staged files and journal go (a
// staged file that stays is left to the next start with the journal).
bool Abandon(const StagedPair& failed, InUseOutcome outcome) {
  return EndFailed(failed,
                   RemoveStagedFiles(g_plan->pairs.get(), g_plan->count,
                                     platform::kStagedCopy),
                   outcome != kInUseGivenUp);
}

// Puts back every destination after the swap of `failed` failed.
bool RollBack(const StagedPair& failed) {
  int restored = 0;
  const bool whole =
      RestorePairs(g_plan->pairs.get(), g_plan->count, &restored);
  LogFormat("not every file could be replaced: restored %d of %d files%s",
            restored, g_plan->count, whole ? "" : "; the journal is kept");
  return EndFailed(failed, whole, true);
}

// Stage, check, swap, finish (see the README): until the last swap nothing
// is lost, and a failure puts every destination back.
bool ReplaceAll(CopyPlan* plan) {
  StagedPair* const pairs = plan->pairs.get();
  // Without a journal (the updater's folder cannot be written, a CD) a
  // failure is still undone; a killed run is not.
  const TextString journal = CopyJournalPath(false);
  if (WriteCopyJournal(pairs, plan->count, journal.Text()))
    plan->journal = journal.Text();
  // Every pair staged, then every existing destination checked.
  for (int check = 0; check < 2; ++check) {
    for (int i = 0; i < plan->count; ++i) {
      if (check && pairs[i].wasNew) continue;
      const InUseOutcome outcome =
          TryWhileInUse(check ? pairs[i].target.Text() : pairs[i].source.Text(),
                        check ? CheckOnce : StageOnce, &pairs[i]);
      if (outcome != kInUseDone) return Abandon(pairs[i], outcome);
    }
  }
  for (int i = 0; i < plan->count; ++i) {
    const bool swapped =
        platform::SwapStaged(pairs[i].target.Text(), pairs[i].number);
    LogFileOperation(swapped, "copy", pairs[i].source.Text(),
                     pairs[i].target.Text());
    if (!swapped) return RollBack(pairs[i]);
  }
  // Every file is new. Only once the journal says so may the backups go;
  // where it cannot say so, the COPY is undone like any that fails.
  const TextString committed = CopyJournalPath(true);
  if (plan->journal && !platform::RenameFile(plan->journal, committed.Text())) {
    LogFailedOperation("commit the journal", committed.Text());
    return RollBack(pairs[plan->count - 1]);
  }
  if (RemoveStagedFiles(pairs, plan->count, platform::kStagedBackup) &&
      plan->journal)
    platform::RemoveFile(committed.Text());
  return true;
}

}  // namespace

bool RunCopy(ProcRecord* record) {
  if (!platform::IsNtPlatform()) return RunItems(record, CopyItem, true);
  const COPY_INFO& copy = *static_cast<COPY_INFO*>(record);
  CopyPlan plan;
  plan.count = 0;
  plan.journal = 0;
  plan.nextNumber = platform::TickCount() ^ (platform::ProcessId() << 4);
  plan.pairs.Reset(NewStagedPairs(copy.FROM.ItemCount(",") + 1));
  plan.taken.Reset(
      new (std::nothrow) unsigned char[platform::kStagedNumberBytes]);
  if (!plan.pairs.valid() || !plan.taken.valid()) {
    ShowError(MSG_OUT_OF_MEMORY, kProcKinds[kCopyKind].recordName);
    return false;
  }
  g_plan = &plan;
  const bool planned = RunItems(record, PlanItem, false);
  const bool done = planned && ReplaceAll(&plan);
  g_plan = 0;
  if (done) record->result = true;
  return done;
}
