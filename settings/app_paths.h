// Where other programs are installed, as the App Paths key records it.
#ifndef UPDATER_SETTINGS_APP_PATHS_H_
#define UPDATER_SETTINGS_APP_PATHS_H_

#include "base/text_string.h"
#include "platform/platform.h"

// The key under HKEY_LOCAL_MACHINE that records, per program file name, its
// full path (the default value) and its folder list ("PATH").
const char kAppPathsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// One registry key, opened only for the duration of a read. A failed Open or
// query leaves `out` untouched and the key closed.
class RegistryKey {
 public:
  RegistryKey(platform::RegistryRoot root, const char* subKey);
  ~RegistryKey();

  bool Open(unsigned access);
  void Close();
  unsigned QueryValueSize(const char* name);
  bool QueryValue(const char* name, TextString* out);
  // Open(access), QueryValue, Close.
  bool ReadString(const char* name, TextString* out, unsigned access);

 private:
  RegistryKey(const RegistryKey&);
  RegistryKey& operator=(const RegistryKey&);

  platform::RegistryRoot root_;
  TextString subKey_;
  platform::ScopedRegistryKey handle_;
};

// The default value (`wantDefault`) or the "PATH" value of the program's
// App Paths key under HKEY_LOCAL_MACHINE. False, without a message, when
// the key or the value is missing.
bool AppPathLookup(const char* program, TextString* out, bool wantDefault);

#endif  // UPDATER_SETTINGS_APP_PATHS_H_
