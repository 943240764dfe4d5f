// The journal of a COPY whose files are being replaced all or nothing, and
// the roll-back it allows. Written, flushed, beside the updater before the
// first destination is swapped; renamed to its committed name once every
// one is; removed when the backups are gone. The next start from the same
// folder finds what a killed run left and finishes it first.
#ifndef UPDATER_COMMANDS_COPY_JOURNAL_H_
#define UPDATER_COMMANDS_COPY_JOURNAL_H_

#include "base/text_string.h"
#include "platform/staged_names.h"

// One destination of the COPY.
struct StagedPair {
  TextString source;  // as the settings give it (a journal keeps none)
  TextString target;  // the destination's full path, its name as stored
                      // (platform::FileFullPath): what every step works
                      // on, the journal names and the messages show
  unsigned number;    // of its staged and backup names (platform/staged_names)
  bool wasNew;        // no destination when it was planned
};

// `count` pairs, each empty; null when memory has run out. Given back with
// delete[].
StagedPair* NewStagedPairs(int count);

// The journal's path and its committed twin: the settings file's path with
// platform::kJournalSuffix or platform::kCommittedJournalSuffix.
TextString CopyJournalPath(bool committed);

// Writes the journal of `pairs` (flushed) to `path` (CopyJournalPath(false)).
// False, with nothing left, when it cannot be written.
bool WriteCopyJournal(const StagedPair* pairs, int count, const char* path);

// Undoes whatever of the swaps of `pairs` happened, the last first, and
// removes the staged files (platform::RestoreStaged): true when every pair
// is as before, `*restored` the number whose old file (or absence) was
// put back. A pair that could not be put back is logged.
bool RestorePairs(const StagedPair* pairs, int count, int* restored);

// Removes the staged files (`role` kStagedCopy: nothing was swapped) or the
// backups (kStagedBackup: every pair was) of `pairs` where they exist:
// true when none is left (a file that stays is logged).
bool RemoveStagedFiles(const StagedPair* pairs, int count,
                       platform::StagedRole role);

// At the start of a run, once it is the only run from this folder: a
// journal left by a killed run is acted on and logged (its swaps rolled
// back; after a commit, its backups removed) and then removed. False after
// MSG_JOURNAL_UNUSABLE when one cannot be read or acted on: it is kept,
// nothing it did not create is deleted, and the run stops.
bool FinishInterruptedCopy();

#endif  // UPDATER_COMMANDS_COPY_JOURNAL_H_
