// The three passes that resolve the markup of a settings value.
#ifndef UPDATER_SETTINGS_EXPANSION_H_
#define UPDATER_SETTINGS_EXPANSION_H_

#include "base/text_string.h"

// The longest text a pass may make of a text of `length` bytes: 8 KiB, or
// eight times the text for a longer one (a long list whose items each start
// with a symbol). Only pathological settings files (symbols that double one
// another) come near it: a replacement that would pass it is not made, and
// that markup stays as written, as any markup that cannot be resolved does.
// No path or command line can use more.
const int kMaxExpandedLength = 8192;
int ExpansionLimit(int length);

// What a pass, or the three of them, did to a text; each outweighs the ones
// before it.
enum ExpansionResult {
  kExpansionUnchanged,  // nothing replaced
  kExpansionChanged,    // markup replaced, every piece that could be
  // Some markup could not be expanded whole (its value would pass the limit
  // or refers to a cut symbol, or memory ran out): it stays as written, and
  // the text must not be used. Other markup may have been replaced.
  kExpansionNotWhole
};

// Symbols, then App Paths groups, then parent steps, each on the result of
// the one before; kExpansionNotWhole when any pass gives it, else
// kExpansionChanged when any pass changed the text. Each pass is linear in
// the text it makes (symbol lookups take constant time).
ExpansionResult ExpandValue(TextString* text);

// "<name>" groups replaced by symbol values: one turn per group the text had
// before the pass. A reference to a symbol that could not be expanded whole
// (symbol_table.h) stays as written, as a replacement past the limit does.
ExpansionResult ExpandSymbols(TextString* text);

// "{?App\prog}" and "{?AppPath\prog}" groups replaced by App Paths values.
// The pass goes on after each inserted value: braces inside it are text.
ExpansionResult ExpandAppPaths(TextString* text);

// "\.." steps folded with the step before them.
ExpansionResult FoldParentDirs(TextString* text);

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
