// Where other programs are installed, as the App Paths key records it.
#ifndef UPDATER_SETTINGS_APP_PATHS_H_
#define UPDATER_SETTINGS_APP_PATHS_H_

#include "base/text_string.h"
#include "platform/platform.h"

// One registry key, opened only for the duration of a read.
class RegistryKey {
 public:
  RegistryKey(platform::RegistryRoot root, const char* subKey);
  virtual ~RegistryKey();

  bool Open(unsigned access);
  void Close();
  unsigned QueryValueSize(const char* name);
  bool QueryValue(const char* name, TextString& out);
  // Open(access), QueryValue, Close.
  bool ReadString(const char* name, TextString& out, unsigned access);

 private:
  RegistryKey(const RegistryKey&);
  RegistryKey& operator=(const RegistryKey&);

  platform::RegistryRoot root;
  TextString subKey;
  platform::RegistryHandle handle;
};

extern const char kAppPathsKey[];

// The default value (`wantDefault`) or the "PATH" value of the program's
// App Paths key under HKEY_LOCAL_MACHINE. False, without a message, when
// the key or the value is missing.
bool AppPathLookup(const char* program, TextString& out, bool wantDefault);

#endif  // UPDATER_SETTINGS_APP_PATHS_H_
