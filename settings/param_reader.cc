#include "settings/param_reader.h"

#include "settings/expansion.h"
#include "settings/messages.h"
#include "settings/settings_reader.h"

TextString SettingsPath;

namespace {

// An empty section name (an empty item of a PROC list) names no procedure.
// Wine's profile functions answer it with the lines before the first
// header, so it is never handed to them, on any system.
bool NamesSection(const char* section) { return section && *section; }

}  // namespace

bool ReadParam(const char* section, const char* key, TextString* out) {
  TextString value;
  if (!NamesSection(section) ||
      !ReadSettingString(SettingsPath.Text(), section, key, &value)) {
    ShowError(MSG_BAD_FORMAT, section, key);
    return false;
  }
  // Whether anything was expanded does not matter to the reader; a value
  // that could not be expanded whole must not be used in part.
  if (ExpandValue(&value) == kExpansionNotWhole) {
    ShowError(MSG_BAD_FORMAT, section, key);
    return false;
  }
  out->Set(value);
  return true;
}

bool ParamPresent(const char* section, const char* key) {
  TextString value;
  return NamesSection(section) &&
         ReadSettingString(SettingsPath.Text(), section, key, &value);
}

bool ReadIntParam(const char* section, const char* key, int* out) {
  // Integers are taken as written: no symbols, no App Paths.
  if (!NamesSection(section) ||
      !ReadSettingInt(SettingsPath.Text(), section, key, out)) {
    ShowError(MSG_BAD_FORMAT, section, key);
    return false;
  }
  return true;
}
