// The rest of platform.h on a system without Windows, for the host build of
// updater-check, which only reads settings files: every query finds
// nothing, every action is refused and changes nothing, no box is shown and
// no program starts.
#include "platform/platform.h"

namespace platform {

unsigned LastErrorCode() { return 0; }

bool ErrorText(unsigned, char* buffer, unsigned size) {
  if (size > 0) buffer[0] = '\0';
  return false;
}

void HardenDllSearch() {}
unsigned QuietCriticalErrors() { return 0; }
void ComInitialize() {}
void ComUninitialize() {}

unsigned ModuleFileName(char* buffer, unsigned size) {
  if (size > 0) buffer[0] = '\0';
  return 0;
}

unsigned WindowsDirectory(char* buffer, unsigned size) {
  return ModuleFileName(buffer, size);
}

unsigned SystemDirectory(char* buffer, unsigned size) {
  return ModuleFileName(buffer, size);
}

bool SpecialFolderPath(int, char*) { return false; }

// Settings files are judged for the NT family unless updater-check is told
// otherwise (AssumePlatformId): nearly every target PC is one.
unsigned PlatformId() { return kPlatformWin32Nt; }

bool GetSystemVersion(SystemVersion* version) {
  version->major = version->minor = version->build = version->platformId = 0;
  return false;
}

Elevation ProcessElevation() { return kElevationUnknown; }

unsigned ProcessId() { return 0; }

unsigned TickCount() { return 0; }
void Pause(unsigned) {}

void LocalTime(LocalTimeFields* now) {
  now->year = now->month = now->day = now->hour = now->minute = now->second =
      now->milliseconds = 0;
}

FindHandleTraits::Handle FindHandleTraits::Null() { return 0; }
bool FindHandleTraits::IsValid(Handle handle) { return handle != 0; }
void FindHandleTraits::Close(Handle) {}

bool FileSearch::First(const char*, FindEntry*) {
  Close();
  return false;
}

bool FileSearch::Next(FindEntry*) { return false; }

bool SetAttributes(const char*, unsigned) { return false; }
bool MakeDirectory(const char*) { return false; }
bool RemoveFile(const char*) { return false; }
bool CopyFileOver(const char*, const char*) { return false; }
bool FileFullPath(const char*, HeapArray<char>*, bool*) { return false; }
bool FindStagedNumber(const char*, const char*, unsigned char*, unsigned*) {
  return false;
}
bool StageCopy(const char*, const char*, unsigned) { return false; }
bool WritableNow(const char*) { return false; }
bool SwapStaged(const char*, unsigned) { return false; }
RestoreResult RestoreStaged(const char*, unsigned, bool) {
  return kRestoreFailed;
}
bool RemoveStaged(const char*, unsigned, StagedRole) { return false; }
bool WriteFileThrough(const char*, const char*, unsigned) { return false; }
bool ReadWholeFile(const char*, unsigned, HeapArray<char>*, unsigned*) {
  return false;
}
bool RenameFile(const char*, const char*) { return false; }
FileDateResult LastWriteDate(const char*, FileDate*) {
  return kFileDateNotOpened;
}
bool OpenableForWriting(const char*) { return false; }

bool FileHeldByAnother(const char*) { return false; }

FileHoldersResult FileHolders(const char*, FileHolder*, unsigned,
                              unsigned* count) {
  *count = 0;
  return kHoldersUnknown;
}

KernelObjectTraits::Handle KernelObjectTraits::Null() { return 0; }
bool KernelObjectTraits::IsValid(Handle handle) { return handle != 0; }
void KernelObjectTraits::Close(Handle) {}

unsigned TempDirectory(char* buffer, unsigned size) {
  return ModuleFileName(buffer, size);
}

bool OpenLogFile(const char*, LogOpenMode, KernelObject*, bool* created) {
  *created = false;
  return false;
}

bool AppendToFile(const KernelObject&, const char*, unsigned) { return false; }

MutexResult CreateNamedMutex(const char*, KernelObject*) {
  return kMutexFailed;
}

unsigned OtherRegistryView() { return 0; }
bool RegistryOpen(RegistryRoot, const char*, unsigned, RegistryHandle*) {
  return false;
}
bool RegistryQuery(RegistryHandle, const char*, unsigned char*, unsigned*) {
  return false;
}
void RegistryClose(RegistryHandle) {}

int ShowMessageBox(const char*, const char*, unsigned) { return 0; }

int LoadResourceString(unsigned, char* buffer, int size) {
  if (size > 0) buffer[0] = '\0';
  return 0;
}

// Settings files are written for Japanese Windows: judged as one.
bool UserInterfaceIsJapanese() { return true; }

LaunchResult Launch(char*, const char*, LaunchWait, unsigned*) {
  return kLaunchNotStarted;
}

bool SaveShortcut(const ShortcutFields&, const char*) { return false; }

}  // namespace platform
