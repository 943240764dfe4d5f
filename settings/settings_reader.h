// Reads the settings file through the private-profile functions. Every call
// goes to the file afresh; nothing is cached and nothing is reported here.
#ifndef UPDATER_SETTINGS_SETTINGS_READER_H_
#define UPDATER_SETTINGS_SETTINGS_READER_H_

#include "base/text_string.h"

// Value of a key read for "absent" when it equals this, in any letter case.
extern const char kNoDataSentinel[];

// True and `out` set to the value (at most 258 characters) when the key is
// present; false and `out` unchanged when absent or "NO_DATA".
bool ReadSettingString(const char* file, const char* section, const char* key,
                       TextString& out);

// As ReadSettingString, then the value's leading decimal number into `out`;
// a value that does not begin with a number leaves `out` as it was but still
// counts as present.
bool ReadSettingInt(const char* file, const char* section, const char* key,
                    int& out);

// Appends the section's lines, comment lines (";" first) left out, to
// `target`, a line feed before each line when `target` is not empty. Returns
// the number of lines appended.
int ReadSettingSection(const char* file, const char* section,
                       TextString& target);

#endif  // UPDATER_SETTINGS_SETTINGS_READER_H_
