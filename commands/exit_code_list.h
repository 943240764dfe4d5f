// The lists of exit codes that LAUNCH's SUCCESS and RESTART keys hold, and
// how a waited program's exit code is judged by them.
//
// Items are separated by "," and trimmed of blanks; an empty item is
// skipped, so a list of blanks and commas holds no code. An item is a
// decimal number from -2147483648 to 4294967295 or "0x" (any case) and one
// to eight hexadecimal digits. Windows hands an exit code out as an
// unsigned 32-bit number that tools print signed as often as not, so a
// negative number stands for its two's complement: 3221225477, -1073741819
// and 0xC0000005 are the same code.
#ifndef UPDATER_COMMANDS_EXIT_CODE_LIST_H_
#define UPDATER_COMMANDS_EXIT_CODE_LIST_H_

#include "base/text_string.h"

// True and `code` set when `item` (already trimmed) is an exit code as
// above; false, `code` unchanged, otherwise.
bool ParseExitCode(const TextString& item, unsigned* code);

// The first item of `list` that is no exit code, as written (trimmed);
// false when every item is one.
bool FindBadExitCode(const TextString& list, TextString* bad);

// Whether `list` holds at least one code.
bool HoldsExitCodes(const TextString& list);

// Whether `code` is one of the items of `list`.
bool ListsExitCode(const TextString& list, unsigned code);

// What a waited program's exit code means: a code in `restart` is a success
// that needs a restart; otherwise a `success` list that holds no code (the
// key absent or empty) takes every code as a success, and one that holds
// codes only those.
enum ExitCodeVerdict { kExitSucceeded, kExitNeedsRestart, kExitFailed };
ExitCodeVerdict JudgeExitCode(const TextString& success,
                              const TextString& restart, unsigned code);

#endif  // UPDATER_COMMANDS_EXIT_CODE_LIST_H_
