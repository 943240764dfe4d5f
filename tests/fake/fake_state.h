// The fake world's state, shared by the files that implement platform.h
// over it. Not for tests: they use fake_world.h.
#ifndef UPDATER_TESTS_FAKE_FAKE_STATE_H_
#define UPDATER_TESTS_FAKE_FAKE_STATE_H_

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/fake/fake_world.h"

namespace fake {
namespace internal {

struct Node {
  std::string name;    // last part of the path, as created
  std::string parent;  // key of the parent directory; "" for a drive
  bool directory;
  std::string contents;
  unsigned attributes;
  platform::FileDate date;
  bool held;
  bool timeUnreadable;
};

struct RegistryKeyData {
  std::map<std::string, std::string> values;  // upper-case name -> bytes
};

struct World {
  std::map<std::string, Node> nodes;  // key: PathKey of the full path
  platform::FileDate today;
  int openSearches;

  std::string modulePath;
  std::string windowsDirectory;
  std::string systemDirectory;
  std::map<int, std::string> specialFolders;
  std::set<int> failingSpecialFolders;
  unsigned platformId;
  bool userInterfaceJapanese;
  bool dllSearchHardened;
  unsigned errorMode;  // SetErrorMode's
  int comDepth;

  std::map<std::string, RegistryKeyData> registry[2];  // by view, key
  int processBits;  // 32 or 64: which view a key opened without a flag is in
  std::set<const void*> openRegistryHandles;

  std::vector<MessageBoxCall> boxes;
  std::vector<int> answers;  // queued, front first

  std::vector<LaunchCall> launches;
  std::map<std::string, platform::LaunchResult> launchResults;  // by key
  std::map<std::string, unsigned> launchExitCodes;              // by key
  std::map<std::string, std::function<void()> > launchActions;  // by key

  std::map<std::string, Shortcut> shortcuts;  // by path key
  int shortcutSaves;

  unsigned lastErrorCode;  // what LastErrorCode() answers
  unsigned ticks;          // what TickCount() answers; Pause adds to it
  int pauses;
  std::function<void()> onPause;
  std::map<std::string, std::vector<FileHolderEntry> > holders;  // by key
  bool restartManagerMissing;
  platform::LocalTimeFields now;
  unsigned processId;
  platform::Elevation elevation;
  unsigned versionMajor;
  unsigned versionMinor;
  unsigned versionBuild;
  std::string tempDirectory;     // with its trailing backslash; "" fails
  std::string workingDirectory;  // without a trailing backslash

  // A kernel object handed out: a log file (path key) or a mutex (name).
  struct KernelObjectData {
    bool mutex;
    std::string key;
  };
  // Open handles by number; numbers are never reused, not even after a
  // Reset, so a handle of an earlier world is never taken for a new one.
  std::map<size_t, KernelObjectData> kernelObjects;
  std::set<std::string> foreignMutexes;  // held by other processes

  // Failure and kill points (fake_world.h): counted calls so far, those
  // that fail with their codes, the last one that reaches the world (0: no
  // kill).
  unsigned countedCalls;
  std::map<unsigned, unsigned> failingCalls;
  unsigned lastLiveCall;
};

// The one world; the first use populates it as Reset() does.
World& TheWorld();
// Fills an empty world with the state fake_world.h describes for Reset().
void Populate();

// ---- Paths -----------------------------------------------------------------

// platform::IsLeadByte932, and the text with FoldTextCase: the fake world's
// characters and letter case are the updater's (platform/text_rules.h).
bool IsLeadByte(unsigned char c);
std::string Upper(const std::string& text);

// A full path taken apart: the drive ("C:") then each name, with "." and
// ".." folded and doubled backslashes ignored. False for anything but a
// drive-letter path.
struct ParsedPath {
  std::vector<std::string> parts;
  bool trailingBackslash;
};
bool ParsePath(const std::string& path, ParsedPath* parsed);
std::string JoinKey(const std::vector<std::string>& parts, size_t count);

// The node a path names, or null. A path ending in a backslash names only
// a directory.
Node* Find(const std::string& path);
// Key of the path's parent directory when that exists as a directory.
bool ExistingParent(const std::string& path, std::string* parentKey,
                    std::string* name);
std::string KeyOf(const std::string& path);  // "" when not a full path

// Copies `text` into `buffer` (size bytes) like lstrcpynA; returns the
// number of characters copied.
unsigned CopyCut(const std::string& text, char* buffer, unsigned size);

// Code page 932 text to the number of UTF-16 units it converts to.
size_t WideLength(const std::string& text);

// Keeps `code` for LastErrorCode() and returns false: the end of a failing
// operation.
bool Fail(unsigned code);
// The start of every counted operation (fake_world.h, "Failure and kill
// points"): false, with the code kept, when this call is to fail or the
// process is dead; the operation then changes nothing.
bool CountCall();

// Copies `from` as CopyFileA copies onto `to`, or, with `stagedAs`, refuses
// what staging a copy for `to` refuses and writes it to the new file
// `stagedAs` instead (fake_files.cc).
bool CopyNode(const char* from, const char* to, const std::string* stagedAs);

// The code Windows gives for a name that is not there: the file is missing
// (2) or already its folder is (3).
unsigned MissingCode(const std::string& path);

// Windows error codes the fake gives.
const unsigned kErrorFileNotFound = 2;
const unsigned kErrorPathNotFound = 3;
const unsigned kErrorAccessDenied = 5;
const unsigned kErrorSharingViolation = 32;
const unsigned kErrorFileExists = 80;
const unsigned kErrorInvalidName = 123;
const unsigned kErrorFilenameExcedRange = 206;
const unsigned kErrorAlreadyExists = 183;
const unsigned kErrorDirectory = 267;
const unsigned kErrorOperationAborted = 995;  // what a dead process meets

}  // namespace internal
}  // namespace fake

#endif  // UPDATER_TESTS_FAKE_FAKE_STATE_H_
