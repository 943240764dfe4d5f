// Read-only registry access over the fake HKEY_LOCAL_MACHINE, with the two
// views a 32-bit program sees on a 64-bit system.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "platform/platform.h"
#include "tests/fake/fake_state.h"
#include "tests/fake/fake_world.h"

namespace {

using fake::internal::RegistryKeyData;
using fake::internal::TheWorld;
using fake::internal::Upper;

struct OpenKey {
  int view;
  std::string key;
};

// Key paths compare without regard to case; a trailing backslash is
// ignored.
std::string NormalKey(const std::string& path) {
  size_t end = path.size();
  while (end > 0 && path[end - 1] == '\\') --end;
  return Upper(path.substr(0, end));
}

bool KeyExists(int view, const std::string& key) {
  const std::map<std::string, RegistryKeyData>& keys = TheWorld().registry[view];
  if (key.empty()) return true;  // the root itself
  for (std::map<std::string, RegistryKeyData>::const_iterator it = keys.begin();
       it != keys.end(); ++it) {
    if (it->first == key ||
        (it->first.size() > key.size() &&
         it->first.compare(0, key.size(), key) == 0 &&
         it->first[key.size()] == '\\')) {
      return true;  // the key, or a key below it, was created
    }
  }
  return false;
}

}  // namespace

namespace platform {

bool RegistryOpen(RegistryRoot root, const char* subKey, unsigned access,
                  RegistryHandle* handle) {
  if (root != kLocalMachine) return false;
  int view = (access & kKeyWow64_64Key)   ? fake::kView64
             : (access & kKeyWow64_32Key) ? fake::kView32
             : TheWorld().processBits == 64 ? fake::kView64
                                            : fake::kView32;
  std::string key = NormalKey(subKey != NULL ? subKey : "");
  // A path may not start with a backslash.
  if ((subKey != NULL && subKey[0] == '\\') || !KeyExists(view, key)) {
    return false;
  }
  OpenKey* open = new OpenKey;
  open->view = view;
  open->key = key;
  TheWorld().openRegistryHandles.insert(open);
  *handle = reinterpret_cast<RegistryHandle>(open);
  return true;
}

bool RegistryQuery(RegistryHandle handle, const char* name,
                   unsigned char* data, unsigned* size) {
  const OpenKey* open = reinterpret_cast<const OpenKey*>(handle);
  if (TheWorld().openRegistryHandles.count(open) == 0) return false;
  std::map<std::string, RegistryKeyData>& keys = TheWorld().registry[open->view];
  std::map<std::string, RegistryKeyData>::const_iterator key =
      keys.find(open->key);
  if (key == keys.end()) return false;
  std::map<std::string, std::string>::const_iterator value =
      key->second.values.find(Upper(name != NULL ? name : ""));
  if (value == key->second.values.end()) return false;
  unsigned needed = static_cast<unsigned>(value->second.size());
  if (data != NULL && *size < needed) {
    *size = needed;  // ERROR_MORE_DATA: the size needed comes back
    return false;
  }
  if (data != NULL) {
    memcpy(data, value->second.data(), needed);
    // A string stored without its terminating zero gets one when the
    // buffer has room for it (the size reported leaves it out).
    if (needed > 0 && needed < *size && data[needed - 1] != '\0') {
      data[needed] = '\0';
    }
  }
  *size = needed;
  return true;
}

unsigned OtherRegistryView() {
  return TheWorld().processBits == 64 ? kKeyWow64_32Key : kKeyWow64_64Key;
}

void RegistryClose(RegistryHandle handle) {
  const OpenKey* open = reinterpret_cast<const OpenKey*>(handle);
  if (TheWorld().openRegistryHandles.erase(open) == 0) {
    fprintf(stderr, "fake platform: RegistryClose of a handle not open\n");
    abort();
  }
  delete open;
}

}  // namespace platform

namespace fake {

void SetRegistryValue(RegistryView view, const std::string& key,
                      const std::string& name, const std::string& bytes) {
  TheWorld().registry[view][NormalKey(key)].values[Upper(name)] = bytes;
}

void SetRegistryString(RegistryView view, const std::string& key,
                       const std::string& name, const std::string& text) {
  SetRegistryValue(view, key, name, text + std::string(1, '\0'));
}

void AddRegistryKey(RegistryView view, const std::string& key) {
  TheWorld().registry[view][NormalKey(key)];
}

void SetProcessBits(int bits) { TheWorld().processBits = bits; }

int OpenRegistryHandleCount() {
  return static_cast<int>(TheWorld().openRegistryHandles.size());
}

}  // namespace fake
