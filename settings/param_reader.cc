#include "settings/param_reader.h"

#include "settings/expansion.h"
#include "settings/messages.h"
#include "settings/settings_reader.h"

TextString SettingsPath;

bool ReadParam(const char* section, const char* key, TextString& out) {
  if (!ReadSettingString(SettingsPath.Text(), section, key, out)) {
    ShowError(MSG_BAD_FORMAT, section, key);
    return false;
  }
  // Whether anything was expanded does not matter to the reader.
  ExpandValue(out);
  return true;
}

bool ReadIntParam(const char* section, const char* key, int& out) {
  // Integers are taken as written: no symbols, no App Paths.
  if (!ReadSettingInt(SettingsPath.Text(), section, key, out)) {
    ShowError(MSG_BAD_FORMAT, section, key);
    return false;
  }
  return true;
}
