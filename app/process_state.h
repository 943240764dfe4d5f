// Process-wide texts of start-up. Each is created empty before the entry
// point runs and lives until the process ends. The caption and the settings
// path live with the layer that reads them (settings/messages.h,
// settings/param_reader.h), the symbols in settings/symbol_table.h.
#ifndef UPDATER_APP_PROCESS_STATE_H_
#define UPDATER_APP_PROCESS_STATE_H_

#include "base/text_string.h"

// The command line after the program's own name and the blanks after it.
extern TextString& CommandLineText;
// Full path of the running executable.
extern TextString& ModulePath;
// [UPDATER] NAME and PROC.
extern TextString& UpdaterName;
extern TextString& UpdaterProc;

// The caption when the command line gives none, in code page 932.
extern const char DefaultCaption[];

// Every process-wide value of every layer back to its state before the
// entry point ran, loaded lists released: what a test starts from.
void ResetProcessState();

#endif  // UPDATER_APP_PROCESS_STATE_H_
