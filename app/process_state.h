// Process-wide texts of the updater. Each is created empty before the entry
// point runs and lives until the process ends.
#ifndef UPDATER_APP_PROCESS_STATE_H_
#define UPDATER_APP_PROCESS_STATE_H_

#include "base/text_string.h"

// The command line after the program's own name and the blanks after it.
extern TextString CommandLineText;
// Caption of every message box, read each time a box is shown.
extern TextString AppCaption;
// Full path of the running executable.
extern TextString ModulePath;
// Full path of the settings file; every settings read uses it.
extern TextString SettingsPath;
// [UPDATER] NAME and PROC.
extern TextString UpdaterName;
extern TextString UpdaterProc;

// The caption when the command line gives none, in code page 932.
extern const char DefaultCaption[];

#endif  // UPDATER_APP_PROCESS_STATE_H_
