// Process start-up, paths, folders and the system family in the fake world.
#include <string.h>

#include <string>

#include "platform/platform.h"
#include "tests/fake/fake_state.h"
#include "tests/fake/fake_world.h"

namespace {

using fake::internal::TheWorld;

// GetWindowsDirectoryA's rule: the length copied, or the size needed
// (terminator included) when the buffer is too small, nothing copied.
unsigned CopyOrNeed(const std::string& text, char* buffer, unsigned size) {
  if (text.size() + 1 > size) return static_cast<unsigned>(text.size() + 1);
  memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<unsigned>(text.size());
}

}  // namespace

namespace platform {

void HardenDllSearch() { TheWorld().dllSearchHardened = true; }

unsigned QuietCriticalErrors() {
  const unsigned before = TheWorld().errorMode;
  TheWorld().errorMode = kSemFailCriticalErrors | kSemNoOpenFileErrorBox;
  return before;
}

void ComInitialize() { ++TheWorld().comDepth; }

void ComUninitialize() {
  if (TheWorld().comDepth > 0) --TheWorld().comDepth;
}

unsigned ModuleFileName(char* buffer, unsigned size) {
  if (size == 0) return 0;
  const std::string& path = TheWorld().modulePath;
  if (path.size() < size) {
    memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<unsigned>(path.size());
  }
  // Too short a buffer is filled without a terminator and the result is
  // its size (Windows XP and Wine; later Windows terminate it): the harder
  // case for a caller.
  memcpy(buffer, path.data(), size);
  return size;
}

unsigned WindowsDirectory(char* buffer, unsigned size) {
  return CopyOrNeed(TheWorld().windowsDirectory, buffer, size);
}

unsigned SystemDirectory(char* buffer, unsigned size) {
  return CopyOrNeed(TheWorld().systemDirectory, buffer, size);
}

bool SpecialFolderPath(int csidl, char* buffer) {
  fake::internal::World& world = TheWorld();
  if (world.failingSpecialFolders.count(csidl) != 0) return false;
  std::map<int, std::string>::const_iterator it =
      world.specialFolders.find(csidl);
  if (it == world.specialFolders.end() || it->second.size() >= kMaxPath) {
    return false;
  }
  memcpy(buffer, it->second.c_str(), it->second.size() + 1);
  return true;
}

unsigned PlatformId() { return TheWorld().platformId; }

bool UserInterfaceIsJapanese() { return TheWorld().userInterfaceJapanese; }

}  // namespace platform

namespace fake {

void SetModulePath(const std::string& path) { TheWorld().modulePath = path; }

void SetWindowsDirectory(const std::string& path) {
  TheWorld().windowsDirectory = path;
}

void SetSystemDirectory(const std::string& path) {
  TheWorld().systemDirectory = path;
}

void SetSpecialFolder(int csidl, const std::string& path) {
  TheWorld().specialFolders[csidl] = path;
  TheWorld().failingSpecialFolders.erase(csidl);
}

void FailSpecialFolder(int csidl) { TheWorld().failingSpecialFolders.insert(csidl); }

void SetPlatformId(unsigned id) { TheWorld().platformId = id; }

void SetUserInterfaceJapanese(bool japanese) {
  TheWorld().userInterfaceJapanese = japanese;
}

bool DllSearchHardened() { return TheWorld().dllSearchHardened; }

int ComDepth() { return TheWorld().comDepth; }

}  // namespace fake
