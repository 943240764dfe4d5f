// Readers of required keys of the settings file: an absent key is reported
// with MSG_BAD_FORMAT naming the section and the key. An empty section name
// has no keys: it is reported so without reading the file.
#ifndef UPDATER_SETTINGS_PARAM_READER_H_
#define UPDATER_SETTINGS_PARAM_READER_H_

#include "base/text_string.h"

// Full path of the settings file; every read of it goes through this path.
// Process-wide: start-up sets it from the executable's own path.
extern TextString SettingsPath;

// True and `out` set to the expanded value when the key is present. False,
// `out` unchanged, after MSG_BAD_FORMAT naming the section and the key when
// it is absent or its value would grow past the expansion limit.
bool ReadParam(const char* section, const char* key, TextString* out);

// True when the key is present (and can be read whole); shows nothing.
bool ParamPresent(const char* section, const char* key);

// True when the key is present; `out` set when the value begins with a
// number. Not expanded.
bool ReadIntParam(const char* section, const char* key, int* out);

#endif  // UPDATER_SETTINGS_PARAM_READER_H_
