// Control of the fake Windows world behind platform/platform.h in the host
// build. Tests arrange files, folders, registry values, message-box answers
// and program results here, run the code under test, then inspect what it
// did. Everything lives in memory; Reset() starts a new world.
//
// Paths are full Windows paths such as "C:\Tools\a.txt": backslashes,
// compared without regard to letter case, folded as Win32 folds them ("."
// and ".." steps, "/", trailing periods and blanks). Texts are bytes in code
// page 932, as the real layer sees them.
//
// The world after Reset():
//   drive C: with the folders C:\Windows, C:\Windows\system32, C:\Tools and
//   the four special folders below; the file C:\Tools\updater.exe, which is
//   also the module path;
//   special folders  2 C:\Users\User\Start Menu\Programs
//                   16 C:\Users\User\Desktop
//                   23 C:\ProgramData\Start Menu\Programs
//                   25 C:\Users\Public\Desktop
//   the temporary folder C:\Users\User\AppData\Local\Temp\;
//   platform id 2 (NT), version 10.0.19045, elevated, process id 4242;
//   today 2024-06-15 (the date new files get), the clock at 12:00:00.000;
//   COM not initialised (SaveShortcut fails until ComInitialize is called,
//   as CoCreateInstance does); no registry values, boxes or launches.
#ifndef UPDATER_TESTS_FAKE_FAKE_WORLD_H_
#define UPDATER_TESTS_FAKE_FAKE_WORLD_H_

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fake {

void Reset();

// ---- Files and directories ------------------------------------------------

const unsigned kNoAttributes = 0xFFFFFFFFu;  // INVALID_FILE_ATTRIBUTES

// Creates a directory and any missing parents (another drive too).
void AddDirectory(const std::string& path);
// Creates or replaces a file; missing parent directories are created. The
// file gets today's date and is not held.
void AddFile(const std::string& path, const std::string& contents = "",
             unsigned attributes = platform::kAttributeArchive);
// Removes a file or a whole directory tree; nothing when it is missing.
void RemovePath(const std::string& path);

void SetFileDate(const std::string& path, int year, int month, int day);
void SetAttributesOf(const std::string& path, unsigned attributes);
// Held open without sharing by another process: opening it, copying onto or
// from it and deleting it fail (its attributes can still be changed).
void SetHeld(const std::string& path, bool held);
// The file opens but its time cannot be read (LastWriteDate: kFileDateNotRead).
void SetFileTimeUnreadable(const std::string& path, bool unreadable);
// The date files created from now on get (AddFile, SaveShortcut).
void SetToday(int year, int month, int day);

bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);
std::string Contents(const std::string& path);  // "" when missing
unsigned Attributes(const std::string& path);   // kNoAttributes when missing
platform::FileDate DateOf(const std::string& path);  // zeros when missing
// Names of the entries directly in a directory, in the case they were
// created with, sorted without regard to case; no "." or "..".
std::vector<std::string> List(const std::string& directory);
// FileSearch objects opened and not yet closed.
int OpenSearchCount();

// ---- Failure and kill points ---------------------------------------------
//
// The counted calls are the operations that change files: SetAttributes,
// MakeDirectory, RemoveFile, CopyFileOver, FindStagedNumber, StageCopy,
// WritableNow, SwapStaged, RestoreStaged, RemoveStaged, WriteFileThrough
// and RenameFile. A test can make one of them fail, or end the process
// after one, and then start a new run on the same files.

// Counted calls since Reset or the last NewProcess.
unsigned CountedCalls();
// Counted call number `call` (1 the first) fails with `code` and changes
// nothing; any number of calls may be made to fail.
void FailCall(unsigned call, unsigned code);
// The process dies after counted call number `call`: every later counted
// call fails and changes nothing, as if nothing of it reached the disk.
void KillAfterCall(unsigned call);
// A new process on the same files: the count starts again, no call fails.
void NewProcess();

// ---- Files other programs hold, and time ---------------------------------

// A program the Restart Manager names as holding a file.
struct FileHolderEntry {
  std::string name;
  unsigned processId;
};
// The programs FileHolders lists for `path` from now on; without a call it
// lists nobody (as Wine's Restart Manager does). A held file (SetHeld) and
// its holders are set apart, so a test can script either alone.
void SetFileHolders(const std::string& path,
                    const std::vector<FileHolderEntry>& holders);
// rstrtmgr.dll is missing (Windows XP and older): FileHolders is unknown.
void SetRestartManagerMissing(bool missing);

// The tick count (0 after Reset); Pause adds to it without waiting.
unsigned Ticks();
void SetTicks(unsigned ticks);
// Pause calls so far.
int PauseCount();
// Runs after every Pause, once the ticks have moved on: a test's way to let
// go of a file after some time.
void OnPause(const std::function<void()>& action);

// ---- Paths, folders, system -------------------------------------------

void SetModulePath(const std::string& path);  // does not create the file
void SetWindowsDirectory(const std::string& path);
void SetSystemDirectory(const std::string& path);
void SetSpecialFolder(int csidl, const std::string& path);
// SpecialFolderPath(csidl) fails from now on (until set again).
void FailSpecialFolder(int csidl);
void SetPlatformId(unsigned id);  // 0 stands for a failing GetVersionExA
// What UserInterfaceIsJapanese answers: true after Reset.
void SetUserInterfaceJapanese(bool japanese);

bool DllSearchHardened();  // HardenDllSearch was called
int ComDepth();            // ComInitialize calls minus ComUninitialize calls

void SetSystemVersion(unsigned major, unsigned minor, unsigned build);
void SetElevation(platform::Elevation elevation);
void SetLocalTime(const platform::LocalTimeFields& now);
// With its trailing backslash; "" makes TempDirectory fail.
void SetTempDirectory(const std::string& path);
// The folder FileFullPath takes a relative path from (the fake's other
// operations take full paths only); C:\Tools after Reset.
void SetWorkingDirectory(const std::string& path);

// ---- Kernel objects ------------------------------------------------------

// Another process holds the mutex `name`: CreateNamedMutex answers
// kMutexExisted.
void HoldMutexElsewhere(const std::string& name);
// Names of the mutexes this process holds a handle to.
std::vector<std::string> MutexesHeld();
// Log files and mutexes opened and not yet closed.
int OpenKernelObjectCount();

// ---- Registry (HKEY_LOCAL_MACHINE) -------------------------------------

enum RegistryView { kView32, kView64 };

// Stores `bytes` exactly as given: a string value that should end in a zero
// byte must include it (see SetRegistryString). The key and its parents
// come into being. Key and value names are compared without regard to case;
// the empty name is the key's default value.
void SetRegistryValue(RegistryView view, const std::string& key,
                      const std::string& name, const std::string& bytes);
// `text` plus its terminating zero, as RegSetValueExA stores a REG_SZ.
void SetRegistryString(RegistryView view, const std::string& key,
                       const std::string& name, const std::string& text);
void AddRegistryKey(RegistryView view, const std::string& key);
// The width of the updater process: 32 (after Reset) reads the 32-bit view
// by default, 64 the 64-bit one.
void SetProcessBits(int bits);
int OpenRegistryHandleCount();

// ---- Message boxes -------------------------------------------------------

struct MessageBoxCall {
  std::string text;
  std::string caption;
  unsigned style;
  int answer;  // what ShowMessageBox returned
};
const std::vector<MessageBoxCall>& MessageBoxes();
// The next box is answered with `id`, which must be a button the box has
// (or 0, a failed MessageBoxA); otherwise the fake aborts the test run.
// Without a queued answer a box returns its default button; a style whose
// default button is not among its buttons aborts the test run.
void QueueAnswer(int id);
int PendingAnswers();

// ---- String table --------------------------------------------------------

// What LoadResourceString serves: the table of res/strings.rc, the script
// the executable is built from, with its texts in code page 932.
const std::map<unsigned, std::string>& StringTable();

// ---- Processes ---------------------------------------------------------

struct LaunchCall {
  std::string commandLine;  // exactly as passed
  std::string directory;
  platform::LaunchWait wait;
  // The program CreateProcessA would run: the first existing file found by
  // its command-line rules, in the case the test created it; "" if none.
  std::string program;
  platform::LaunchResult result;
};
const std::vector<LaunchCall>& Launches();
// Result for a program (its full path; case does not matter). Without one a
// program that exists gives kLaunchDone; a missing one kLaunchNotStarted.
void SetLaunchResult(const std::string& program, platform::LaunchResult result);
// The exit code a program ends with (0 without one), reported where the
// launch waits for the exit.
void SetLaunchExitCode(const std::string& program, unsigned code);
// Runs while the updater waits for `program`, e.g. to change files.
void OnLaunch(const std::string& program, const std::function<void()>& action);

// ---- Shortcuts -----------------------------------------------------------

struct Shortcut {
  std::string target;
  std::string workingDirectory;
  std::string arguments;
  int showCommand;  // 1 (the link object's default) when none was set
};
// Saved shortcuts by path. A saved shortcut is also a file in the world.
bool HasShortcut(const std::string& path);
Shortcut ShortcutAt(const std::string& path);  // empty fields when missing
int ShortcutSaveCount();  // successful saves, overwrites included

}  // namespace fake

#endif  // UPDATER_TESTS_FAKE_FAKE_WORLD_H_
