#include "commands/copy_journal.h"

#include <string.h>

#include <new>

#include "platform/compiler.h"
#include "platform/platform.h"
#include "platform/staged_names.h"
#include "settings/messages.h"
#include "settings/param_reader.h"
#include "settings/run_log.h"

// The journal is text in code page 932, one line per destination after a
// header, and an end line that tells a whole journal from a cut one:
//   updater copy journal
//   R 03af C:\app\a.dll      (R: replaces a file; N: a new one; the number;
//                            the full path, the name as stored)
//   end
namespace {

const char kHeader[] = "updater copy journal\n";
const char kEnd[] = "end\n";
const char kLastLines[] = "\nend\n";  // the end line and the line feed before
const unsigned kLongestJournal = 16 * 1024 * 1024;

// The pairs of a journal's text (sources are not kept): false when it is
// not one whole journal.
bool ParseJournal(const char* text, platform::HeapArray<StagedPair>* pairs,
                  int* count) {
  // The header, the pairs, the end line, each ended by a line feed (the
  // header's may be the one before the end line).
  const size_t length = strlen(text);
  if (length < sizeof kHeader - 1 + sizeof kEnd - 1 ||
      memcmp(text, kHeader, sizeof kHeader - 1) != 0 ||
      strcmp(text + length - (sizeof kLastLines - 1), kLastLines) != 0) {
    return false;
  }
  *count = -2;
  for (const char* at = text; *at != '\0'; ++at) *count += *at == '\n';
  pairs->Reset(NewStagedPairs(*count + 1));
  if (!pairs->valid()) return false;
  const char* line = text + sizeof kHeader - 1;
  for (int i = 0; i < *count; ++i) {
    StagedPair& pair = (*pairs)[i];
    const char* end = line;
    while (*end != '\n') ++end;
    if (end - line < 8 || (line[0] != 'R' && line[0] != 'N') ||
        line[1] != ' ' || !platform::ReadStagedNumber(line + 2, &pair.number) ||
        line[6] != ' ') {
      return false;
    }
    pair.wasNew = line[0] == 'N';
    pair.target = TextOfSpan(line + 7, end - 1);  // up to the last
    line = end + 1;
  }
  return true;
}

bool ReadJournal(const char* path, platform::HeapArray<StagedPair>* pairs,
                 int* count) {
  platform::HeapArray<char> bytes;
  unsigned size = 0;
  return platform::ReadWholeFile(path, kLongestJournal, &bytes, &size) &&
         ParseJournal(bytes.get(), pairs, count);
}

// The journal could not be acted on: it stays for the next start, and the
// user is told where it is.
bool Unusable(const TextString& path) {
  ShowError(MSG_JOURNAL_UNUSABLE, path.Text());
  return false;
}

}  // namespace

// Out of line: the array's construction loop is needed by the journal and
// by the copy's plan.
UPDATER_NOINLINE StagedPair* NewStagedPairs(int count) {
  return new (std::nothrow) StagedPair[count];
}

TextString CopyJournalPath(bool committed) {
  return SettingsPath.Concat(committed ? platform::kCommittedJournalSuffix
                                       : platform::kJournalSuffix);
}

bool WriteCopyJournal(const StagedPair* pairs, int count, const char* path) {
  TextString text(kHeader);
  for (int i = 0; i < count; ++i) {
    TextString line;
    line.Format("%c %04x ", pairs[i].wasNew ? 'N' : 'R', pairs[i].number);
    text.Add(line).Add(pairs[i].target).Add("\n");
  }
  text.Add(kEnd);
  const bool written = platform::WriteFileThrough(
      path, text.Text(), static_cast<unsigned>(text.Length()));
  if (written) return true;
  LogFailedOperation("write the journal", path);
  platform::RemoveFile(path);
  return false;
}

bool RestorePairs(const StagedPair* pairs, int count, int* restored) {
  bool whole = true;
  *restored = 0;
  for (int i = count - 1; i >= 0; --i) {
    const platform::RestoreResult result = platform::RestoreStaged(
        pairs[i].target.Text(), pairs[i].number, pairs[i].wasNew);
    if (result == platform::kRestored) ++*restored;
    if (result == platform::kRestoreFailed) {
      LogFailedOperation("put back", pairs[i].target.Text());
      whole = false;
    }
  }
  return whole;
}

bool RemoveStagedFiles(const StagedPair* pairs, int count,
                       platform::StagedRole role) {
  bool whole = true;
  for (int i = 0; i < count; ++i) {
    if (!platform::RemoveStaged(pairs[i].target.Text(), pairs[i].number,
                                role)) {
      LogFailedOperation("remove what was staged for", pairs[i].target.Text());
      whole = false;
    }
  }
  return whole;
}

bool FinishInterruptedCopy() {
  for (int committed = 0; committed < 2; ++committed) {
    const TextString path = CopyJournalPath(committed != 0);
    if (!platform::FileExists(path.Text())) continue;
    platform::HeapArray<StagedPair> pairs;
    int count = 0;
    // What could not be done to the journal itself; a pair that could not
    // be acted on is logged where it failed.
    const char* failure = "read the journal";
    if (ReadJournal(path.Text(), &pairs, &count)) {
      failure = 0;
      LogFormat(committed
                    ? "%s: a COPY of %d files cut off when done: removing "
                      "backups"
                    : "%s: a COPY of %d files was cut off: rolling back",
                path.Text(), count);
      int restored = 0;
      bool acted;
      if (committed) {
        acted = RemoveStagedFiles(pairs.get(), count, platform::kStagedBackup);
      } else {
        acted = RestorePairs(pairs.get(), count, &restored);
        if (acted)
          LogFormat("rolled back: restored %d of %d files", restored, count);
      }
      if (acted) {
        if (platform::RemoveFile(path.Text())) continue;
        failure = "remove the journal";
      }
    }
    if (failure) LogFailedOperation(failure, path.Text());
    return Unusable(path);
  }
  return true;
}
