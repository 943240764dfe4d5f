// Files other programs hold: whether one is held now, and which programs
// hold it, asked of the Restart Manager, which is loaded only when needed:
// the updater imports nothing beyond what every supported Windows has.
#include <windows.h>
// After windows.h, whose types it uses.
#include <restartmanager.h>
#include <string.h>

#include <new>

#include "platform/platform.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

const DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

typedef DWORD(WINAPI* RmStartSessionFn)(DWORD*, DWORD, WCHAR*);
typedef DWORD(WINAPI* RmRegisterResourcesFn)(DWORD, UINT, LPCWSTR*, UINT,
                                             RM_UNIQUE_PROCESS*, UINT,
                                             LPCWSTR*);
typedef DWORD(WINAPI* RmGetListFn)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*,
                                   DWORD*);
typedef DWORD(WINAPI* RmEndSessionFn)(DWORD);

struct ModuleTraits {
  typedef HMODULE Handle;
  static Handle Null() { return NULL; }
  static bool IsValid(Handle module) { return module != NULL; }
  static void Close(Handle module) { FreeLibrary(module); }
};

// rstrtmgr.dll from the system folder only, never from the updater's own
// folder, where anyone who can put a file beside it could plant one.
HMODULE LoadRestartManager() {
  static const WCHAR kPathInFolder[] = L"\\rstrtmgr.dll";
  HMODULE module = LoadLibraryExW(kPathInFolder + 1, NULL, kSearchSystem32);
  // Systems without the flag refuse it as an invalid parameter.
  if (module != NULL || GetLastError() != ERROR_INVALID_PARAMETER)
    return module;
  WCHAR path[MAX_PATH + 16];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return NULL;
  memmove(path + length, kPathInFolder, sizeof kPathInFolder);
  return LoadLibraryExW(path, NULL, 0);  // as LoadLibraryW
}

// The Restart Manager's calls, named in that order by kRestartManagerCalls.
enum RestartManagerCall {
  kStartSession,
  kRegisterResources,
  kGetList,
  kEndSession,
  kRestartManagerCallCount
};

const char kRestartManagerCalls[] =
    "RmStartSession\0RmRegisterResources\0RmGetList\0RmEndSession";

struct RestartManager {
  FARPROC calls[kRestartManagerCallCount];

  // Finds every call in `module`; false when one is missing.
  bool Find(HMODULE module) {
    const char* name = kRestartManagerCalls;
    for (int i = 0; i < kRestartManagerCallCount; ++i) {
      if ((calls[i] = GetProcAddress(module, name)) == NULL) return false;
      name += strlen(name) + 1;
    }
    return true;
  }

  template <typename Function>
  Function Call(RestartManagerCall call) const {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(calls[call]));
  }
};

// The holders of `path` into `holders`, asked in the open session
// `session`; false when the manager cannot tell.
bool ListHolders(const RestartManager& calls, DWORD session, const WCHAR* path,
                 FileHolder* holders, unsigned max, unsigned* count) {
  LPCWSTR files[1] = {path};
  if (calls.Call<RmRegisterResourcesFn>(kRegisterResources)(
          session, 1, files, 0, NULL, 0, NULL) != ERROR_SUCCESS) {
    return false;
  }
  // The list can grow between the calls; a few rounds are plenty.
  HeapArray<RM_PROCESS_INFO> list;
  UINT room = 0;
  bool listed = false;
  for (int round = 0; round < 4; ++round) {
    UINT needed = 0;
    UINT found = room;
    DWORD reasons = 0;
    const DWORD status = calls.Call<RmGetListFn>(kGetList)(
        session, &needed, &found, list.get(), &reasons);
    if (status == ERROR_SUCCESS) {
      *count = 0;
      for (UINT i = 0; i < found && *count < max; ++i, ++*count) {
        FileHolder& holder = holders[*count];
        holder.processId = list[i].Process.dwProcessId;
        win32::NarrowTextForDisplay(list[i].strAppName, holder.name,
                                    sizeof holder.name);
      }
      listed = true;
      break;
    }
    if (status != ERROR_MORE_DATA) break;
    room = needed + 2;
    list.Reset(new (std::nothrow) RM_PROCESS_INFO[room]);
    if (!list.valid()) break;
  }
  return listed;
}

// The holders of `path` into `holders`, in a session of the manager ended
// on every path; false when the manager cannot tell.
bool AskRestartManager(HMODULE module, const WCHAR* path, FileHolder* holders,
                       unsigned max, unsigned* count) {
  RestartManager calls;
  if (!calls.Find(module)) return false;
  DWORD session;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = {0};
  if (calls.Call<RmStartSessionFn>(kStartSession)(&session, 0, key) !=
      ERROR_SUCCESS) {
    return false;
  }
  const bool listed = ListHolders(calls, session, path, holders, max, count);
  calls.Call<RmEndSessionFn>(kEndSession)(session);
  return listed;
}

// The holders of `path` into `holders`; false when they cannot be told.
bool AskFor(const char* path, FileHolder* holders, unsigned max,
            unsigned* count) {
  *count = 0;
  const win32::WideText wide(path);
  if (!wide.valid()) return false;
  // The manager wants a full path.
  const DWORD needed = GetFullPathNameW(wide.get(), 0, NULL, NULL);
  if (needed == 0) return false;
  HeapArray<WCHAR> full(new (std::nothrow) WCHAR[needed]);
  if (!full.valid() ||
      GetFullPathNameW(wide.get(), needed, full.get(), NULL) >= needed) {
    return false;
  }
  ScopedOwner<ModuleTraits> module(LoadRestartManager());
  return module.valid() &&
         AskRestartManager(module.get(), full.get(), holders, max, count);
}

}  // namespace

bool FileHeldByAnother(const char* path) {
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE opened;
  DWORD error;
  if (win32::UseWideCalls()) {
    const win32::WideText wide(path);
    if (!wide.valid()) return false;
    opened =
        CreateFileW(wide.get(), GENERIC_WRITE | DELETE,
                    share | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
    error = GetLastError();
  } else {
    opened =
        CreateFileA(path, GENERIC_WRITE, share, NULL, OPEN_EXISTING, 0, NULL);
    error = GetLastError();
  }
  const KernelObject file(opened);
  // Asking for every kind of sharing, only another opener's refusal to
  // share fails the open with these codes.
  return !file.valid() &&
         (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION);
}

FileHoldersResult FileHolders(const char* path, FileHolder* holders,
                              unsigned max, unsigned* count) {
  if (win32::UseWideCalls() && AskFor(path, holders, max, count))
    return kHoldersListed;
  *count = 0;
  return kHoldersUnknown;
}

}  // namespace platform
