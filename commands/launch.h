// LAUNCH: starts programs one after the other, waiting after each until it
// has ended (ISWAIT not 0) or is ready for input (ISWAIT 0).
#ifndef UPDATER_COMMANDS_LAUNCH_H_
#define UPDATER_COMMANDS_LAUNCH_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

struct LAUNCH_INFO : ProcRecord {
  // An ISWAIT value that does not begin with a number leaves this start
  // value: waiting for the end is the safe reading, so that no later
  // procedure runs while an installer may still be working.
  LAUNCH_INFO() : ISWAIT(1) {}

  TextString FILE;   // program paths, each with its folder
  TextString PARAM;  // parameter text per program
  int ISWAIT;        // 0: until ready for input; otherwise until it ends
  // Read only where ISWAIT waits for the end, both optional: the exit codes
  // that count as success (none listed: every code does) and those that
  // count as success needing a restart (commands/exit_code_list.h).
  TextString SUCCESS;
  TextString RESTART;
};

ProcRecord* LoadLaunch(const char* name);
bool RunLaunch(ProcRecord* record);

// Starts `path` with `params` in the folder that holds it and waits as
// `wait` says. False when the path has no folder, the program could not be
// started or the wait broke. Shows no message. After a wait for the end
// (`wait` not 0) `exitCode` (may be null) gets the program's exit code.
bool LaunchProcess(const char* path, const char* params, int wait,
                   unsigned* exitCode);

#endif  // UPDATER_COMMANDS_LAUNCH_H_
