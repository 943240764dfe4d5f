// Start-up and shutdown of the updater process.
#ifndef UPDATER_APP_STARTUP_H_
#define UPDATER_APP_STARTUP_H_

#include "base/text_string.h"

// Everything that must succeed before any procedure runs: caption, module
// and settings paths, symbols, [UPDATER]. False after a message was shown.
bool Initialize(const char* commandLine);

// The caption word of the command line, without its surrounding double
// quotes. False, and `out` unchanged, when there is none or it is empty.
bool FirstArgument(const TextString& text, TextString* out);

// The symbol table from [DEFINE] and this system's five built-in symbols
// (LoadSymbolTable). False after MSG_BAD_FORMAT for "DEFINE" when the
// section cannot be read whole.
bool DefineBuiltinSymbols();

// Reads [UPDATER] NAME and PROC; false after the message for a missing key.
bool ReadUpdaterSection();

#endif  // UPDATER_APP_STARTUP_H_
