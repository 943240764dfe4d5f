// The contract tests' environment over the local file system, for the
// platform layer of the Linux checker (platform/posix/), which only reads
// settings files: the ProfileContract cases run against it. Arranging
// anything else is refused, so other cases are not run with it.
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>

#include "tests/contract/test_env.h"

namespace testenv {

namespace {

std::string g_root;

void RemoveTree(const std::string& path) {
  DIR* folder = opendir(path.c_str());
  if (folder) {
    while (dirent* entry = readdir(folder)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      RemoveTree(path + "/" + name);
    }
    closedir(folder);
    rmdir(path.c_str());
  } else {
    unlink(path.c_str());
  }
}

}  // namespace

void SetUp() {
  const char* temp = getenv("TMPDIR");
  std::string pattern =
      std::string(temp && *temp ? temp : "/tmp") + "/profile-contract-XXXXXX";
  g_root = mkdtemp(&pattern[0]) ? pattern : std::string();
}

void TearDown() {
  if (!g_root.empty()) RemoveTree(g_root);
  g_root.clear();
}

std::string Root() { return g_root; }
std::string Path(const std::string& relative) {
  return g_root + "/" + relative;
}
std::string ExecutableName() { return "posix_profile_contract"; }

bool WriteFile(const std::string& path, const std::string& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

bool WriteFileWithUtf8Name(const std::string&, const std::string&,
                           const std::string&) {
  return false;
}

bool ReadFile(const std::string&, std::string*) { return false; }
bool MakeDir(const std::string& path) { return mkdir(path.c_str(), 0700) == 0; }
unsigned ReadAttributes(const std::string&) { return kNoAttributes; }
bool SetLastWrite(const std::string&, int, int, int, int, int) { return false; }
bool HoldOpen(const std::string&) { return false; }
void Release(const std::string&) {}
bool ReadOnlyDestinationRefusesCopy() { return true; }
// Only the profile cases run here; the rest of the environment is never
// asked for and answers "not available".
bool ReadShortcut(const std::string&, ShortcutData*) { return false; }
bool MessageBoxesCanBeShown() { return false; }
void PressDefaultButtonOfNextBox() {}
int DefaultButtonOfLastBox() { return 0; }
bool ArchiveAttributeCanBeCleared() { return true; }
bool HiddenAndSystemAttributesKept() { return false; }
bool ColonRefusedInNames() { return true; }
bool HiddenOrSystemDestinationRefusesCopy() { return true; }
bool ExtensionlessNameRunsOnlyAsExe() { return true; }
bool RestartManagerNamesHolders() { return false; }
std::string CommandExitingWith(unsigned) { return std::string(); }
bool ScriptStringTable(std::map<unsigned, std::string>*, std::string* error) {
  *error = "no string table on this side";
  return false;
}
bool WriteRegistryValue(bool, const std::string&, const std::string&,
                        const std::string&) {
  return false;
}
void RemoveRegistryKey(bool, const std::string&) {}
bool RegistryViewsSeparate() { return false; }
bool NativeViewIs64() { return false; }
std::string UniqueName(const std::string& stem) { return stem; }

}  // namespace testenv
