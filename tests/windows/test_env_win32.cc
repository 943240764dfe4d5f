// The contract tests' environment on real Win32 (run under Wine by CTest):
// a fresh scratch directory per test under the temporary folder, and
// direct Win32 calls to arrange what the platform layer is then asked about.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <stdio.h>

#include <map>
#include <string>
#include <vector>

#include "tests/common/string_table_script.h"
#include "tests/contract/test_env.h"

namespace testenv {

namespace {

std::string g_processRoot;  // one per test process
std::string g_root;         // one per test, below g_processRoot
int g_testNumber = 0;
std::map<std::string, HANDLE> g_held;

// The helper that answers the next message box.
HANDLE g_boxHelper = NULL;
HANDLE g_boxHelperStop = NULL;
volatile LONG g_boxDefault = 0;

void RemoveTree(const std::string& path);

// Takes the process's scratch directory away when the tests are done.
struct ProcessRootRemover {
  ~ProcessRootRemover() {
    if (!g_processRoot.empty()) RemoveTree(g_processRoot);
  }
} g_processRootRemover;

std::string ProcessRoot() {
  if (g_processRoot.empty()) {
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) return std::string();
    char name[64];
    sprintf(name, "platform-contract-%lu-%lu",
            static_cast<unsigned long>(GetCurrentProcessId()),
            static_cast<unsigned long>(GetTickCount()));
    std::string root = std::string(temp) + name;  // temp ends in "\"
    if (!CreateDirectoryA(root.c_str(), NULL)) return std::string();
    g_processRoot = root;
  }
  return g_processRoot;
}

// Deletes a tree, clearing read-only attributes on the way.
void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

bool IsWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != NULL && GetProcAddress(ntdll, "wine_get_version") != NULL;
}

// UTF-8 to code page 932 through UTF-16, as the resource compiler stores
// the texts and LoadStringA hands them out. False for anything either step
// cannot convert exactly.
bool ToCodePage932(const std::string& utf8, std::string* out) {
  out->clear();
  if (utf8.empty()) return true;
  int wideLength =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                          static_cast<int>(utf8.size()), NULL, 0);
  if (wideLength <= 0) return false;
  std::vector<WCHAR> wide(wideLength);
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                      static_cast<int>(utf8.size()), &wide[0], wideLength);
  BOOL lossy = FALSE;
  int length =
      WideCharToMultiByte(932, 0, &wide[0], wideLength, NULL, 0, NULL, &lossy);
  if (length <= 0 || lossy) return false;
  out->resize(length);
  WideCharToMultiByte(932, 0, &wide[0], wideLength, &(*out)[0], length, NULL,
                      &lossy);
  return !lossy;
}

// This process's message box once it is shown (visible: its buttons are
// set up by then), or NULL.
HWND ShownBox() {
  HWND box = NULL;
  while ((box = FindWindowExA(NULL, box, "#32770", NULL)) != NULL) {
    DWORD process = 0;
    GetWindowThreadProcessId(box, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(box)) return box;
  }
  return NULL;
}

DWORD WINAPI PressDefaultButton(void*) {
  // A box appears within milliseconds of the call; give up after 10 s.
  for (int i = 0; i < 200; ++i) {
    if (WaitForSingleObject(g_boxHelperStop, 50) == WAIT_OBJECT_0) return 0;
    HWND box = ShownBox();
    if (box == NULL) continue;
    HWND first = NULL;
    HWND defaultButton = NULL;
    for (HWND child = GetWindow(box, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT)) {
      char name[16];
      if (GetClassNameA(child, name, sizeof(name)) == 0 ||
          lstrcmpiA(name, "Button") != 0 || !IsWindowVisible(child)) {
        continue;
      }
      if (first == NULL) first = child;
      if ((GetWindowLongA(child, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON) {
        defaultButton = child;
      }
    }
    HWND pressed = defaultButton != NULL ? defaultButton : first;
    if (pressed == NULL) continue;
    InterlockedExchange(
        &g_boxDefault, defaultButton != NULL ? GetDlgCtrlID(defaultButton) : 0);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(pressed), BN_CLICKED),
                 reinterpret_cast<LPARAM>(pressed));
    return 0;
  }
  return 0;
}

void StopBoxHelper() {
  if (g_boxHelper == NULL) return;
  SetEvent(g_boxHelperStop);
  WaitForSingleObject(g_boxHelper, 15000);
  CloseHandle(g_boxHelper);
  CloseHandle(g_boxHelperStop);
  g_boxHelper = NULL;
  g_boxHelperStop = NULL;
}

REGSAM ViewFlag(bool view64) {
  return view64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

}  // namespace

void SetUp() {
  std::string base = ProcessRoot();
  if (base.empty()) {  // no scratch space: every arranging call then fails
    g_root.clear();
    return;
  }
  char name[32];
  sprintf(name, "\\t%d", ++g_testNumber);
  g_root = base + name;
  CreateDirectoryA(g_root.c_str(), NULL);
}

void TearDown() {
  StopBoxHelper();
  for (std::map<std::string, HANDLE>::iterator it = g_held.begin();
       it != g_held.end(); ++it) {
    CloseHandle(it->second);
  }
  g_held.clear();
  if (!g_root.empty()) RemoveTree(g_root);
  g_root.clear();
}

std::string Root() { return g_root; }

std::string Path(const std::string& relative) {
  return g_root + "\\" + relative;
}

std::string ExecutableName() { return "platform_contract_tests.exe"; }

bool WriteFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = bytes.empty() ||
            ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                        &written, NULL);
  CloseHandle(file);
  return ok && written == bytes.size();
}

bool WriteFileWithUtf8Name(const std::string& folder,
                           const std::string& utf8Name,
                           const std::string& bytes) {
  WCHAR name[MAX_PATH];
  WCHAR path[2 * MAX_PATH];
  if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, folder.c_str(), -1, path,
                          MAX_PATH) == 0 ||
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Name.c_str(), -1,
                          name, MAX_PATH) == 0) {
    return false;
  }
  lstrcatW(path, L"\\");
  lstrcatW(path, name);
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(),
                              static_cast<DWORD>(bytes.size()), &written, NULL);
  CloseHandle(file);
  return ok && written == bytes.size();
}

bool ReadFile(const std::string& path, std::string* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes->clear();
  char chunk[4096];
  DWORD got = 0;
  bool ok = true;
  for (;;) {
    if (!::ReadFile(file, chunk, sizeof(chunk), &got, NULL)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    bytes->append(chunk, got);
  }
  CloseHandle(file);
  return ok;
}

bool MakeDir(const std::string& path) {
  return CreateDirectoryA(path.c_str(), NULL) != FALSE;
}

unsigned ReadAttributes(const std::string& path) {
  return GetFileAttributesA(path.c_str());  // INVALID_FILE_ATTRIBUTES matches
}

bool SetLastWrite(const std::string& path, int year, int month, int day,
                  int hour, int minute) {
  SYSTEMTIME fields;
  ZeroMemory(&fields, sizeof(fields));
  fields.wYear = static_cast<WORD>(year);
  fields.wMonth = static_cast<WORD>(month);
  fields.wDay = static_cast<WORD>(day);
  fields.wHour = static_cast<WORD>(hour);
  fields.wMinute = static_cast<WORD>(minute);
  FILETIME local;
  FILETIME utc;
  if (!SystemTimeToFileTime(&fields, &local)) return false;
  // The reverse of the FileTimeToLocalFileTime the layer applies.
  if (!LocalFileTimeToFileTime(&local, &utc)) return false;
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  BOOL ok = SetFileTime(file, NULL, NULL, &utc);
  CloseHandle(file);
  return ok != FALSE;
}

bool HoldOpen(const std::string& path) {
  // Sharing is checked per open, not per process, so a handle of our own
  // without sharing stands in for another process's.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  Release(path);
  g_held[path] = file;
  return true;
}

void Release(const std::string& path) {
  std::map<std::string, HANDLE>::iterator it = g_held.find(path);
  if (it == g_held.end()) return;
  CloseHandle(it->second);
  g_held.erase(it);
}

bool ReadShortcut(const std::string& path, ShortcutData* data) {
  // The show command, a little-endian DWORD in the link file's header.
  std::string bytes;
  if (!ReadFile(path, &bytes) || bytes.size() < 0x40) return false;
  data->showCommand = static_cast<unsigned char>(bytes[0x3C]) |
                      static_cast<unsigned char>(bytes[0x3D]) << 8;
  WCHAR wide[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) == 0) {
    return false;
  }
  bool ok = false;
  const HRESULT init = CoInitialize(NULL);  // nests within a test's own
  IShellLinkA* link = NULL;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER,
                                 IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = NULL;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile,
                                       reinterpret_cast<void**>(&file)))) {
      char text[INFOTIPSIZE];
      if (SUCCEEDED(file->Load(wide, STGM_READ)) &&
          SUCCEEDED(link->GetPath(text, MAX_PATH, NULL, SLGP_RAWPATH))) {
        data->target = text;
        ok = SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH));
        data->workingDirectory = text;
        ok = ok && SUCCEEDED(link->GetArguments(text, INFOTIPSIZE));
        data->arguments = text;
      }
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return ok;
}

bool MessageBoxesCanBeShown() {
  char display[64];
  return !IsWine() || GetEnvironmentVariableA("DISPLAY", display, 64) > 0;
}

void PressDefaultButtonOfNextBox() {
  StopBoxHelper();
  InterlockedExchange(&g_boxDefault, 0);
  g_boxHelperStop = CreateEventA(NULL, TRUE, FALSE, NULL);
  g_boxHelper = CreateThread(NULL, 0, PressDefaultButton, NULL, 0, NULL);
}

int DefaultButtonOfLastBox() {
  StopBoxHelper();
  return g_boxDefault;
}

bool ReadOnlyDestinationRefusesCopy() { return !IsWine(); }

namespace {

// What a fresh file in this test's root reads back as after
// SetFileAttributesA(attributes); INVALID_FILE_ATTRIBUTES when it cannot be
// measured.
DWORD AttributesKept(DWORD attributes) {
  const std::string probe = Path("attribute-probe");
  DWORD kept = INVALID_FILE_ATTRIBUTES;
  if (WriteFile(probe, "") && SetFileAttributesA(probe.c_str(), attributes)) {
    kept = GetFileAttributesA(probe.c_str());
  }
  SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(probe.c_str());
  return kept;
}

}  // namespace

bool ArchiveAttributeCanBeCleared() {
  return AttributesKept(FILE_ATTRIBUTE_NORMAL) == FILE_ATTRIBUTE_NORMAL;
}

bool HiddenAndSystemAttributesKept() {
  const DWORD both = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const DWORD kept = AttributesKept(both);
  return kept != INVALID_FILE_ATTRIBUTES && (kept & both) == both;
}

bool ScriptStringTable(std::map<unsigned, std::string>* table,
                       std::string* error) {
  // CTest passes the script's path; under Wine a Unix path is reached
  // through drive Z:, the Unix root.
  char path[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("UPDATER_STRINGS_RC", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    *error = "UPDATER_STRINGS_RC does not name the resource script";
    return false;
  }
  std::string script = path[0] == '/' ? std::string("Z:") + path : path;
  std::string text;
  if (!ReadFile(script, &text)) {
    *error = script + " cannot be read";
    return false;
  }
  if (!stringtable::Parse(text, table, error)) return false;
  for (std::map<unsigned, std::string>::iterator it = table->begin();
       it != table->end(); ++it) {
    std::string converted;
    if (!ToCodePage932(it->second, &converted)) {
      char id[16];
      sprintf(id, "%u", it->first);
      *error = std::string("string ") + id + " has no code page 932 form";
      return false;
    }
    it->second = converted;
  }
  return true;
}

bool ColonRefusedInNames() { return !IsWine(); }

bool HiddenOrSystemDestinationRefusesCopy() { return !IsWine(); }

bool ExtensionlessNameRunsOnlyAsExe() { return !IsWine(); }

bool RestartManagerNamesHolders() { return !IsWine(); }

std::string CommandExitingWith(unsigned code) {
  char system[MAX_PATH] = {0};
  GetSystemDirectoryA(system, MAX_PATH);
  char number[16];
  // cmd.exe reads the code as a signed number.
  sprintf(number, "%d", static_cast<int>(code));
  return std::string("\"") + system + "\\cmd.exe\" /c exit " + number;
}

bool WriteRegistryValue(bool view64, const std::string& subKey,
                        const std::string& name, const std::string& bytes) {
  HKEY key = NULL;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, NULL, 0,
                      KEY_WRITE | ViewFlag(view64), NULL, &key,
                      NULL) != ERROR_SUCCESS) {
    return false;
  }
  // The registry adds a terminating zero the caller "forgot" when the byte
  // after the data is zero; a non-zero byte there keeps the data exact.
  std::vector<char> data(bytes.begin(), bytes.end());
  data.push_back('z');
  LONG status = RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(&data[0]),
                               static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

void RemoveRegistryKey(bool view64, const std::string& subKey) {
  std::string::size_type slash = subKey.rfind('\\');
  if (slash == std::string::npos) return;
  HKEY parent = NULL;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.substr(0, slash).c_str(), 0,
                    KEY_WRITE | ViewFlag(view64), &parent) != ERROR_SUCCESS) {
    return;
  }
  RegDeleteKeyA(parent, subKey.substr(slash + 1).c_str());
  RegCloseKey(parent);
}

bool NativeViewIs64() { return sizeof(void*) == 8; }

bool RegistryViewsSeparate() {
  if (NativeViewIs64()) return true;
  typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  IsWow64ProcessFn isWow64 = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  return isWow64 != NULL && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

std::string UniqueName(const std::string& stem) {
  char suffix[64];
  sprintf(suffix, "-%lu-%lu", static_cast<unsigned long>(GetCurrentProcessId()),
          static_cast<unsigned long>(GetTickCount()));
  return stem + suffix;
}

}  // namespace testenv
