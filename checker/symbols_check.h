// The symbol table as the updater builds it, and the checks of [DEFINE].
#ifndef UPDATER_CHECKER_SYMBOLS_CHECK_H_
#define UPDATER_CHECKER_SYMBOLS_CHECK_H_

#include <string>

#include "checker/context.h"

namespace checker {

// Fills the process-wide symbol table through LoadSymbolTable, as start-up
// does. With `here`, the built-ins are this PC's folders and <Src> the
// settings file's folder (the updater's, once it stands next to it),
// through start-up's own code; else they stand for typical folders, so that
// the result does not depend on the PC the check runs on: <Win> C:\Windows,
// <Sys> C:\Windows\system32, <Src> C:\Src, <Desktop> C:\Users\Public\Desktop,
// <Programs> C:\ProgramData\Microsoft\Windows\Start Menu\Programs. False
// after the message start-up would show: the updater then stops before
// anything runs.
bool DefineSymbols(bool here, const std::string& settingsPath);

// [DEFINE] entries named without angle brackets or like a built-in, and
// references to themselves, to later entries whose values still hold
// references, and to no symbol at all; App Paths groups written wrongly;
// entries that cannot be expanded whole.
void CheckDefine(const Context& context);

// The markup of one value: App Paths groups written wrongly in `raw` (as
// written) and references that stay in `expanded` (as loaded). In a `text`
// (a caption, a box text, parameters) markup may be meant literally, so it
// is a warning there.
void CheckMarkup(const Context& context, const std::string& section,
                 const std::string& key, const std::string& raw,
                 const std::string& expanded, bool text);

}  // namespace checker

#endif  // UPDATER_CHECKER_SYMBOLS_CHECK_H_
