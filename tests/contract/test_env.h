// What the platform contract tests need from the world around the platform
// layer: a scratch directory and ways to arrange and inspect files (and
// registry values) behind the layer's back. Implemented over the fake world
// (test_env_fake.cc) and over real Win32 (tests/windows/test_env_win32.cc).
#ifndef UPDATER_TESTS_CONTRACT_TEST_ENV_H_
#define UPDATER_TESTS_CONTRACT_TEST_ENV_H_

#include <map>
#include <string>

namespace testenv {

// Called before and after every test: each test gets a fresh, empty root.
void SetUp();
void TearDown();

// Full path of this test's scratch directory, no trailing backslash.
std::string Root();
// Root() + "\" + relative.
std::string Path(const std::string& relative);

// The file name (no directory) the running executable must report.
std::string ExecutableName();

// Arranging and inspecting files. Paths are full paths.
bool WriteFile(const std::string& path, const std::string& bytes);
bool ReadFile(const std::string& path, std::string* bytes);
// Writes a file named `utf8Name` (UTF-8: a name code page 932 may lack) in
// `folder`. False where every name is code page 932 (the fake).
bool WriteFileWithUtf8Name(const std::string& folder,
                           const std::string& utf8Name,
                           const std::string& bytes);
bool MakeDir(const std::string& path);
const unsigned kNoAttributes = 0xFFFFFFFFu;
unsigned ReadAttributes(const std::string& path);  // kNoAttributes if missing
// Sets the last-write time, given in local time.
bool SetLastWrite(const std::string& path, int year, int month, int day,
                  int hour, int minute);

// Keeps `path` open without any sharing, as another process writing it
// would, until Release (or the end of the test).
bool HoldOpen(const std::string& path);
void Release(const std::string& path);

// The fields of a saved shortcut, read back through the shell's link
// object; the show command from the file's header (offset 0x3C), as Wine's
// IShellLinkA::Load does not restore it. False when `path` is no link.
struct ShortcutData {
  std::string target;
  std::string workingDirectory;
  std::string arguments;
  int showCommand;
};
bool ReadShortcut(const std::string& path, ShortcutData* data);

// Message boxes. Whether a box can be shown here (Wine needs an X display).
bool MessageBoxesCanBeShown();
// Answers the next box this process shows by pressing the button it draws
// as its default (BS_DEFPUSHBUTTON), from a helper thread; a box without
// one gets its first button pressed, so that no test waits for ever. The
// fake answers a box with its default by itself.
void PressDefaultButtonOfNextBox();
// Ends that helper: the id of the default button of the box it answered, 0
// when the box had none or no box came.
int DefaultButtonOfLastBox();

// Where Wine and Windows differ. Each says whether this side behaves as
// Windows does; the fake always does, the Win32 side measures or knows.

// Whether a read-only destination makes a copy fail here. Windows refuses;
// Wine run as root writes through the missing Unix write bits.
bool ReadOnlyDestinationRefusesCopy();
// Whether a file's archive attribute goes when attributes without it are
// set. Wine reports every file as archived, so a file set to 0 or to
// FILE_ATTRIBUTE_NORMAL reads back as 0x20 there, not as 0x80.
bool ArchiveAttributeCanBeCleared();
// Whether the file system keeps the hidden and system attributes, measured
// on a scratch file: Wine keeps them on this project's ext4 machines, other
// Unix file systems may drop them.
bool HiddenAndSystemAttributesKept();
// Whether a colon is refused inside a name. Windows reserves it; Wine
// creates "a:b" as an ordinary Unix name.
bool ColonRefusedInNames();
// Whether a copy refuses a hidden or system destination. Windows does
// (CopyFileA's and CreateFileA's documentation); Wine replaces it.
bool HiddenOrSystemDestinationRefusesCopy();
// Whether a program named without an extension is looked for only with
// ".exe" appended (CreateProcessA's documentation). Wine tries the bare name
// first and starts a file of that name.
bool ExtensionlessNameRunsOnlyAsExe();

// Whether the Restart Manager names the programs holding a file. Windows'
// does; Wine's is a stub that names nobody.
bool RestartManagerNamesHolders();

// The string table of res/strings.rc, the script the executable is built
// from, with its texts in code page 932: what LoadResourceString must hand
// out. False, with the reason in `error`, when the script cannot be read.
bool ScriptStringTable(std::map<unsigned, std::string>* table,
                       std::string* error);

// Registry values under HKEY_LOCAL_MACHINE for the tests to read back.
// False when this side cannot write them (no rights): the test is skipped.
bool WriteRegistryValue(bool view64, const std::string& subKey,
                        const std::string& name, const std::string& bytes);
void RemoveRegistryKey(bool view64, const std::string& subKey);
// Whether the 32-bit and 64-bit views are different keys (a 64-bit system).
bool RegistryViewsSeparate();
// Whether this process reads the 64-bit view by default (a 64-bit process).
bool NativeViewIs64();
// A key name not used by anything else, for this process.
std::string UniqueName(const std::string& stem);

// A command line whose program ends at once with `code` as its exit code,
// started in Root(): cmd.exe's "exit" on the Win32 side, a program scripted
// so on the fake.
std::string CommandExitingWith(unsigned code);

}  // namespace testenv

#endif  // UPDATER_TESTS_CONTRACT_TEST_ENV_H_
