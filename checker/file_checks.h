// Checks of the file as a whole and of its lines, before any value is read.
#ifndef UPDATER_CHECKER_FILE_CHECKS_H_
#define UPDATER_CHECKER_FILE_CHECKS_H_

#include <string>

#include "checker/findings.h"
#include "checker/settings_text.h"

namespace checker {

// The encoding: the updater reads the file as code page 932, or as UTF-8
// when it starts with the UTF-8 byte-order mark (platform/settings_bytes.h).
// A UTF-16 (or binary) file is reported, and false returned: nothing else
// of it is checked. Lines that are not valid code page 932, or that are
// UTF-8 without the mark, are reported; so are the lines of a UTF-8 file
// holding characters code page 932 lacks. The check goes on.
bool CheckEncoding(const std::string& bytes, Findings& findings);

// The settings text the updater makes of a file's bytes.
std::string SettingsTextOf(const std::string& bytes);

// Text before the first header, "[" lines without "]", duplicate sections
// and duplicate keys.
void CheckLines(const SettingsText& text, Findings& findings);

}  // namespace checker

#endif  // UPDATER_CHECKER_FILE_CHECKS_H_
