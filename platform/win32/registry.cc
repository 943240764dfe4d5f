// Read-only registry access for the App Paths lookups. On the NT family the
// key and value names are converted from code page 932 and read with the
// wide-character calls, and string data is handed back in code page 932.
#include <windows.h>

#include <new>

#include "platform/compiler.h"
#include "platform/platform.h"
#include "platform/text_rules.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// RegQueryValueExW, its status kept when it fails.
UPDATER_NOINLINE bool QueryWide(HKEY key, const WCHAR* name, DWORD* type,
                                void* data, DWORD* size) {
  return win32::KeptStatus(
      RegQueryValueExW(key, name, NULL, type, static_cast<BYTE*>(data), size));
}

bool IsStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The code page 932 form of `units` UTF-16 units; 0 bytes for none. False
// (the error kept) when a character has no form there: a path is never
// handed on with a look-alike in it.
bool StringBytes(const WCHAR* units, int count, char* out, int room,
                 int* bytes) {
  *bytes = 0;
  if (count == 0) return true;
  BOOL defaulted = FALSE;
  *bytes = WideCharToMultiByte(win32::kSettingsCodePage, WC_NO_BEST_FIT_CHARS,
                               units, count, out, room, NULL, &defaulted);
  if (*bytes == 0) return win32::FailWithLastError();
  if (defaulted || (out != 0 && !IsValidText932(out, *bytes))) {
    return win32::Fail(ERROR_NO_UNICODE_TRANSLATION);
  }
  return true;
}

// A string value: read whole in UTF-16, handed back in code page 932 with
// RegQueryValueExA's size contract.
bool QueryString(HKEY key, const WCHAR* name, DWORD stored, unsigned char* data,
                 unsigned* size) {
  const DWORD units = (stored + 1) / 2;
  HeapArray<WCHAR> wide(new (std::nothrow) WCHAR[units + 1]);
  if (!wide.valid()) return win32::Fail(ERROR_NOT_ENOUGH_MEMORY);
  DWORD got = units * sizeof(WCHAR);
  if (!QueryWide(key, name, NULL, wide.get(), &got)) return false;
  const int count = static_cast<int>(got / sizeof(WCHAR));
  int needed = 0;
  if (!StringBytes(wide.get(), count, 0, 0, &needed)) return false;
  if (data == 0) {
    *size = static_cast<unsigned>(needed);
    return true;
  }
  if (*size < static_cast<unsigned>(needed)) {
    *size = static_cast<unsigned>(needed);
    return win32::Fail(ERROR_MORE_DATA);
  }
  char* const out = reinterpret_cast<char*>(data);
  int written = 0;
  if (!StringBytes(wide.get(), count, out, needed, &written)) return false;
  // Stored without its terminating zero: one is added where there is room.
  if (written > 0 && static_cast<unsigned>(written) < *size &&
      out[written - 1] != '\0') {
    out[written] = '\0';
  }
  *size = static_cast<unsigned>(written);
  return true;
}

}  // namespace

bool RegistryOpen(RegistryRoot root, const char* subKey, unsigned access,
                  RegistryHandle* handle) {
  if (root != kLocalMachine) return false;  // no other root is ever read
  HKEY key = NULL;
  LONG status;
  if (win32::UseWideCalls()) {
    const win32::WideText wide(subKey);
    if (!wide.valid()) return false;
    status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide.get(), 0, access, &key);
  } else {
    status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, access, &key);
  }
  if (!win32::KeptStatus(status)) return false;
  *handle = reinterpret_cast<RegistryHandle>(key);
  return true;
}

bool RegistryQuery(RegistryHandle handle, const char* name, unsigned char* data,
                   unsigned* size) {
  const HKEY key = reinterpret_cast<HKEY>(handle);
  if (!win32::UseWideCalls()) {
    DWORD length = *size;
    const LONG status = RegQueryValueExA(key, name, NULL, NULL, data, &length);
    *size = length;
    return win32::KeptStatus(status);
  }
  const win32::WideText wide(name);
  if (!wide.valid()) return false;
  DWORD type = 0;
  DWORD stored = 0;
  if (!QueryWide(key, wide.get(), &type, NULL, &stored)) return false;
  if (IsStringType(type))
    return QueryString(key, wide.get(), stored, data, size);
  if (data == 0) {
    *size = stored;
    return true;
  }
  DWORD length = *size;
  const bool read = QueryWide(key, wide.get(), NULL, data, &length);
  *size = length;
  return read;
}

unsigned OtherRegistryView() {
  return sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

void RegistryClose(RegistryHandle handle) {
  RegCloseKey(reinterpret_cast<HKEY>(handle));
}

}  // namespace platform
