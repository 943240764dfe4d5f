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
// the one before. True when any pass changed the text.
bool ExpandValue(TextString& text);
bool ExpandValue(TextString& text, bool* limited);

// "<name>" groups replaced by symbol values: one turn per group the text had
// before the pass.
bool ExpandSymbols(TextString& text);
bool ExpandSymbols(TextString& text, bool* limited);

// "{?App\prog}" and "{?AppPath\prog}" groups replaced by App Paths values.
// The pass goes on after each inserted value: braces inside it are text.
bool ExpandAppPaths(TextString& text);
bool ExpandAppPaths(TextString& text, bool* limited);

// "\.." steps folded with the step before them.
bool FoldParentDirs(TextString& text);

#endif  // UPDATER_SETTINGS_EXPANSION_H_
