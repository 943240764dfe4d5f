// The log of a run (/LOG): one line per event, in UTF-8, each beginning with
// the local time and the process id, so that runs sharing one file stay
// apart. While no log is open every call here does nothing; a log that
// cannot be opened or written changes nothing else about the run.
#ifndef UPDATER_SETTINGS_RUN_LOG_H_
#define UPDATER_SETTINGS_RUN_LOG_H_

#include "base/text_string.h"

// Opens `path` for appending: an existing file is kept, and other runs may
// write to it at the same time. A new file starts with the UTF-8 byte-order
// mark. False when it cannot be opened.
bool OpenRunLog(const char* path);

// Opens a new file "<stem> <yyyy-mm-dd> #<nnn>.log" in the user's temporary
// folder, nnn the first number from 001 to 999 whose file does not exist
// yet; an existing file is never opened. False when none can be made.
bool OpenNewRunLog(const char* stem);

bool RunLogIsOpen();
void CloseRunLog();

// Writes one line: `text`, in the ANSI code page, converted to UTF-8, each
// character on its own. So that every event stays on one line and every
// byte is visible and reads back one way only, line feeds, carriage returns
// and tabs are written as \n, \r and \t, a backslash as \\, and any other
// control character (below 0x20, and 0x7F) and any byte that is no
// character of the code page as \xNN, in upper-case hexadecimal.
void LogText(const TextString& text);

// LogText of a printf-style text (cut at 1023 bytes).
void LogFormat(const char* format, ...);

// "error <code>: <the system's text>" (an HRESULT's code in hexadecimal).
TextString DescribeError(unsigned code);

// A file operation and its outcome: "<what> <path>: done", or with a second
// path "<what> <path> -> <second>: done"; on failure "failed, error <code>:
// <the system's text>", the code kept by the platform layer for the call
// that failed. `second` may be null.
void LogFileOperation(bool done, const char* what, const char* path,
                      const char* second);

// LogFileOperation(false, what, path, 0): a failed operation on one path.
void LogFailedOperation(const char* what, const char* path);

#endif  // UPDATER_SETTINGS_RUN_LOG_H_
