// The contract tests' environment over the fake world: every test starts
// from a freshly reset world with an empty scratch directory.
#include <set>
#include <string>
#include <vector>

#include "tests/contract/test_env.h"
#include "tests/fake/fake_world.h"

namespace testenv {

namespace {

const char kRoot[] = "C:\\ContractTest";
std::set<std::string> g_held;

}  // namespace

void SetUp() {
  fake::Reset();
  fake::AddDirectory(kRoot);
  g_held.clear();
}

void TearDown() { fake::Reset(); }

std::string Root() { return kRoot; }

std::string Path(const std::string& relative) { return Root() + "\\" + relative; }

std::string ExecutableName() { return "updater.exe"; }

bool WriteFile(const std::string& path, const std::string& bytes) {
  if (fake::IsDirectory(path)) return false;
  std::string parent = path.substr(0, path.rfind('\\'));
  if (!fake::IsDirectory(parent)) return false;  // as CreateFileA would
  fake::AddFile(path, bytes);
  return true;
}

bool WriteFileWithUtf8Name(const std::string&, const std::string&,
                           const std::string&) {
  return false;
}

bool ReadFile(const std::string& path, std::string* bytes) {
  if (!fake::Exists(path) || fake::IsDirectory(path)) return false;
  *bytes = fake::Contents(path);
  return true;
}

bool MakeDir(const std::string& path) {
  if (fake::Exists(path)) return false;
  fake::AddDirectory(path);
  return true;
}

unsigned ReadAttributes(const std::string& path) {
  return fake::Attributes(path);
}

bool SetLastWrite(const std::string& path, int year, int month, int day,
                  int /*hour*/, int /*minute*/) {
  if (!fake::Exists(path)) return false;
  fake::SetFileDate(path, year, month, day);
  return true;
}

bool HoldOpen(const std::string& path) {
  if (!fake::Exists(path) || fake::IsDirectory(path)) return false;
  fake::SetHeld(path, true);
  // This process holds it, as a handle of the test's own does on Windows.
  fake::SetFileHolders(path, {{"contract", platform::ProcessId()}});
  g_held.insert(path);
  return true;
}

void Release(const std::string& path) {
  if (g_held.erase(path) == 0 || !fake::Exists(path)) return;
  fake::SetHeld(path, false);
  fake::SetFileHolders(path, {});
}

bool ReadShortcut(const std::string& path, ShortcutData* data) {
  if (!fake::HasShortcut(path)) return false;
  const fake::Shortcut saved = fake::ShortcutAt(path);
  data->target = saved.target;
  data->workingDirectory = saved.workingDirectory;
  data->arguments = saved.arguments;
  data->showCommand = saved.showCommand;
  return true;
}

bool MessageBoxesCanBeShown() { return true; }

void PressDefaultButtonOfNextBox() {}

int DefaultButtonOfLastBox() {
  const std::vector<fake::MessageBoxCall>& boxes = fake::MessageBoxes();
  return boxes.empty() ? 0 : boxes.back().answer;
}

bool ReadOnlyDestinationRefusesCopy() { return true; }
bool ArchiveAttributeCanBeCleared() { return true; }
bool HiddenAndSystemAttributesKept() { return true; }
bool ColonRefusedInNames() { return true; }
bool HiddenOrSystemDestinationRefusesCopy() { return true; }
bool ExtensionlessNameRunsOnlyAsExe() { return true; }
bool RestartManagerNamesHolders() { return true; }

std::string CommandExitingWith(unsigned code) {
  const std::string program = Path("exits.exe");
  WriteFile(program, "MZ");
  fake::SetLaunchExitCode(program, code);
  return program;
}

// The fake serves the script's table itself (tests/fake/fake_strings.cc).
bool ScriptStringTable(std::map<unsigned, std::string>* table,
                       std::string* /*error*/) {
  *table = fake::StringTable();
  return true;
}

bool WriteRegistryValue(bool view64, const std::string& subKey,
                        const std::string& name, const std::string& bytes) {
  fake::SetRegistryValue(view64 ? fake::kView64 : fake::kView32, subKey, name,
                         bytes);
  return true;
}

void RemoveRegistryKey(bool, const std::string&) {}  // the next Reset does

bool RegistryViewsSeparate() { return true; }

bool NativeViewIs64() { return false; }  // the fake's process after Reset

std::string UniqueName(const std::string& stem) { return stem + "-contract"; }

}  // namespace testenv
