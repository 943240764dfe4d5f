#include "settings/app_paths.h"

#include <climits>

RegistryKey::RegistryKey(platform::RegistryRoot root, const char* subKey)
    : root_(root), subKey_(subKey) {}

RegistryKey::~RegistryKey() {}

bool RegistryKey::Open(unsigned access) {
  Close();
  if (root_ == platform::kNoRoot) return false;
  platform::RegistryHandle opened = 0;
  if (!platform::RegistryOpen(root_, subKey_.Text(), access, &opened)) {
    return false;
  }
  handle_.Reset(opened);
  return true;
}

void RegistryKey::Close() { handle_.Reset(); }

unsigned RegistryKey::QueryValueSize(const char* name) {
  if (!handle_.valid()) return 0;
  unsigned size = 0;
  // A missing value reports no size, whatever the call left in `size`.
  if (!platform::RegistryQuery(handle_.get(), name, 0, &size)) return 0;
  return size;
}

bool RegistryKey::QueryValue(const char* name, TextString* out) {
  unsigned size = QueryValueSize(name);
  if (size == 0) return false;
  if (size >= static_cast<unsigned>(INT_MAX)) return false;
  // One byte more than the value needs, zero-filled and never handed to the
  // call: a string stored without its terminating zero still ends here.
  TextString value;
  if (!value.Reserve(static_cast<int>(size) + 1)) return false;
  if (!platform::RegistryQuery(handle_.get(), name,
                               reinterpret_cast<unsigned char*>(value.Buffer()),
                               &size)) {
    return false;
  }
  out->Set(value);
  return true;
}

bool RegistryKey::ReadString(const char* name, TextString* out,
                             unsigned access) {
  bool read = Open(access) && QueryValue(name, out);
  Close();
  return read;
}

bool AppPathLookup(const char* program, TextString* out, bool wantDefault) {
  TextString path(kAppPathsKey);
  path.Add(program);
  RegistryKey key(platform::kLocalMachine, path.Text());
  const char* valueName = wantDefault ? "" : "PATH";

  // A 32-bit process sees HKLM\Software through the 32-bit view, where the
  // installs of 64-bit programs are not recorded, and a 64-bit process the
  // reverse. Only a key missing from the native view sends us to the other
  // one (ignored by 32-bit Windows); a key found there without the value is
  // the answer.
  const bool read =
      (key.Open(platform::kKeyRead) ||
       key.Open(platform::kKeyRead | platform::OtherRegistryView())) &&
      key.QueryValue(valueName, out);
  key.Close();
  return read;
}
