#include "settings/app_paths.h"

#include <climits>
#include <cstddef>

const char kAppPathsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

RegistryKey::RegistryKey(platform::RegistryRoot keyRoot, const char* keyPath)
    : root(keyRoot), subKey(keyPath), handle(NULL) {}

RegistryKey::~RegistryKey() { Close(); }

bool RegistryKey::Open(unsigned access) {
  Close();
  if (root == platform::kNoRoot) return false;
  platform::RegistryHandle opened = NULL;
  if (!platform::RegistryOpen(root, subKey.Text(), access, &opened)) {
    return false;
  }
  handle = opened;
  return true;
}

void RegistryKey::Close() {
  if (handle == NULL) return;
  platform::RegistryClose(handle);
  handle = NULL;
}

unsigned RegistryKey::QueryValueSize(const char* name) {
  if (handle == NULL) return 0;
  unsigned size = 0;
  // A missing value reports no size, whatever the call left in `size`.
  if (!platform::RegistryQuery(handle, name, NULL, &size)) return 0;
  return size;
}

bool RegistryKey::QueryValue(const char* name, TextString& out) {
  unsigned size = QueryValueSize(name);
  if (size == 0 || handle == NULL) return false;
  if (size >= static_cast<unsigned>(INT_MAX)) return false;
  // One byte more than the value needs, zero-filled and never handed to the
  // call: a string stored without its terminating zero still ends here.
  if (!out.Reserve(static_cast<int>(size) + 1)) return false;
  return platform::RegistryQuery(
      handle, name, reinterpret_cast<unsigned char*>(out.Buffer()), &size);
}

bool RegistryKey::ReadString(const char* name, TextString& out,
                             unsigned access) {
  bool read = Open(access) && QueryValue(name, out);
  Close();
  return read;
}

bool AppPathLookup(const char* program, TextString& out, bool wantDefault) {
  TextString path(kAppPathsKey);
  path.Add(program);
  RegistryKey key(platform::kLocalMachine, path.Text());
  const char* valueName = wantDefault ? "" : "PATH";

  if (key.Open(platform::kKeyRead)) {
    bool read = key.QueryValue(valueName, out);
    key.Close();
    return read;
  }
  // A 32-bit process sees HKLM\Software through the 32-bit view, where the
  // installs of 64-bit programs are not recorded, and a 64-bit process the
  // reverse. Only a key missing from the native view sends us to the other
  // one (ignored by 32-bit Windows); a key found there without the value is
  // the answer.
  return key.ReadString(valueName, out,
                        platform::kKeyRead | platform::OtherRegistryView());
}
