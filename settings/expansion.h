// The three passes that resolve the markup of a settings value.
#ifndef UPDATER_SETTINGS_EXPANSION_H_
#define UPDATER_SETTINGS_EXPANSION_H_

#include "base/text_string.h"

// The longest text a pass may make of a text of `length` bytes: 8 KiB, or
// eight times the text for a longer one (a long list whose items each start
// with a symbol). Only pathological settings files (symbols that double one
// another) come near it: a replacement that would pass it is not made, and
// that markup stays as written, as any markup that cannot be resolved does;
// `limited` (when given) is then set. No path or command line can use more.
const int kMaxExpandedLength = 8192;
int ExpansionLimit(int length);

// Symbols, then App Paths groups, then parent steps, each on the result of
// the one before. True when any pass changed the text. Each pass is linear in
// the text it makes (symbol lookups take constant time). A reference to a
// symbol that could not be expanded whole (symbol_table.h) stays as written
// and sets `limited`, as a replacement past the limit does.
bool ExpandValue(TextString* text);
bool ExpandValue(TextString* text, bool* limited);

// "<name>" groups replaced by symbol values: one turn per group the text had
// before the pass.
bool ExpandSymbols(TextString* text);
bool ExpandSymbols(TextString* text, bool* limited);

// "{?App\prog}" and "{?AppPath\prog}" groups replaced by App Paths values.
// The pass goes on after each inserted value: braces inside it are text.
bool ExpandAppPaths(TextString* text);
bool ExpandAppPaths(TextString* text, bool* limited);

// "\.." steps folded with the step before them.
bool FoldParentDirs(TextString* text);

// A group "{?App\prog}" or "{?AppPath\prog}" (braces stripped, the head
// compared without regard to case): true with the program (the text between
// the first and the second backslash, or to the end) and which value it
// asks for. False for any other group, which stays as written.
bool ParseAppPathsGroup(const TextString& group, TextString* program,
                        bool* wantDefault);

// The text an App Paths group stands for. False when the group is no App
// Paths group (a GUID in braces, say) or its program is not recorded.
bool ResolveAppPathsGroup(const TextString& group, TextString* out);

#endif  // UPDATER_SETTINGS_EXPANSION_H_
