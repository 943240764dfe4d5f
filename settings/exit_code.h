// The exit codes of updater.exe, which tell the tools that start it how the
// run ended. The numbers are fixed: scripts depend on them.
#ifndef UPDATER_SETTINGS_EXIT_CODE_H_
#define UPDATER_SETTINGS_EXIT_CODE_H_

enum ExitCode {
  // Every procedure of the run ended normally.
  kExitDone = 0,
  // Start-up failed: the settings file is missing, [UPDATER] NAME or PROC
  // is missing, or PROC lists no procedure.
  kExitStartupFailed = 1,
  // A procedure list could not be loaded (an unknown MODE, a missing key, a
  // bad count), the [UPDATER] PROC list or a SWITCH branch list alike.
  kExitListNotLoaded = 2,
  // A procedure failed while running (a copy, a delete, a launch...).
  kExitProcedureFailed = 3,
  // A MSGBOX answer ended the run (ISABORT).
  kExitEndedByAnswer = 4,
  // Another run of an updater from the same folder is going on.
  kExitAlreadyRunning = 5,
  // In silent mode a file stayed in use by another program for the whole
  // wait (/WAIT); nothing of that file changed.
  kExitFileInUse = 6
};

// Told where the run stops, by whatever stops it (start-up, the driver, a
// procedure, an answer): the first cause told is the run's, since the run
// stops at its first error and those that pass the failure on only repeat
// it. Process-wide.
void StopRun(ExitCode cause);

// The cause the run was stopped for; kExitDone until one is told.
ExitCode StopCause();

// Forgets the cause and the restart, for a new run in the same process.
void ClearStopCause();

// Told by a program the run started that answered "a restart is needed".
// The run goes on; a run that ends normally then says so in its exit code
// when the command line asks for it. Process-wide.
void NoteRestartNeeded();
bool RestartNeeded();

#endif  // UPDATER_SETTINGS_EXIT_CODE_H_
