// Files another program holds. The procedures that change files (COPY,
// DELETE, ATTR) run each file operation through here: a file that is held
// is tried again quietly for a few seconds, then the user is asked to close
// the program and retry; a silent run waits up to /WAIT seconds instead and
// then ends with its own exit code. Nobody's program is ever closed.
#ifndef UPDATER_COMMANDS_FILE_IN_USE_H_
#define UPDATER_COMMANDS_FILE_IN_USE_H_

#include "base/text_string.h"
#include "commands/kind_table.h"

// Retries before the box: five, one second apart, about five seconds in
// all, which outlasts a scanner's or an indexer's look at a new file and a
// program that is closing, while a user who watches waits little.
const unsigned kQuietRetries = 5;
const unsigned kRetryIntervalMs = 1000;

// How long a silent run waits for a held file, in seconds (/WAIT=seconds);
// kDefaultInUseWait until set. Process-wide.
const unsigned kDefaultInUseWait = 60;
const unsigned kLongestInUseWait = 86400;  // a day: the most /WAIT takes
void SetInUseWait(unsigned seconds);

// One try of a file operation: true when it was done. It logs itself; on
// failure the platform's LastErrorCode() says why. `operation` is what the
// caller handed to TryWhileInUse.
typedef bool (*FileAttempt)(const void* operation);

enum InUseOutcome {
  kInUseDone,    // done, at once or after retries
  kInUseFailed,  // failed for another reason than a holder: the caller
                 // reports it as it always has
  kInUseGivenUp  // the file stayed held: the user chose Cancel (the run
                 // stops as for a failure) or a silent wait ran out (the
                 // run stops with kExitFileInUse); the box or the log has
                 // said so, so no other message follows
};

// Runs `attempt` on `path`, the file it changes, until it is done or fails
// for another reason than another program holding `path`
// (platform::FailedBecauseInUse). While it is held: kQuietRetries retries
// kRetryIntervalMs apart, each logged, then a box naming the file and the
// programs that hold it with Retry (the quiet retries again) and Cancel. In
// silent mode no box: retries a second apart until the /WAIT time has
// passed since the first failure, the holders logged at the start and the
// end of the wait. The same steps serve any check that must wait for a
// file, `attempt` then being the check.
InUseOutcome TryWhileInUse(const char* path, FileAttempt attempt,
                           const void* operation);

// The most holders a box, a log line or a finding names.
const unsigned kMostHoldersNamed = 8;

// The programs holding `path` as the system names them, "tool.exe (PID
// 120), setup.exe (PID 96)", at most kMostHoldersNamed: false, `names`
// empty, when it names nobody or cannot tell (platform::FileHolders).
bool HolderNames(const char* path, TextString* names);

// What an item walk makes of it: done, the kind's failure message, or a
// stop without another message.
ItemOutcome ItemOutcomeOf(InUseOutcome outcome);

#endif  // UPDATER_COMMANDS_FILE_IN_USE_H_
