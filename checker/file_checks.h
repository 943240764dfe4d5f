// Checks of the file as a whole and of its lines, before any value is read.
#ifndef UPDATER_CHECKER_FILE_CHECKS_H_
#define UPDATER_CHECKER_FILE_CHECKS_H_

#include <string>

#include "checker/findings.h"
#include "checker/settings_text.h"

namespace checker {

// The encoding: the updater reads the file in the ANSI code page (932). A
// byte-order mark or a UTF-16 file is reported, and false returned: what
// Windows then reads differs from system to system, so nothing else of the
// file is checked. Lines that are not valid code page 932, or that are
// UTF-8, are reported; the check goes on.
bool CheckEncoding(const std::string& bytes, Findings* findings);

// Text before the first header, "[" lines without "]", duplicate sections
// and duplicate keys.
void CheckLines(const SettingsText& text, Findings* findings);

}  // namespace checker

#endif  // UPDATER_CHECKER_FILE_CHECKS_H_
