// Reads the settings file through the private-profile functions. Every call
// goes to the file afresh; nothing is cached and nothing is reported here.
#ifndef UPDATER_SETTINGS_SETTINGS_READER_H_
#define UPDATER_SETTINGS_SETTINGS_READER_H_

#include "base/text_string.h"

// Value of a key read for "absent" when it equals this, in any letter case.
extern const char kNoDataSentinel[];

// True and `out` set to the value, read whole however long, when the key is
// present; false and `out` unchanged when absent or "NO_DATA", or when the
// value is too long for the profile functions' largest read (32767 bytes on
// the 95 family) or memory runs out: a value is never used in part.
bool ReadSettingString(const char* file, const char* section, const char* key,
                       TextString* out);

// As ReadSettingString, then the value's leading decimal number into `out`;
// a value that does not begin with a number leaves `out` as it was but still
// counts as present.
bool ReadSettingInt(const char* file, const char* section, const char* key,
                    int* out);

// Reads the whole section and appends its lines, comment lines (";" first)
// left out, to `target`, a line feed before each line when `target` is not
// empty: true with `*count` the number of lines appended (0 for a missing
// section). False, `*count` unchanged, for a section too large for the
// profile functions' largest read (`target` unchanged) or when memory runs
// out: a section is never used in part.
bool ReadSettingSection(const char* file, const char* section,
                        TextString* target, int* count);

#endif  // UPDATER_SETTINGS_SETTINGS_READER_H_
