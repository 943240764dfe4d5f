#include "commands/file_in_use.h"

#include "base/text_string.h"
#include "platform/platform.h"
#include "settings/exit_code.h"
#include "settings/messages.h"
#include "settings/run_log.h"

namespace {

// Zeroed globals, "not set" meaning the default: an initialised one would
// cost the executable a data section of its own.
bool g_waitSet;
unsigned g_waitSeconds;

unsigned WaitSeconds() { return g_waitSet ? g_waitSeconds : kDefaultInUseWait; }

enum RetryResult { kRetryDone, kRetryFailed, kRetryStillHeld };

void LogHolders(const char* path, const TextString& what) {
  if (!RunLogIsOpen()) return;
  TextString names;
  TextString line(path);
  line.Add(" ").Add(what).Add(", held by ");
  line.Add(HolderNames(path, &names) ? names.Text()
                                     : "a program the system does not name");
  LogText(line);
}

// One more try after a pause; `number` counts the retries, of `of` (0 when
// the count is open).
RetryResult RetryOnce(const char* path, FileAttempt attempt,
                      const void* operation, unsigned number, unsigned of,
                      unsigned pause) {
  if (of != 0) {
    LogFormat("%s is in use: retry %u of %u in %u ms", path, number, of, pause);
  } else {
    LogFormat("%s is in use: retry %u in %u ms", path, number, pause);
  }
  platform::Pause(pause);
  if (attempt(operation)) return kRetryDone;
  return platform::FailedBecauseInUse(path, platform::LastErrorCode())
             ? kRetryStillHeld
             : kRetryFailed;
}

InUseOutcome Ended(RetryResult result) {
  return result == kRetryDone ? kInUseDone : kInUseFailed;
}

// Asks the user to close the holding programs: true for Retry. A box that
// cannot be shown counts as Cancel, so that nothing waits for ever.
bool AskToRetry(const char* path) {
  TextString names;
  TextString text;
  // Named first: the names are read only once they are there. The unnamed
  // message leaves them unread.
  const unsigned id =
      HolderNames(path, &names) ? MSG_FILE_IN_USE : MSG_FILE_IN_USE_UNNAMED;
  text.LoadFormat(id, path, names.Text());
  return ShowBox("in use", text.Text(),
                 platform::kMbRetryCancel | platform::kMbIconWarning) ==
         platform::kIdRetry;
}

InUseOutcome WaitSilently(const char* path, FileAttempt attempt,
                          const void* operation) {
  const unsigned start = platform::TickCount();
  const unsigned seconds = WaitSeconds();
  const unsigned wait = seconds * 1000;
  TextString what;
  what.Format("is in use: waiting up to %u s", seconds);
  LogHolders(path, what);
  // Retry n is due n intervals after the first try, whatever the tries
  // themselves take, so the wait ends on time and its count is fixed.
  for (unsigned number = 1; number * kRetryIntervalMs <= wait; ++number) {
    const unsigned due = number * kRetryIntervalMs;
    const unsigned waited = platform::TickCount() - start;
    const RetryResult result = RetryOnce(path, attempt, operation, number, 0,
                                         due > waited ? due - waited : 0);
    if (result != kRetryStillHeld) return Ended(result);
  }
  what.Format("stayed in use for %u s: giving up", seconds);
  LogHolders(path, what);
  StopRun(kExitFileInUse);
  return kInUseGivenUp;
}

}  // namespace

bool HolderNames(const char* path, TextString* names) {
  platform::FileHolder holders[kMostHoldersNamed];
  unsigned count = 0;
  names->Set("");
  if (platform::FileHolders(path, holders, kMostHoldersNamed, &count) !=
      platform::kHoldersListed) {
    return false;
  }
  for (unsigned i = 0; i < count; ++i) {
    TextString one;
    one.Format("%s%s (PID %u)", i ? ", " : "", holders[i].name,
               holders[i].processId);
    names->Add(one);
  }
  return count != 0;
}

// "<path> <what>, held by <names>".

void SetInUseWait(unsigned seconds) {
  g_waitSeconds = seconds < kLongestInUseWait ? seconds : kLongestInUseWait;
  g_waitSet = true;
}

InUseOutcome TryWhileInUse(const char* path, FileAttempt attempt,
                           const void* operation) {
  if (attempt(operation)) return kInUseDone;
  if (!platform::FailedBecauseInUse(path, platform::LastErrorCode()))
    return kInUseFailed;
  if (SilentMode()) return WaitSilently(path, attempt, operation);
  for (;;) {
    for (unsigned number = 1; number <= kQuietRetries; ++number) {
      const RetryResult result = RetryOnce(path, attempt, operation, number,
                                           kQuietRetries, kRetryIntervalMs);
      if (result != kRetryStillHeld) return Ended(result);
    }
    if (!AskToRetry(path)) break;
  }
  LogFormat("%s stayed in use: cancelled", path);
  return kInUseGivenUp;
}

ItemOutcome ItemOutcomeOf(InUseOutcome outcome) {
  return outcome == kInUseDone     ? kItemDone
         : outcome == kInUseFailed ? kItemFailed
                                   : kItemStopped;
}
