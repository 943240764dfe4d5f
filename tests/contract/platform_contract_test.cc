// The platform contract: what the updater relies on from each call of
// platform/platform.h. The same tests run against the fake world (host
// build) and against real Win32 under Wine (Windows build), which keeps
// the fake honest. Arranging is done through tests/contract/test_env.h.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/staged_names.h"
#include "settings/app_paths.h"
#include "tests/contract/test_env.h"

namespace {

// One file replaced through the staged steps, as COPY replaces each of its
// files: its full path found, a name from 0x1234 on, staged, checked,
// swapped, the backup removed. A failure leaves nothing staged and keeps its
// step's code.
bool ReplaceByStaging(const char* from, const char* path) {
  platform::HeapArray<char> full;
  bool exists = false;
  unsigned char taken[platform::kStagedNumberBytes];
  unsigned number = 0x1234;
  if (!platform::FileFullPath(path, &full, &exists) ||
      !platform::FindStagedNumber(full.get(), NULL, taken, &number) ||
      !platform::StageCopy(from, full.get(), number)) {
    return false;
  }
  const char* const to = full.get();
  if ((exists && !platform::WritableNow(to)) ||
      !platform::SwapStaged(to, number)) {
    platform::RemoveStaged(to, number, platform::kStagedCopy);
    return false;
  }
  return platform::RemoveStaged(to, number, platform::kStagedBackup);
}

class PlatformContract : public ::testing::Test {
 protected:
  void SetUp() override { testenv::SetUp(); }
  void TearDown() override { testenv::TearDown(); }
};

std::string Lower(std::string text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= 'A' && text[i] <= 'Z') text[i] = text[i] - 'A' + 'a';
  }
  return text;
}

bool IsFullPath(const std::string& path) {
  return path.size() >= 3 && path[1] == ':' && path[2] == '\\';
}

// The local last-write date LastWriteDate reads, as "yyyy-mm-dd", or why
// it read none.
std::string LastWriteText(const std::string& path) {
  platform::FileDate date = {0, 0, 0};
  if (platform::LastWriteDate(path.c_str(), &date) != platform::kFileDateRead)
    return "not read";
  char text[16];
  snprintf(text, sizeof text, "%04u-%02u-%02u", date.year, date.month,
           date.day);
  return text;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// ---- Paths, folders, system -------------------------------------------

TEST_F(PlatformContract, ModuleFileNameIsTheFullPathOfTheExecutable) {
  char buffer[platform::kMaxPath];
  memset(buffer, 0, sizeof(buffer));
  unsigned length = platform::ModuleFileName(buffer, sizeof(buffer));
  EXPECT_EQ(strlen(buffer), length);
  EXPECT_TRUE(IsFullPath(buffer)) << buffer;
  EXPECT_TRUE(EndsWith(Lower(buffer), "\\" + Lower(testenv::ExecutableName())))
      << buffer;
}

TEST_F(PlatformContract, ModuleFileNameCutsToASmallBuffer) {
  char full[platform::kMaxPath];
  ASSERT_LT(4u, platform::ModuleFileName(full, sizeof(full)));
  char buffer[8];
  memset(buffer, 'z', sizeof(buffer));
  // The result is the buffer's size. Whether the last byte is the fifth
  // character or a terminator differs between systems: callers may not
  // rely on either.
  EXPECT_EQ(5u, platform::ModuleFileName(buffer, 5));
  EXPECT_EQ(std::string(full, 4), std::string(buffer, 4));
  EXPECT_EQ('z', buffer[5]);
}

TEST_F(PlatformContract, WindowsAndSystemDirectoriesAreFullPathsWithoutSlash) {
  typedef unsigned (*DirectoryCall)(char*, unsigned);
  const DirectoryCall calls[] = {platform::WindowsDirectory,
                                 platform::SystemDirectory};
  for (size_t i = 0; i < 2; ++i) {
    char buffer[platform::kMaxPath];
    memset(buffer, 0, sizeof(buffer));
    unsigned length = calls[i](buffer, sizeof(buffer));
    EXPECT_EQ(strlen(buffer), length) << i;
    EXPECT_TRUE(IsFullPath(buffer)) << buffer;
    EXPECT_NE('\\', buffer[strlen(buffer) - 1]) << buffer;
    // Too small a buffer: the size needed, terminator included.
    char small[3] = {'z', 'z', 'z'};
    EXPECT_EQ(length + 1, calls[i](small, sizeof(small))) << i;
  }
}

TEST_F(PlatformContract, QuietCriticalErrorsSetsBothFlags) {
  platform::QuietCriticalErrors();
  const unsigned mode = platform::QuietCriticalErrors();
  EXPECT_EQ(platform::kSemFailCriticalErrors | platform::kSemNoOpenFileErrorBox,
            mode & (platform::kSemFailCriticalErrors |
                    platform::kSemNoOpenFileErrorBox));
}

// Every system tested here is of the NT family (VER_PLATFORM_WIN32_NT, 2).
// Windows 95, 98 and Me report VER_PLATFORM_WIN32_WINDOWS (1), which only
// the fake can stand for (fake::SetPlatformId).
TEST_F(PlatformContract, PlatformIsNt) {
  EXPECT_EQ(platform::kPlatformWin32Nt, platform::PlatformId());
}

// The per-user and all-users Programs and Desktop folders the updater
// asks for are existing folders, given as full paths without a trailing
// backslash.
TEST_F(PlatformContract, SpecialFoldersAreExistingFolders) {
  const int folders[] = {
      platform::kCsidlPrograms, platform::kCsidlDesktopDirectory,
      platform::kCsidlCommonPrograms, platform::kCsidlCommonDesktopDirectory};
  for (size_t i = 0; i < 4; ++i) {
    char buffer[platform::kMaxPath];
    memset(buffer, 0, sizeof(buffer));
    ASSERT_TRUE(platform::SpecialFolderPath(folders[i], buffer)) << folders[i];
    EXPECT_TRUE(IsFullPath(buffer)) << buffer;
    EXPECT_NE('\\', buffer[strlen(buffer) - 1]) << buffer;
    const unsigned attributes = testenv::ReadAttributes(buffer);
    EXPECT_TRUE(attributes != testenv::kNoAttributes &&
                (attributes & platform::kAttributeDirectory) != 0)
        << buffer;
  }
}

TEST_F(PlatformContract, FailedSpecialFolderLeavesTheBufferAsItWas) {
  char buffer[platform::kMaxPath];
  memset(buffer, 'x', sizeof(buffer));
  buffer[sizeof(buffer) - 1] = '\0';
  const std::string before = buffer;
  EXPECT_FALSE(platform::SpecialFolderPath(0x7F, buffer));  // no such folder
  EXPECT_EQ(before, buffer);
}

// ---- Characters ----------------------------------------------------------

// Code page 932's characters, whatever the system's own code page.
TEST_F(PlatformContract, NextCharStepsOverCodePage932Characters) {
  // Every byte value followed by a backslash: the lead bytes of code page
  // 932 take it with them, every other byte stands alone.
  for (int c = 1; c < 256; ++c) {
    const char text[] = {static_cast<char>(c), '\\', '\0'};
    const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    EXPECT_EQ(text + (lead ? 2 : 1), platform::NextChar(text)) << c;
  }
  // A lead byte right before the terminator is a character of its own, and
  // the terminator is never passed.
  const char text[] = "a\x83\x7D\x83";
  EXPECT_EQ(text + 1, platform::NextChar(text));
  EXPECT_EQ(text + 3, platform::NextChar(text + 1));
  EXPECT_EQ(text + 4, platform::NextChar(text + 3));
  EXPECT_EQ(text + 4, platform::NextChar(text + 4));
}

// ---- FileSearch --------------------------------------------------------

// All names a search delivers, sorted (the order differs between file
// systems), with "/" after directories.
std::vector<std::string> Listing(const std::string& pattern) {
  std::vector<std::string> names;
  platform::FileSearch search;
  platform::FindEntry entry;
  if (!search.First(pattern.c_str(), &entry)) return names;
  do {
    std::string name = entry.name;
    if (entry.attributes & platform::kAttributeDirectory) name += "/";
    names.push_back(name);
  } while (search.Next(&entry));
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> Names(const char* const* names, size_t count) {
  std::vector<std::string> result(names, names + count);
  std::sort(result.begin(), result.end());
  return result;
}

class FileSearchContract : public PlatformContract {
 protected:
  void SetUp() override {
    PlatformContract::SetUp();
    ASSERT_TRUE(testenv::WriteFile(testenv::Path("a.txt"), "a"));
    ASSERT_TRUE(testenv::WriteFile(testenv::Path("b.TXT"), "b"));
    ASSERT_TRUE(testenv::WriteFile(testenv::Path("c.dat"), "c"));
    ASSERT_TRUE(testenv::WriteFile(testenv::Path("noext"), "n"));
    ASSERT_TRUE(testenv::MakeDir(testenv::Path("sub")));
  }
};

TEST_F(FileSearchContract, PatternsMatchAsFindFirstFileDoes) {
  struct Case {
    const char* pattern;  // below the scratch root
    const char* expected[8];
    size_t count;
  };
  const Case cases[] = {
      {"a.txt", {"a.txt"}, 1},
      {"A.TXT", {"a.txt"}, 1},  // case-insensitive, stored case reported
      {"sub", {"sub/"}, 1},     // a directory's own path finds it
      {"*.txt", {"a.txt", "b.TXT"}, 2},
      {"?.dat", {"c.dat"}, 1},
      {"*.*", {"./", "../", "a.txt", "b.TXT", "c.dat", "noext", "sub/"}, 7},
      {"sub\\", {}, 0},  // a trailing backslash never matches
      {"missing.txt", {}, 0},
      {"missing\\*.txt", {}, 0},
      {"*.none", {}, 0},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    EXPECT_EQ(Names(cases[i].expected, cases[i].count),
              Listing(testenv::Path(cases[i].pattern)))
        << cases[i].pattern;
  }
  EXPECT_TRUE(Listing("").empty());
  // A drive's root has no "." or "..".
  const std::vector<std::string> root = Listing("C:\\*");
  EXPECT_FALSE(root.empty());
  EXPECT_EQ(0, std::count(root.begin(), root.end(), "./"));
  EXPECT_EQ(0, std::count(root.begin(), root.end(), "../"));
}

// "<folder>\." finds the folder itself (a path ending in a backslash does
// not); a drive's root is found neither way.
TEST_F(FileSearchContract, TrailingDotFindsAFolderButNotADriveRoot) {
  platform::FileSearch search;
  platform::FindEntry entry;
  ASSERT_TRUE(search.First(testenv::Path("sub\\.").c_str(), &entry));
  EXPECT_NE(0u, entry.attributes & platform::kAttributeDirectory);
  EXPECT_FALSE(search.First(testenv::Path("missing\\.").c_str(), &entry));
  EXPECT_FALSE(search.First("C:\\.", &entry));
  EXPECT_FALSE(search.First("C:\\", &entry));
}

TEST_F(FileSearchContract, SearchEndsAndClosesCleanly) {
  platform::FileSearch search;
  platform::FindEntry entry;
  ASSERT_TRUE(search.First(testenv::Path("a.txt").c_str(), &entry));
  EXPECT_EQ(0u, entry.attributes & platform::kAttributeDirectory);
  EXPECT_EQ(1u, entry.size);
  EXPECT_FALSE(search.Next(&entry));  // a plain path has one match
  search.Close();
  search.Close();  // a second close does nothing
  EXPECT_FALSE(search.Next(&entry));
  // The object can search again after closing.
  ASSERT_TRUE(
      testenv::WriteFile(testenv::Path("c.dat"), std::string(70000, 'c')));
  EXPECT_TRUE(search.First(testenv::Path("c.dat").c_str(), &entry));
  EXPECT_STREQ("c.dat", entry.name);
  EXPECT_EQ(70000u, entry.size);
}

// ---- Paths ---------------------------------------------------------------

// Every call takes its path through Win32's folding: "." and ".." steps,
// "/" and doubled separators; a name followed by a separator loses one
// trailing period, the last name loses all its trailing periods and blanks
// (as .NET's "File path formats on Windows systems" documents the steps).
TEST_F(PlatformContract, PathsAreFoldedAsWin32FoldsThem) {
  ASSERT_TRUE(testenv::MakeDir(testenv::Path("sub")));
  ASSERT_TRUE(testenv::WriteFile(testenv::Path("sub\\in.txt"), "in"));
  const struct {
    const char* path;
    bool found;
  } cases[] = {
      {"sub\\.\\in.txt", true}, {"x\\..\\sub\\in.txt", true},
      {"sub/in.txt", true},     {"sub\\\\in.txt", true},
      {"sub.\\in.txt", true},   {"sub\\in.txt.", true},
      {"sub\\in.txt. .", true}, {"sub\\in.txt ", true},
      {"sub..\\in.txt", false},  // only one period goes before a separator
      {"sub \\in.txt", false},   // and no blank
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    platform::FileSearch search;
    platform::FindEntry entry;
    const bool found =
        search.First(testenv::Path(cases[i].path).c_str(), &entry);
    EXPECT_EQ(cases[i].found, found) << cases[i].path;
    if (found) EXPECT_STREQ("in.txt", entry.name) << cases[i].path;
  }
  // New names are folded as well.
  ASSERT_TRUE(platform::MakeDirectory(testenv::Path("made.").c_str()));
  ASSERT_TRUE(
      platform::CopyFileOver(testenv::Path("sub/./in.txt").c_str(),
                             testenv::Path("x\\..\\out.txt. ").c_str()));
  const char* const names[] = {"./", "../", "made/", "out.txt", "sub/"};
  EXPECT_EQ(Names(names, 5), Listing(testenv::Path("*")));
}

// ---- Attributes ------------------------------------------------------------

TEST_F(PlatformContract, ReadOnlyAttributeRoundTrips) {
  const std::string file = testenv::Path("f.txt");
  ASSERT_TRUE(testenv::WriteFile(file, "x"));
  ASSERT_TRUE(platform::SetAttributes(file.c_str(), 0x21));
  EXPECT_EQ(0x21u, testenv::ReadAttributes(file));
  platform::FileSearch search;
  platform::FindEntry entry;
  ASSERT_TRUE(search.First(file.c_str(), &entry));
  EXPECT_EQ(0x21u, entry.attributes);
  ASSERT_TRUE(platform::SetAttributes(file.c_str(), 0x20));
  EXPECT_EQ(0x20u, testenv::ReadAttributes(file));
}

// SetFileAttributesA sets read-only, hidden, system and archive (and three
// rarer bits left out here, as Wine drops them); the directory (0x10),
// volume (0x8) and device (0x40) bits are not set. FILE_ATTRIBUTE_NORMAL is
// "valid only when used alone": a file without any other attribute reads
// back as NORMAL, and NORMAL beside another bit is dropped.
TEST_F(PlatformContract, SetAttributesKeepsOnlyTheBitsItCanSet) {
  if (!testenv::HiddenAndSystemAttributesKept()) {
    GTEST_SKIP() << "this file system drops the hidden and system attributes";
  }
  const bool archiveClears = testenv::ArchiveAttributeCanBeCleared();
  const std::string file = testenv::Path("f.txt");
  const std::string folder = testenv::Path("d");
  ASSERT_TRUE(testenv::WriteFile(file, "x"));
  ASSERT_TRUE(testenv::MakeDir(folder));
  const struct {
    bool folder;
    unsigned set;
    unsigned expected;
  } cases[] = {
      {false, 0x0, 0x80},  {false, 0x80, 0x80}, {false, 0x81, 0x1},
      {false, 0x1F, 0x7},  {false, 0x58, 0x80}, {false, 0x26, 0x26},
      {false, 0x21, 0x21}, {true, 0x0, 0x10},   {true, 0x80, 0x10},
      {true, 0x12, 0x12},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    const std::string& path = cases[i].folder ? folder : file;
    ASSERT_TRUE(platform::SetAttributes(path.c_str(), cases[i].set)) << i;
    unsigned expected = cases[i].expected;
    if (!cases[i].folder && !archiveClears) {
      expected = (expected & ~platform::kAttributeNormal) |
                 platform::kAttributeArchive;
    }
    EXPECT_EQ(expected, testenv::ReadAttributes(path))
        << (cases[i].folder ? "folder" : "file") << " set to 0x" << std::hex
        << cases[i].set;
  }
}

TEST_F(PlatformContract, SetAttributesRefusesMissingAndWildcardNames) {
  ASSERT_TRUE(testenv::WriteFile(testenv::Path("w.txt"), "x"));
  EXPECT_FALSE(
      platform::SetAttributes(testenv::Path("missing.txt").c_str(), 0x20));
  EXPECT_FALSE(platform::SetAttributes(testenv::Path("*.txt").c_str(), 0x20));
  EXPECT_FALSE(platform::SetAttributes(testenv::Path("w.tx?").c_str(), 0x20));
  EXPECT_FALSE(platform::SetAttributes("", 0x20));
}

TEST_F(PlatformContract, AttributesOfAHeldFileCanBeChanged) {
  const std::string file = testenv::Path("held.txt");
  ASSERT_TRUE(testenv::WriteFile(file, "x"));
  ASSERT_TRUE(testenv::HoldOpen(file));
  EXPECT_TRUE(platform::SetAttributes(file.c_str(), 0x21));
  testenv::Release(file);
  EXPECT_EQ(0x21u, testenv::ReadAttributes(file));
}

// ---- MakeDirectory -------------------------------------------------------

TEST_F(PlatformContract, MakeDirectoryCreatesOneLevelOnly) {
  const std::string made = testenv::Path("new");
  ASSERT_TRUE(platform::MakeDirectory(made.c_str()));
  EXPECT_NE(0u, testenv::ReadAttributes(made) & platform::kAttributeDirectory);
  EXPECT_FALSE(platform::MakeDirectory(made.c_str()));  // exists
  EXPECT_FALSE(platform::MakeDirectory(testenv::Path("a\\b").c_str()));
  EXPECT_EQ(testenv::kNoAttributes,
            testenv::ReadAttributes(testenv::Path("a")));
  ASSERT_TRUE(testenv::WriteFile(testenv::Path("file"), "x"));
  EXPECT_FALSE(platform::MakeDirectory(testenv::Path("file").c_str()));
  EXPECT_FALSE(platform::MakeDirectory(""));
}

// Windows reserves < > : " | ? * and the codes 1 to 31 in names
// ("Naming Files, Paths, and Namespaces"); CreateDirectoryA fails on them
// with ERROR_INVALID_NAME and creates nothing.
TEST_F(PlatformContract, MakeDirectoryRefusesReservedCharacters) {
  const char* const names[] = {"a*b", "a?b", "a\"b",   "a<b",
                               "a>b", "a|b", "a\x01z", "a\x1Fz"};
  for (size_t i = 0; i < sizeof(names) / sizeof(names[0]); ++i) {
    EXPECT_FALSE(platform::MakeDirectory(testenv::Path(names[i]).c_str())) << i;
  }
  EXPECT_EQ(2u, Listing(testenv::Path("*")).size());  // "." and ".." only
}

TEST_F(PlatformContract, MakeDirectoryRefusesAColonInAName) {
  if (!testenv::ColonRefusedInNames()) {
    GTEST_SKIP() << "this side creates names with a colon";
  }
  EXPECT_FALSE(platform::MakeDirectory(testenv::Path("a:b").c_str()));
  EXPECT_EQ(2u, Listing(testenv::Path("*")).size());
}

// ---- RemoveFile ----------------------------------------------------------

TEST_F(PlatformContract, RemoveFileDeletesAPlainFile) {
  const std::string file = testenv::Path("gone.txt");
  ASSERT_TRUE(testenv::WriteFile(file, "x"));
  EXPECT_TRUE(platform::RemoveFile(file.c_str()));
  EXPECT_EQ(testenv::kNoAttributes, testenv::ReadAttributes(file));
}

TEST_F(PlatformContract, RemoveFileFailsAndKeepsTheFile) {
  const std::string readOnly = testenv::Path("ro.txt");
  const std::string held = testenv::Path("held.txt");
  ASSERT_TRUE(testenv::WriteFile(readOnly, "x"));
  ASSERT_TRUE(platform::SetAttributes(readOnly.c_str(), 0x21));
  ASSERT_TRUE(testenv::WriteFile(held, "x"));
  ASSERT_TRUE(testenv::HoldOpen(held));
  ASSERT_TRUE(testenv::MakeDir(testenv::Path("dir")));

  EXPECT_FALSE(platform::RemoveFile(readOnly.c_str()));
  EXPECT_FALSE(platform::RemoveFile(held.c_str()));
  EXPECT_FALSE(platform::RemoveFile(testenv::Path("dir").c_str()));
  EXPECT_FALSE(platform::RemoveFile(testenv::Path("missing.txt").c_str()));
  EXPECT_FALSE(platform::RemoveFile(testenv::Path("*.txt").c_str()));
  EXPECT_FALSE(platform::RemoveFile(""));

  testenv::Release(held);
  EXPECT_NE(testenv::kNoAttributes, testenv::ReadAttributes(readOnly));
  EXPECT_NE(testenv::kNoAttributes, testenv::ReadAttributes(held));
  EXPECT_NE(testenv::kNoAttributes,
            testenv::ReadAttributes(testenv::Path("dir")));
}

// ---- CopyFileOver and ReplaceFileByCopy ----------------------------------

class CopyFiles : public PlatformContract {
 protected:
  void SetUp() override {
    PlatformContract::SetUp();
    source_ = testenv::Path("source.bin");
    ASSERT_TRUE(testenv::WriteFile(source_, std::string("new\0data", 8)));
  }
  std::string Read(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(testenv::ReadFile(path, &bytes)) << path;
    return bytes;
  }
  std::string source_;
};
typedef CopyFiles ReplaceContract;

// The two ways a copy reaches its destination: CopyFileA writing into it,
// and a copy made beside it and renamed over it. The second refuses what
// the first refuses, also where this side's CopyFileA would write through.
struct CopyRoute {
  const char* name;
  bool (*copy)(const char* from, const char* to);
  bool replaces;
};
void PrintTo(const CopyRoute& route, std::ostream* out) { *out << route.name; }
const CopyRoute kCopyRoutes[] = {
    {"CopyFileOver", platform::CopyFileOver, false},
    {"ReplaceByStaging", ReplaceByStaging, true}};

class CopyContract : public CopyFiles,
                     public ::testing::WithParamInterface<CopyRoute> {
 protected:
  bool Copy(const std::string& from, const std::string& to) {
    return GetParam().copy(from.c_str(), to.c_str());
  }
};

INSTANTIATE_TEST_SUITE_P(Routes, CopyContract, ::testing::ValuesIn(kCopyRoutes),
                         [](const ::testing::TestParamInfo<CopyRoute>& info) {
                           return std::string(info.param.name);
                         });

TEST_P(CopyContract, CopiesOverAnExistingFileOrIntoANewOne) {
  const std::string target = testenv::Path("target.bin");
  ASSERT_TRUE(testenv::WriteFile(target, "old contents, longer"));
  const std::string fresh = testenv::Path("fresh.bin");
  for (const std::string& to : {target, fresh}) {
    ASSERT_TRUE(Copy(source_, to)) << to;
    EXPECT_EQ(std::string("new\0data", 8), Read(to));
  }
}

TEST_P(CopyContract, CarriesReadOnlyAttributeAndLastWriteDate) {
  ASSERT_TRUE(testenv::SetLastWrite(source_, 2001, 4, 25, 12, 0));
  ASSERT_TRUE(platform::SetAttributes(source_.c_str(), 0x21));
  const std::string fresh = testenv::Path("fresh.bin");
  const std::string target = testenv::Path("target.bin");
  ASSERT_TRUE(testenv::WriteFile(target, "old"));
  // Wine's CopyFileA leaves an existing destination's attributes as they
  // were, so only the replacement is held to them there.
  const std::vector<std::string> targets =
      GetParam().replaces ? std::vector<std::string>{fresh, target}
                          : std::vector<std::string>{fresh};
  for (const std::string& to : targets) {
    ASSERT_TRUE(Copy(source_, to)) << to;
    EXPECT_EQ(0x21u, testenv::ReadAttributes(to));
    ASSERT_TRUE(platform::SetAttributes(to.c_str(), 0x20));
    EXPECT_EQ("2001-04-25", LastWriteText(to));
  }
}

// Every refusal leaves the destination as it was and no file behind, and
// keeps the code of the step that failed, not that of a cleanup after it.
TEST_P(CopyContract, FailsWithoutChangingTheDestination) {
  const std::string old = testenv::Path("old.bin");
  ASSERT_TRUE(testenv::MakeDir(testenv::Path("dir")));
  const struct {
    const char* what;
    std::string from;
    std::string to;
    bool held;          // `to` held open without sharing
    bool readOnly;      // `to` read-only
    unsigned codes[2];  // CopyFileOver's, ReplaceByStaging's
  } cases[] = {
      {"held", source_, old, true, false, {32, 32}},
      {"read-only", source_, old, false, true, {5, 5}},
      {"missing source",
       testenv::Path("missing.bin"),
       old,
       false,
       false,
       {2, 2}},
      {"source is a folder", testenv::Path("dir"), old, false, false, {5, 5}},
      {"destination is a folder",
       source_,
       testenv::Path("dir"),
       false,
       false,
       {5, 5}},
      {"missing folder",
       source_,
       testenv::Path("missing\\t.bin"),
       false,
       false,
       {3, 3}},
      {"wildcard", source_, testenv::Path("o*.bin"), false, false, {123, 123}},
      {"empty source", "", old, false, false, {3, 3}},
      {"empty destination", source_, "", false, false, {3, 3}},
  };
  for (const auto& c : cases) {
    if (c.readOnly && !GetParam().replaces &&
        !testenv::ReadOnlyDestinationRefusesCopy()) {
      continue;  // this side's CopyFileA writes through read-only files
    }
    ASSERT_TRUE(testenv::WriteFile(old, "kept"));
    const std::vector<std::string> before = Listing(testenv::Path("*"));
    if (c.held) ASSERT_TRUE(testenv::HoldOpen(old));
    if (c.readOnly) ASSERT_TRUE(platform::SetAttributes(old.c_str(), 0x21));
    EXPECT_FALSE(Copy(c.from, c.to)) << c.what;
    EXPECT_EQ(c.codes[GetParam().replaces], platform::LastErrorCode())
        << c.what;
    testenv::Release(old);
    ASSERT_TRUE(platform::SetAttributes(old.c_str(), 0x20));
    EXPECT_EQ("kept", Read(old)) << c.what;
    EXPECT_EQ(before, Listing(testenv::Path("*"))) << c.what;
  }
}

TEST_P(CopyContract, HeldSourceCannotBeCopied) {
  ASSERT_TRUE(testenv::HoldOpen(source_));
  EXPECT_FALSE(Copy(source_, testenv::Path("t.bin")));
  const char* const expected[] = {"../", "./", "source.bin"};
  EXPECT_EQ(Names(expected, 3), Listing(testenv::Path("*")));
}

// CopyFileA "fails with ERROR_ACCESS_DENIED if the destination file already
// exists and has the FILE_ATTRIBUTE_HIDDEN or FILE_ATTRIBUTE_READONLY
// attribute set". The copy takes the source's attributes, and CreateFileA
// with CREATE_ALWAYS refuses to replace a hidden or system file unless the
// new file has the same attributes: a source with the same bit replaces it.
TEST_P(CopyContract, HiddenOrSystemDestinationNeedsTheSameBit) {
  if (!GetParam().replaces &&
      !testenv::HiddenOrSystemDestinationRefusesCopy()) {
    GTEST_SKIP() << "this side replaces hidden and system files";
  }
  const struct {
    unsigned source;
    unsigned target;
    bool copied;
  } cases[] = {
      {0x20, 0x22, false},
      {0x22, 0x22, true},
      {0x20, 0x24, false},
      {0x24, 0x24, true},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    const std::string target = testenv::Path(std::string(1, 'a' + i) + ".bin");
    ASSERT_TRUE(platform::SetAttributes(source_.c_str(), cases[i].source));
    ASSERT_TRUE(testenv::WriteFile(target, "kept"));
    ASSERT_TRUE(platform::SetAttributes(target.c_str(), cases[i].target));
    if (testenv::ReadAttributes(target) != cases[i].target) {
      GTEST_SKIP() << "this file system keeps no hidden or system attribute";
    }
    EXPECT_EQ(cases[i].copied, Copy(source_, target)) << i;
    EXPECT_EQ(cases[i].copied ? std::string("new\0data", 8) : "kept",
              Read(target))
        << i;
    if (cases[i].copied)
      EXPECT_EQ(cases[i].source, testenv::ReadAttributes(target));
  }
}

// CopyFileA opens the source for reading, then the destination for writing
// without sharing: the same file under any spelling is a sharing violation.
TEST_F(CopyFiles, CopyOntoItselfFailsAndKeepsTheFile) {
  ASSERT_TRUE(testenv::MakeDir(testenv::Path("sub")));
  const char* const spellings[] = {"source.bin", "SOURCE.BIN",
                                   "sub\\..\\source.bin", "source.bin."};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_FALSE(platform::CopyFileOver(source_.c_str(),
                                        testenv::Path(spellings[i]).c_str()))
        << spellings[i];
  }
  EXPECT_EQ(std::string("new\0data", 8), Read(source_));
}

TEST_F(ReplaceContract, ReplacesWholeUnderTheStoredNameAndLeavesNothingElse) {
  ASSERT_TRUE(
      testenv::WriteFile(testenv::Path("Target.BIN"), "old contents, longer"));
  // A file a killed run could have left, and one an author could have.
  ASSERT_TRUE(testenv::WriteFile(testenv::Path("~up1234.tmp"), "left"));
  ASSERT_TRUE(testenv::WriteFile(testenv::Path("TARGET.bin.tmp"), "mine"));
  ASSERT_TRUE(
      ReplaceByStaging(source_.c_str(), testenv::Path("TARGET.bin").c_str()));
  EXPECT_EQ(std::string("new\0data", 8), Read(testenv::Path("target.bin")));
  ASSERT_TRUE(
      ReplaceByStaging(source_.c_str(), testenv::Path("fresh.bin").c_str()));
  EXPECT_EQ(std::string("new\0data", 8), Read(testenv::Path("fresh.bin")));
  // Onto itself: nothing lost.
  ASSERT_TRUE(ReplaceByStaging(source_.c_str(), source_.c_str()));
  EXPECT_EQ(std::string("new\0data", 8), Read(source_));

  const char* const expected[] = {"../",        "./",        "TARGET.bin.tmp",
                                  "Target.BIN", "fresh.bin", "source.bin",
                                  "~up1234.tmp"};
  EXPECT_EQ(Names(expected, 7), Listing(testenv::Path("*")));
  EXPECT_EQ("left", Read(testenv::Path("~up1234.tmp")));
  EXPECT_EQ("mine", Read(testenv::Path("TARGET.bin.tmp")));
}

// Every destination CopyFileA can write can be replaced: Windows' limits,
// counted in wide characters, whatever room the temporary name beside it
// takes. Folders of `count` characters in all, of ASCII or of ソ and カ
// (Shift-JIS, two bytes each, the first with the byte of a backslash).
TEST_F(ReplaceContract, TakesEveryPathCopyFileTakes) {
  const struct {
    size_t count;
    const char* unit;
  } cases[] = {{248, "d"},
               {249, "d"},
               {253, "d"},
               {254, "d"},
               {300, "d"},
               {260, "\x83\x5C"},
               {200 + testenv::Root().size(), "\x83\x4A"}};
  for (size_t n = 0; n < sizeof cases / sizeof cases[0]; ++n) {
    const auto& c = cases[n];
    SCOPED_TRACE(std::to_string(c.count) + " x " + c.unit);
    // Made part by part, each of at most 60 characters, in a folder of its
    // own below the scratch root (which is ASCII).
    std::string folder = testenv::Path(std::string(1, 'a' + n));
    size_t length = folder.size();
    bool made = testenv::MakeDir(folder);
    while (length < c.count && made) {
      const size_t left = c.count - length - 1;
      size_t part = left > 60 ? 60 : left;
      if (left - part == 1) --part;  // never an empty part next
      folder += '\\';
      for (size_t i = 0; i < part; ++i) folder += c.unit;
      length += part + 1;
      made = testenv::MakeDir(folder);
    }
    // "\t.bin": 6 more characters.
    const std::string copied = folder + "\\c.bin";
    const std::string target = folder + "\\t.bin";
    if (!made || !testenv::WriteFile(target, "old")) {
      EXPECT_GE(c.count, platform::kMaxPath);  // this side makes none such
      continue;
    }
    const bool copyTakesIt =
        platform::CopyFileOver(source_.c_str(), copied.c_str());
    EXPECT_EQ(copyTakesIt, ReplaceByStaging(source_.c_str(), target.c_str()));
    if (c.count + 6 < platform::kMaxPath) EXPECT_TRUE(copyTakesIt);
    EXPECT_EQ(copyTakesIt ? std::string("new\0data", 8) : "old", Read(target));
    EXPECT_EQ(copyTakesIt ? 4u : 3u, Listing(folder + "\\*").size());
  }
}

// Each staged step alone: the destination changes only at the swap, the
// old file stays as the backup until it is removed or put back, and a
// restore undoes exactly what happened, once.
TEST_F(ReplaceContract, StagedStepsCanEachBeUndone) {
  const auto named = [](unsigned number, platform::StagedRole role) {
    char name[platform::kStagedNameSize];
    platform::StagedName(number, role, name);
    return testenv::Path(name);
  };
  const std::string target = testenv::Path("target.bin");
  const std::string fresh = testenv::Path("fresh.bin");
  const std::string newBytes("new\0data", 8);
  ASSERT_TRUE(testenv::WriteFile(target, "old"));
  ASSERT_TRUE(testenv::WriteFile(named(7, platform::kStagedBackup), "mine"));
  ASSERT_TRUE(testenv::WriteFile(named(9, platform::kStagedCopy), "mine"));
  // 7's backup name and 9's staged name are taken; 8 is given out first.
  unsigned char taken[platform::kStagedNumberBytes];
  unsigned number = 7;
  ASSERT_TRUE(platform::FindStagedNumber(target.c_str(), NULL, taken, &number));
  EXPECT_EQ(8u, number);
  ASSERT_TRUE(platform::FindStagedNumber(fresh.c_str(), target.c_str(), taken,
                                         &number));
  EXPECT_EQ(10u, number);
  ASSERT_TRUE(platform::RemoveFile(named(9, platform::kStagedCopy).c_str()));
  const std::string staged = named(8, platform::kStagedCopy);
  const std::string backup = named(8, platform::kStagedBackup);
  ASSERT_TRUE(platform::StageCopy(source_.c_str(), target.c_str(), 8));
  EXPECT_EQ(newBytes, Read(staged));
  EXPECT_EQ("old", Read(target));
  EXPECT_TRUE(platform::WritableNow(target.c_str()));
  ASSERT_TRUE(platform::SwapStaged(target.c_str(), 8));
  EXPECT_EQ(newBytes, Read(target));
  EXPECT_EQ("old", Read(backup));
  EXPECT_EQ(testenv::kNoAttributes, testenv::ReadAttributes(staged));
  EXPECT_EQ(platform::kRestored,
            platform::RestoreStaged(target.c_str(), 8, false));
  EXPECT_EQ(platform::kNothingToRestore,
            platform::RestoreStaged(target.c_str(), 8, false));
  EXPECT_EQ("old", Read(target));
  // A new destination swapped in is removed again; one never swapped is
  // left alone, only its staged file goes.
  ASSERT_TRUE(platform::StageCopy(source_.c_str(), fresh.c_str(), 9));
  ASSERT_TRUE(platform::SwapStaged(fresh.c_str(), 9));
  EXPECT_EQ(platform::kRestored,
            platform::RestoreStaged(fresh.c_str(), 9, true));
  ASSERT_TRUE(platform::StageCopy(source_.c_str(), target.c_str(), 9));
  EXPECT_EQ(platform::kNothingToRestore,
            platform::RestoreStaged(target.c_str(), 9, true));
  // A held destination is not writable and cannot be swapped; it stays.
  ASSERT_TRUE(platform::StageCopy(source_.c_str(), target.c_str(), 10));
  ASSERT_TRUE(testenv::HoldOpen(target));
  EXPECT_FALSE(platform::WritableNow(target.c_str()));
  EXPECT_EQ(32u, platform::LastErrorCode());
  // Renaming it needs delete sharing: refused as the opening is.
  EXPECT_FALSE(platform::SwapStaged(target.c_str(), 10));
  EXPECT_EQ(platform::kErrorSharingViolation, platform::LastErrorCode());
  testenv::Release(target);
  EXPECT_EQ("old", Read(target));
  EXPECT_TRUE(
      platform::RemoveStaged(target.c_str(), 10, platform::kStagedCopy));
  const char* const expected[] = {"../", "./", "source.bin", "target.bin",
                                  "~up0007.bak"};
  EXPECT_EQ(Names(expected, 5), Listing(testenv::Path("*")));
}

// The path every staged step and the journal work on: full, folded, taken
// from the working directory when relative, with the name a file is stored
// under. A path that names no file fails.
TEST_F(ReplaceContract, FullFilePathIsFoldedWithTheStoredName) {
  ASSERT_TRUE(testenv::WriteFile(testenv::Path("Stored.BIN"), "x"));
  ASSERT_TRUE(testenv::MakeDir(testenv::Path("sub")));
  const auto full = [](const std::string& path, bool* exists) {
    platform::HeapArray<char> text;
    return platform::FileFullPath(path.c_str(), &text, exists)
               ? std::string(text.get())
               : "failed " + std::to_string(platform::LastErrorCode());
  };
  const struct {
    std::string path;
    std::string full;  // or the failure's code
    bool exists;
  } cases[] = {
      {testenv::Path("sub\\..\\STORED.bin"), testenv::Path("Stored.BIN"), true},
      {testenv::Path("sub\\.\\New.bin"), testenv::Path("sub\\New.bin"), false},
      {testenv::Path("none\\a.bin"), testenv::Path("none\\a.bin"), false},
      {testenv::Path("sub\\"), "failed 123", false},
      {testenv::Path("*.bin"), "failed 123", false},
      {"", "failed 3", false},
  };
  for (const auto& c : cases) {
    bool exists = !c.exists;
    EXPECT_EQ(c.full, full(c.path, &exists)) << c.path;
    if (c.full.compare(0, 6, "failed") != 0) EXPECT_EQ(c.exists, exists);
  }
  bool exists = false;
  const std::string working = full(".", &exists);
  ASSERT_TRUE(working[1] == ':' || working.compare(0, 2, "\\\\") == 0)
      << working;
  EXPECT_EQ(working + "\\rel.bin", full("sub\\..\\rel.bin", &exists));
}

TEST_F(ReplaceContract, JournalFilesAreWrittenReadAndRenamedWhole) {
  const std::string journal = testenv::Path("j.~upj");
  const std::string committed = testenv::Path("j.~upc");
  const std::string text("R 0001 C:\\a\x83\x5C\n\0end", 18);
  ASSERT_TRUE(platform::WriteFileThrough(journal.c_str(), text.data(),
                                         static_cast<unsigned>(text.size())));
  ASSERT_TRUE(platform::WriteFileThrough(committed.c_str(), "x", 1));
  platform::HeapArray<char> bytes;
  unsigned size = 0;
  ASSERT_TRUE(platform::ReadWholeFile(journal.c_str(), 100, &bytes, &size));
  EXPECT_EQ(text, std::string(bytes.get(), size));
  EXPECT_EQ('\0', bytes[size]);
  EXPECT_FALSE(platform::ReadWholeFile(journal.c_str(), 10, &bytes, &size));
  EXPECT_EQ(223u, platform::LastErrorCode());
  EXPECT_FALSE(platform::RenameFile(journal.c_str(), committed.c_str()));
  EXPECT_EQ(183u, platform::LastErrorCode());
  ASSERT_TRUE(platform::RemoveFile(committed.c_str()));
  ASSERT_TRUE(platform::RenameFile(journal.c_str(), committed.c_str()));
  EXPECT_EQ(text, Read(committed));
  EXPECT_FALSE(platform::ReadWholeFile(journal.c_str(), 100, &bytes, &size));
  EXPECT_EQ(2u, platform::LastErrorCode());
}

// ---- LastWriteDate -------------------------------------------------------

TEST_F(PlatformContract, LastWriteDateIsTheLocalCalendarDate) {
  const std::string file = testenv::Path("dated.txt");
  ASSERT_TRUE(testenv::WriteFile(file, "x"));
  const int times[][5] = {
      {2001, 4, 25, 12, 0}, {1999, 12, 31, 23, 30}, {2030, 1, 1, 0, 30}};
  for (size_t i = 0; i < 3; ++i) {
    const int* t = times[i];
    ASSERT_TRUE(testenv::SetLastWrite(file, t[0], t[1], t[2], t[3], t[4]));
    platform::FileDate date = {0, 0, 0};
    ASSERT_EQ(platform::kFileDateRead,
              platform::LastWriteDate(file.c_str(), &date));
    EXPECT_EQ(t[0], date.year) << i;
    EXPECT_EQ(t[1], date.month) << i;
    EXPECT_EQ(t[2], date.day) << i;
  }
}

TEST_F(PlatformContract, LastWriteDateCannotOpenHeldMissingOrDirectory) {
  const std::string held = testenv::Path("held.txt");
  ASSERT_TRUE(testenv::WriteFile(held, "x"));
  ASSERT_TRUE(testenv::HoldOpen(held));
  ASSERT_TRUE(testenv::MakeDir(testenv::Path("dir")));
  const std::string paths[] = {held, testenv::Path("dir"),
                               testenv::Path("missing.txt"), ""};
  for (size_t i = 0; i < 4; ++i) {
    platform::FileDate date = {7, 7, 7};
    EXPECT_EQ(platform::kFileDateNotOpened,
              platform::LastWriteDate(paths[i].c_str(), &date))
        << paths[i];
  }
}

// ---- Error codes ---------------------------------------------------------

TEST_F(PlatformContract, FailingOperationsKeepTheWindowsErrorCode) {
  const std::string file = testenv::Path("a.txt");
  const std::string readOnly = testenv::Path("ro.txt");
  const std::string held = testenv::Path("held.txt");
  const std::string dir = testenv::Path("dir");
  const std::string missing = testenv::Path("missing.txt");
  const std::string noFolder = testenv::Path("nofolder\\x.txt");
  ASSERT_TRUE(testenv::WriteFile(file, "x"));
  ASSERT_TRUE(testenv::WriteFile(readOnly, "x"));
  ASSERT_TRUE(platform::SetAttributes(readOnly.c_str(), 0x21));
  ASSERT_TRUE(testenv::WriteFile(held, "x"));
  ASSERT_TRUE(testenv::HoldOpen(held));
  ASSERT_TRUE(testenv::MakeDir(dir));
  platform::FileDate date;
  const struct {
    const char* what;
    std::function<bool()> fails;
    unsigned code;
  } cases[] = {
      {"delete missing", [&] { return platform::RemoveFile(missing.c_str()); },
       2},
      {"delete in a missing folder",
       [&] { return platform::RemoveFile(noFolder.c_str()); }, 3},
      {"delete read-only",
       [&] { return platform::RemoveFile(readOnly.c_str()); }, 5},
      {"delete held", [&] { return platform::RemoveFile(held.c_str()); }, 32},
      {"delete a folder", [&] { return platform::RemoveFile(dir.c_str()); }, 5},
      {"attributes of missing",
       [&] { return platform::SetAttributes(missing.c_str(), 0x20); }, 2},
      {"make existing", [&] { return platform::MakeDirectory(dir.c_str()); },
       183},
      {"make in a missing folder",
       [&] { return platform::MakeDirectory(noFolder.c_str()); }, 3},
      {"copy missing",
       [&] { return platform::CopyFileOver(missing.c_str(), dir.c_str()); }, 2},
      {"copy into a missing folder",
       [&] { return platform::CopyFileOver(file.c_str(), noFolder.c_str()); },
       3},
      {"copy onto held",
       [&] { return platform::CopyFileOver(file.c_str(), held.c_str()); }, 32},
      {"copy from held",
       [&] { return platform::CopyFileOver(held.c_str(), missing.c_str()); },
       32},
      {"date of held",
       [&] {
         return platform::LastWriteDate(held.c_str(), &date) ==
                platform::kFileDateRead;
       },
       32},
      {"date of missing",
       [&] {
         return platform::LastWriteDate(missing.c_str(), &date) ==
                platform::kFileDateRead;
       },
       2},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    EXPECT_FALSE(cases[i].fails()) << cases[i].what;
    EXPECT_EQ(cases[i].code, platform::LastErrorCode()) << cases[i].what;
    // A success does not touch the kept code.
    ASSERT_TRUE(platform::SetAttributes(file.c_str(), 0x20));
    EXPECT_EQ(cases[i].code, platform::LastErrorCode()) << cases[i].what;
  }
}

TEST_F(PlatformContract, ErrorTextIsTheSystemsTextWithoutTheLineBreak) {
  const unsigned known[] = {2, 3, 5, 32, 0x80070003u};
  for (size_t i = 0; i < sizeof(known) / sizeof(known[0]); ++i) {
    char text[512];
    memset(text, 'z', sizeof(text));
    ASSERT_TRUE(platform::ErrorText(known[i], text, sizeof(text))) << known[i];
    const size_t length = strlen(text);
    ASSERT_LT(0u, length) << known[i];
    EXPECT_LT(' ', static_cast<unsigned char>(text[length - 1])) << known[i];
    EXPECT_EQ(NULL, strchr(text, '\n')) << known[i];
  }
  char same[512];
  char wrapped[512];
  ASSERT_TRUE(platform::ErrorText(3, same, sizeof(same)));
  ASSERT_TRUE(platform::ErrorText(0x80070003u, wrapped, sizeof(wrapped)));
  EXPECT_STREQ(same, wrapped);
  // No text for a code the system does not know, nor for a small buffer.
  char text[512];
  memset(text, 'z', sizeof(text));
  EXPECT_FALSE(platform::ErrorText(0x2FFFFFFFu, text, sizeof(text)));
  EXPECT_STREQ("", text);
  EXPECT_FALSE(platform::ErrorText(32, text, 4));
}

// ---- System facts for the log ----------------------------------------------

TEST_F(PlatformContract, VersionRightsIdAndClockAreReported) {
  platform::SystemVersion version = {0, 0, 0, 0};
  ASSERT_TRUE(platform::GetSystemVersion(&version));
  EXPECT_EQ(platform::kPlatformWin32Nt, version.platformId);
  EXPECT_LE(6u, version.major);  // every system these tests run on
  EXPECT_NE(0u, version.build);
  EXPECT_NE(platform::kElevationUnknown, platform::ProcessElevation());
  EXPECT_NE(0u, platform::ProcessId());
  platform::LocalTimeFields now;
  platform::LocalTime(&now);
  EXPECT_LE(2024, now.year);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
  EXPECT_TRUE(now.day >= 1 && now.day <= 31);
  EXPECT_TRUE(now.hour < 24 && now.minute < 60 && now.second < 61 &&
              now.milliseconds < 1000);
}

TEST_F(PlatformContract, TempDirectoryIsAFolderWithItsBackslash) {
  char temp[platform::kMaxPath];
  const unsigned length = platform::TempDirectory(temp, sizeof(temp));
  ASSERT_LT(3u, length);
  EXPECT_EQ(strlen(temp), length);
  EXPECT_TRUE(IsFullPath(temp)) << temp;
  EXPECT_EQ('\\', temp[length - 1]);
  const std::string folder(temp, length - 1);
  EXPECT_NE(0u,
            testenv::ReadAttributes(folder) & platform::kAttributeDirectory);
  char small[3] = {'z', 'z', 'z'};
  EXPECT_EQ(0u, platform::TempDirectory(small, sizeof(small)));
}

// ---- OpenableForWriting -------------------------------------------------

TEST_F(PlatformContract, OpenableForWritingChangesNothing) {
  const std::string file = testenv::Path("w.txt");
  ASSERT_TRUE(testenv::WriteFile(file, "kept"));
  ASSERT_TRUE(testenv::SetLastWrite(file, 2001, 4, 25, 12, 0));
  EXPECT_TRUE(platform::OpenableForWriting(file.c_str()));
  std::string bytes;
  ASSERT_TRUE(testenv::ReadFile(file, &bytes));
  EXPECT_EQ("kept", bytes);
  EXPECT_EQ("2001-04-25", LastWriteText(file));
}

TEST_F(PlatformContract, HeldMissingOrDirectoryIsNotOpenableForWriting) {
  const std::string held = testenv::Path("held.txt");
  ASSERT_TRUE(testenv::WriteFile(held, "x"));
  ASSERT_TRUE(testenv::HoldOpen(held));
  ASSERT_TRUE(testenv::MakeDir(testenv::Path("dir")));
  const std::string paths[] = {held, testenv::Path("dir"),
                               testenv::Path("missing.txt"), ""};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_FALSE(platform::OpenableForWriting(paths[i].c_str())) << paths[i];
  }
  testenv::Release(held);
  EXPECT_TRUE(platform::OpenableForWriting(held.c_str()));
}

TEST_F(PlatformContract, ReadOnlyFileIsNotOpenableForWriting) {
  // The same write access a copy onto the file asks for.
  if (!testenv::ReadOnlyDestinationRefusesCopy()) {
    GTEST_SKIP() << "this side writes through read-only files";
  }
  const std::string file = testenv::Path("ro.txt");
  ASSERT_TRUE(testenv::WriteFile(file, "x"));
  ASSERT_TRUE(platform::SetAttributes(file.c_str(), 0x21));
  EXPECT_FALSE(platform::OpenableForWriting(file.c_str()));
}

// ---- Files other programs hold ---------------------------------------------

// Which failures count as "in use" and are worth trying again: the code the
// operation kept, and for access denied a probe of the file itself, which
// tells a holder from a read-only file, a folder or a hidden destination.
TEST_F(PlatformContract, OnlyAHeldFileFailsAsInUse) {
  const std::string file = testenv::Path("a.txt");
  const std::string readOnly = testenv::Path("ro.txt");
  const std::string hidden = testenv::Path("hidden.txt");
  const std::string held = testenv::Path("held.txt");
  const std::string dir = testenv::Path("dir");
  const std::string missing = testenv::Path("missing.txt");
  ASSERT_TRUE(testenv::WriteFile(file, "x"));
  ASSERT_TRUE(testenv::WriteFile(readOnly, "r"));
  ASSERT_TRUE(platform::SetAttributes(readOnly.c_str(), 0x21));
  ASSERT_TRUE(testenv::WriteFile(hidden, "h"));
  ASSERT_TRUE(platform::SetAttributes(hidden.c_str(), 0x22));
  ASSERT_TRUE(testenv::WriteFile(held, "held"));
  ASSERT_TRUE(testenv::HoldOpen(held));
  ASSERT_TRUE(testenv::MakeDir(dir));
  const bool hiddenKept = testenv::HiddenAndSystemAttributesKept();
  const struct {
    const char* what;
    std::function<bool()> fails;
    std::string path;
    bool inUse;
    bool applies;
  } cases[] = {
      {"delete held", [&] { return platform::RemoveFile(held.c_str()); }, held,
       true, true},
      {"copy onto held",
       [&] { return platform::CopyFileOver(file.c_str(), held.c_str()); }, held,
       true, true},
      {"replace held",
       [&] { return ReplaceByStaging(file.c_str(), held.c_str()); }, held, true,
       true},
      {"delete read-only",
       [&] { return platform::RemoveFile(readOnly.c_str()); }, readOnly, false,
       true},
      {"replace read-only",
       [&] { return ReplaceByStaging(file.c_str(), readOnly.c_str()); },
       readOnly, false, true},
      {"replace hidden by a plain file",
       [&] { return ReplaceByStaging(file.c_str(), hidden.c_str()); }, hidden,
       false, hiddenKept},
      {"delete a folder", [&] { return platform::RemoveFile(dir.c_str()); },
       dir, false, true},
      {"delete missing", [&] { return platform::RemoveFile(missing.c_str()); },
       missing, false, true},
  };
  for (const auto& c : cases) {
    if (!c.applies) continue;
    EXPECT_FALSE(c.fails()) << c.what;
    EXPECT_EQ(c.inUse, platform::FailedBecauseInUse(c.path.c_str(),
                                                    platform::LastErrorCode()))
        << c.what << ", error " << platform::LastErrorCode();
    EXPECT_EQ(c.path == held, platform::FileHeldByAnother(c.path.c_str()))
        << c.what;
  }
  const unsigned codes[] = {2, 3, 5, 32, 33, 80, 112, 183};
  const bool inUse[] = {false, false, true, true, true, false, false, false};
  for (size_t i = 0; i < sizeof codes / sizeof codes[0]; ++i)
    EXPECT_EQ(inUse[i], platform::IsInUseError(codes[i])) << codes[i];
  // The probe writes nothing.
  testenv::Release(held);
  std::string bytes;
  ASSERT_TRUE(testenv::ReadFile(held, &bytes));
  EXPECT_EQ("held", bytes);
  EXPECT_FALSE(platform::FileHeldByAnother(held.c_str()));
}

// Which programs hold a file: this process holds it here. Wine's Restart
// Manager names nobody, which must come back as a list without names (or
// as unknown), never as a failure or a made-up name.
TEST_F(PlatformContract, FileHoldersNamesTheProcessHoldingAFile) {
  const std::string held = testenv::Path("held.txt");
  ASSERT_TRUE(testenv::WriteFile(held, "x"));
  ASSERT_TRUE(testenv::HoldOpen(held));
  platform::FileHolder holders[4];
  unsigned count = 99;
  const platform::FileHoldersResult result =
      platform::FileHolders(held.c_str(), holders, 4, &count);
  if (testenv::RestartManagerNamesHolders()) {
    ASSERT_EQ(platform::kHoldersListed, result);
    ASSERT_EQ(1u, count);
    EXPECT_EQ(platform::ProcessId(), holders[0].processId);
    EXPECT_STRNE("", holders[0].name);
  } else {
    // Wine 8 answers with a list of nobody.
    EXPECT_EQ(platform::kHoldersListed, result);
    EXPECT_EQ(0u, count);
  }
  // A file nobody holds.
  testenv::Release(held);
  count = 99;
  platform::FileHolders(held.c_str(), holders, 4, &count);
  EXPECT_EQ(0u, count);
}

// ---- Code page 932 and UTF-8 ------------------------------------------------

// Every class of code page 932 character, both ways, whatever the system's
// own code page. A text that is no code page 932 is refused; a character
// code page 932 lacks, or a byte that is no UTF-8, becomes the one mark
// that no conversion to a path accepts, never a look-alike.
TEST_F(PlatformContract, TextConvertsBetweenCodePage932AndUtf8) {
  enum Ways { kBoth, kRefused, kFromUtf8 };
  struct Case {
    Ways ways;
    const char* text;  // code page 932
    const char* utf8;  // kRefused: none
  };
  const Case cases[] = {
      {kBoth, "", ""},
      {kBoth, "C:\\Tools\\a.txt", "C:\\Tools\\a.txt"},          // single bytes
      {kBoth, "\xB1\xDF", "\xEF\xBD\xB1\xEF\xBE\x9F"},          // half-width
      {kBoth, "\x83\x5C\x95\x5C", "\xE3\x82\xBD\xE8\xA1\xA8"},  // "\" second
      {kBoth, "\x83\x65\x83\x58\x83\x67",
       "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"},
      {kBoth, "\xF0\x40\xF9\xFC", "\xEE\x80\x80\xEE\x9D\x97"},  // user-defined
      {kRefused, "a\x83", ""},                                  // cut lead byte
      {kRefused, "\x80", ""},  // starts no character (the mark itself)
      {kRefused, "\xA0", ""},
      {kFromUtf8, "\x80", "\xED\x95\x9C"},  // Korean: none in code page 932
      {kFromUtf8, "\x80", "\xC2\xA5"},      // yen sign: never the backslash
      {kFromUtf8, "\x80", "\xC3\xA9"},      // never the letter without accent
      {kFromUtf8,
       "a\x80"
       "b",
       "a\xFF"
       "b"},  // no UTF-8
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    const Case& c = cases[i];
    char buffer[64];
    memset(buffer, 'z', sizeof(buffer));
    if (c.ways == kRefused) {
      EXPECT_EQ(0u, platform::TextToUtf8(c.text, buffer, sizeof(buffer))) << i;
      continue;
    }
    if (c.ways == kBoth) {
      EXPECT_EQ(strlen(c.utf8) + 1,
                platform::TextToUtf8(c.text, buffer, sizeof(buffer)))
          << i;
      EXPECT_STREQ(c.utf8, buffer) << i;
    }
    memset(buffer, 'z', sizeof(buffer));
    const unsigned length = static_cast<unsigned>(strlen(c.text));
    EXPECT_EQ(length, platform::Utf8ToText(
                          c.utf8, static_cast<unsigned>(strlen(c.utf8)), buffer,
                          sizeof(buffer)))
        << i;
    EXPECT_EQ(std::string(c.text), std::string(buffer, length)) << i;
  }
  // Too small a buffer: the size needed, nothing written.
  char small[4] = {'z', 'z', 'z', 'z'};
  EXPECT_EQ(10u, platform::TextToUtf8("\x83\x65\x83\x58\x83\x67", small, 4));
  EXPECT_EQ('z', small[0]);
  EXPECT_EQ(10u, platform::TextToUtf8("\x83\x65\x83\x58\x83\x67", NULL, 0));
}

// A name converted from UTF-8 with a character code page 932 lacks names no
// file: nothing is made, nothing is found.
TEST_F(PlatformContract, TextWithTheMarkNamesNoFile) {
  const std::string folder = testenv::Path("a\x80");
  EXPECT_FALSE(platform::MakeDirectory(folder.c_str()));
  EXPECT_FALSE(platform::FileExists(folder.c_str()));
  EXPECT_FALSE(platform::FileExists(testenv::Path("a*").c_str()));
}

// A name code page 932 lacks is handed up in its short form, which names
// the same file, or the listing fails there with the code kept: never a
// name with "?" in it, which would match other files.
TEST_F(PlatformContract, ListingGivesANameCodePage932LacksInItsShortForm) {
  if (!testenv::WriteFileWithUtf8Name(testenv::Root(),
                                      "\xED\x95\x9C\xEA\xB5\xAD.txt", "k")) {
    GTEST_SKIP() << "this side has only code page 932 names";
  }
  platform::FindEntry entry;
  platform::FileSearch search;
  if (search.First(testenv::Path("*.txt").c_str(), &entry)) {
    EXPECT_FALSE(search.failed());
    EXPECT_EQ(NULL, strchr(entry.name, '?')) << entry.name;
    std::string bytes;
    EXPECT_TRUE(testenv::ReadFile(testenv::Path(entry.name), &bytes));
    EXPECT_EQ("k", bytes);
  } else {
    EXPECT_TRUE(search.failed());
    EXPECT_EQ(1113u, platform::LastErrorCode());  // no Unicode translation
  }
  EXPECT_TRUE(platform::FileExists(testenv::Path("*.txt").c_str()));
}

// ---- Log files -------------------------------------------------------------

class LogFileContract : public PlatformContract {
 protected:
  std::string Read(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(testenv::ReadFile(path, &bytes)) << path;
    return bytes;
  }
  bool Append(const platform::KernelObject& file, const std::string& text) {
    return platform::AppendToFile(file, text.data(),
                                  static_cast<unsigned>(text.size()));
  }
};

TEST_F(LogFileContract, AppendsToANewOrAnExistingFile) {
  const std::string path = testenv::Path("run.log");
  {
    platform::KernelObject file;
    bool created = false;
    ASSERT_TRUE(platform::OpenLogFile(path.c_str(), platform::kLogAppend, &file,
                                      &created));
    EXPECT_TRUE(created);
    EXPECT_TRUE(Append(file, "one\r\n"));
  }
  EXPECT_EQ("one\r\n", Read(path));
  platform::KernelObject first;
  platform::KernelObject second;
  bool created = true;
  ASSERT_TRUE(platform::OpenLogFile(path.c_str(), platform::kLogAppend, &first,
                                    &created));
  EXPECT_FALSE(created);
  ASSERT_TRUE(platform::OpenLogFile(path.c_str(), platform::kLogAppend, &second,
                                    &created));
  // Two writers at once, as two runs sharing one log: nothing is overwritten.
  EXPECT_TRUE(Append(first, "two\r\n"));
  EXPECT_TRUE(Append(second, "three\r\n"));
  EXPECT_TRUE(Append(first, "four\r\n"));
  first.Reset();
  second.Reset();
  EXPECT_EQ("one\r\ntwo\r\nthree\r\nfour\r\n", Read(path));
}

TEST_F(LogFileContract, CreateNewNeverOpensAnExistingFile) {
  const std::string path = testenv::Path("new.log");
  ASSERT_TRUE(testenv::WriteFile(path, "kept"));
  platform::KernelObject file;
  bool created = false;
  EXPECT_FALSE(platform::OpenLogFile(path.c_str(), platform::kLogCreateNew,
                                     &file, &created));
  EXPECT_EQ(80u, platform::LastErrorCode());  // ERROR_FILE_EXISTS
  EXPECT_FALSE(file.valid());
  EXPECT_EQ("kept", Read(path));
  const std::string fresh = testenv::Path("fresh.log");
  ASSERT_TRUE(platform::OpenLogFile(fresh.c_str(), platform::kLogCreateNew,
                                    &file, &created));
  EXPECT_TRUE(created);
  EXPECT_TRUE(Append(file, "x"));
}

TEST_F(LogFileContract, MissingFolderOrHeldFileIsNotOpened) {
  platform::KernelObject file;
  bool created = false;
  EXPECT_FALSE(platform::OpenLogFile(testenv::Path("no\\run.log").c_str(),
                                     platform::kLogAppend, &file, &created));
  EXPECT_EQ(3u, platform::LastErrorCode());
  const std::string held = testenv::Path("held.log");
  ASSERT_TRUE(testenv::WriteFile(held, "x"));
  ASSERT_TRUE(testenv::HoldOpen(held));
  EXPECT_FALSE(platform::OpenLogFile(held.c_str(), platform::kLogAppend, &file,
                                     &created));
  EXPECT_EQ(32u, platform::LastErrorCode());
  EXPECT_FALSE(
      platform::OpenLogFile("", platform::kLogAppend, &file, &created));
  EXPECT_FALSE(file.valid());
}

// ---- Named mutexes ---------------------------------------------------------

TEST_F(PlatformContract, ANamedMutexIsHeldWhileAHandleIsOpen) {
  const std::string name = "Global\\" + testenv::UniqueName("updater-contract");
  platform::KernelObject first;
  ASSERT_EQ(platform::kMutexCreated,
            platform::CreateNamedMutex(name.c_str(), &first));
  EXPECT_TRUE(first.valid());
  platform::KernelObject second;
  EXPECT_EQ(platform::kMutexExisted,
            platform::CreateNamedMutex(name.c_str(), &second));
  second.Reset();
  EXPECT_EQ(platform::kMutexExisted,
            platform::CreateNamedMutex(name.c_str(), &second));
  second.Reset();
  first.Reset();
  EXPECT_EQ(platform::kMutexCreated,
            platform::CreateNamedMutex(name.c_str(), &first));
  // A backslash outside a namespace prefix names no object.
  platform::KernelObject bad;
  EXPECT_EQ(platform::kMutexFailed,
            platform::CreateNamedMutex("no\\such\\place", &bad));
  EXPECT_FALSE(bad.valid());
}

// ---- Settings files ----------------------------------------------------

const std::string& LongValue() {
  static const std::string value = [] {
    std::string text;
    for (int i = 0; i < 300; ++i) text += static_cast<char>('a' + i % 26);
    return text;
  }();
  return value;
}

// Line ends of all three kinds, blanks everywhere, quotes, duplicates.
std::string SettingsText() {
  return "; comment before any section\r\n"
         "orphan=before\r\n"
         "[ Main ]\r\n"
         "  Key1 =  value one  \r\n"
         "key1=second\r\n"
         "Quoted=\"a b\"\r\n"
         "Single='x y'\r\n"
         "Half=\"open\r\n"
         "Empty=\n"
         "Word\n"
         "Long=" +
         LongValue() +
         "\n"
         "\n"
         "[main]\r"
         "Other=from the second\r"
         "[DEFINE]\n"
         "<Dir> = C:\\x\n"
         "<Empty>\n"
         ";<C>=1\n"
         "  <Q> = \"quoted\"  \n"
         "<E>=\n"
         "\t\n"
         "[Tail]\n"
         "k=v";
}

class ProfileContract : public PlatformContract {
 protected:
  void SetUp() override {
    PlatformContract::SetUp();
    file_ = testenv::Path("settings.ini");
    ASSERT_TRUE(testenv::WriteFile(file_, SettingsText()));
  }
  std::string file_;
};

// A file replaced between two reads (as by a procedure that copies a new
// settings file over its own) is read afresh; one that starts with the
// UTF-8 byte-order mark reads as its code page 932 twin.
TEST_F(ProfileContract, ReadsAReplacedFileAfreshAndAMarkedFileAsUtf8) {
  const char* const files[][2] = {
      {"[A]\r\nK=\x83\x5C\\\x95\x5C\r\n", "\x83\x5C\\\x95\x5C"},
      {"\xEF\xBB\xBF[A]\r\nK=\xE3\x82\xBD\\\xE8\xA1\xA8\\new\r\n",
       "\x83\x5C\\\x95\x5C\\new"},
      {"\xEF\xBB\xBF[A]\r\nK=\xED\x95\x9C.txt\r\n\r\n", "\x80.txt"},
      {"[A]\r\nK=\xEF\xBB\xBFx\r\n", "\xEF\xBB\xBFx"},  // no mark at the start
  };
  for (size_t i = 0; i < sizeof(files) / sizeof(files[0]); ++i) {
    ASSERT_TRUE(testenv::WriteFile(file_, files[i][0]));
    char value[64];
    platform::ProfileString("A", "K", "", value, sizeof(value), file_.c_str());
    EXPECT_STREQ(files[i][1], value) << i;
  }
}

TEST_F(ProfileContract, ReadsKeysAsGetPrivateProfileStringDoes) {
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"Main", "Key1", "value one"},  // trimmed; the first duplicate wins
      {"MAIN", "KEY1", "value one"},  // names match without regard to case
      {" Main ", " Key1 ", "value one"},
      {"Main", "Quoted", "a b"},  // matching quotes come off
      {"Main", "Single", "x y"},
      {"Main", "Half", "\"open"},    // a lone quote stays
      {"Main", "Empty", ""},         // present and empty
      {"Main", "Word", "NO_DATA"},   // a word without "=" is no key
      {"Main", "Other", "NO_DATA"},  // the second [main] is never reached
      {"Main", "Missing", "NO_DATA"},
      {"Missing", "Key1", "NO_DATA"},
      {"", "orphan", "before"},  // lines before any header: no name
      {"DEFINE", "<Dir>", "C:\\x"},
      {"DEFINE", "<Q>", "quoted"},
      {"Tail", "k", "v"},  // last line without a line end
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    char buffer[260];
    memset(buffer, 'z', sizeof(buffer));
    unsigned length = platform::ProfileString(
        cases[i].section, cases[i].key, "NO_DATA", buffer, 259, file_.c_str());
    EXPECT_STREQ(cases[i].expected, buffer)
        << "[" << cases[i].section << "] " << cases[i].key;
    EXPECT_EQ(strlen(cases[i].expected), length) << cases[i].key;
  }
}

TEST_F(ProfileContract, CutsALongValueToTheBuffer) {
  std::vector<char> buffer(400, 'z');
  EXPECT_EQ(258u, platform::ProfileString("Main", "Long", "", &buffer[0], 259,
                                          file_.c_str()));
  EXPECT_EQ(LongValue().substr(0, 258), std::string(&buffer[0]));
  EXPECT_EQ(300u, platform::ProfileString("Main", "Long", "", &buffer[0], 301,
                                          file_.c_str()));
  EXPECT_EQ(LongValue(), std::string(&buffer[0]));
}

// The settings reader takes a result of size - 2 or more for "maybe cut"
// and reads again with a larger buffer: a cut that falls inside a
// double-byte character must still report that much.
TEST_F(ProfileContract, CutInsideADoubleByteCharacterStillFillsTheBuffer) {
  std::string kana;
  for (int i = 0; i < 200; ++i) kana += "\x82\xA0";
  const std::string file = testenv::Path("kana.ini");
  ASSERT_TRUE(testenv::WriteFile(file, "[s]\r\nk=" + kana + "\r\n"));
  std::vector<char> buffer(500);
  for (unsigned size = 256; size <= 259; ++size) {
    EXPECT_LE(size - 2, platform::ProfileString("s", "k", "", &buffer[0], size,
                                                file.c_str()))
        << size;
  }
  EXPECT_EQ(400u, platform::ProfileString("s", "k", "", &buffer[0], 403,
                                          file.c_str()));
  EXPECT_EQ(kana, std::string(&buffer[0]));
}

TEST_F(ProfileContract, DefaultComesBackTrimmedAndUnquoted) {
  char buffer[260];
  EXPECT_EQ(7u, platform::ProfileString("Main", "Key1", "NO_DATA", buffer, 259,
                                        testenv::Path("none.ini").c_str()));
  EXPECT_STREQ("NO_DATA", buffer);
  EXPECT_EQ(4u, platform::ProfileString("Main", "Missing", "dflt  ", buffer,
                                        259, file_.c_str()));
  EXPECT_STREQ("dflt", buffer);
  EXPECT_EQ(1u, platform::ProfileString("Main", "Missing", "\"q\"", buffer, 259,
                                        file_.c_str()));
  EXPECT_STREQ("q", buffer);
}

std::string SectionText(const char* section, unsigned size,
                        const std::string& file, unsigned* result) {
  std::vector<char> buffer(size + 8, 'z');
  *result = platform::ProfileSection(section, &buffer[0], size, file.c_str());
  return std::string(&buffer[0], size);
}

// Lines as GetPrivateProfileSectionA lists them: each ended by a zero byte,
// the list by a second one.
std::string ZeroList(const std::vector<std::string>& lines) {
  std::string list;
  for (size_t i = 0; i < lines.size(); ++i) list += lines[i] + '\0';
  return list + '\0';
}

std::string DefineList() {
  return ZeroList({"<Dir>=C:\\x", "<Empty>", "<Q>=\"quoted\"", "<E>="});
}

TEST_F(ProfileContract, ReadsSectionsRebuiltWithoutComments) {
  unsigned result = 0;
  const std::string define = DefineList();
  EXPECT_EQ(
      define,
      SectionText("define", 1000, file_, &result).substr(0, define.size()));
  EXPECT_EQ(define.size() - 1, result);  // the second zero is not counted

  // Only the first [Main]: its lines, the bare word included.
  const std::string main = ZeroList(
      {"Key1=value one", "key1=second", "Quoted=\"a b\"", "Single='x y'",
       "Half=\"open", "Empty=", "Word", "Long=" + LongValue()});
  EXPECT_EQ(main,
            SectionText("Main", 1000, file_, &result).substr(0, main.size()));
  EXPECT_EQ(main.size() - 1, result);
}

TEST_F(ProfileContract, CutsASectionToTheBufferWithTwoZeros) {
  unsigned result = 0;
  EXPECT_EQ(std::string("<Dir>=C:\0\0", 10),
            SectionText("DEFINE", 10, file_, &result));
  EXPECT_EQ(8u, result);
  // A list that would fill the buffer exactly counts as cut as well (its
  // text then happens to be whole).
  const std::string define = DefineList();
  const unsigned exact = static_cast<unsigned>(define.size());
  EXPECT_EQ(define, SectionText("DEFINE", exact, file_, &result));
  EXPECT_EQ(exact - 2, result);
  EXPECT_EQ(define,
            SectionText("DEFINE", exact + 1, file_, &result).substr(0, exact));
  EXPECT_EQ(exact - 1, result);
}

TEST_F(ProfileContract, MissingSectionsGiveAnEmptyList) {
  unsigned result = 7;
  std::string got = SectionText("Missing", 100, file_, &result);
  EXPECT_EQ(0u, result);
  EXPECT_EQ(std::string(2, '\0'), got.substr(0, 2));
  result = 7;
  got = SectionText("DEFINE", 100, testenv::Path("none.ini"), &result);
  EXPECT_EQ(0u, result);
  EXPECT_EQ(std::string(2, '\0'), got.substr(0, 2));
}

TEST_F(ProfileContract, EmptySectionNameReachesOnlyLinesBeforeAnyHeader) {
  unsigned result = 0;
  const std::string orphans = ZeroList({"orphan=before"});
  EXPECT_EQ(orphans,
            SectionText("", 100, file_, &result).substr(0, orphans.size()));
  EXPECT_EQ(orphans.size() - 1, result);

  // A file that starts with a header has nothing under the empty name.
  const std::string headed = testenv::Path("headed.ini");
  ASSERT_TRUE(testenv::WriteFile(headed, "[a]\r\nk=v\r\n"));
  char buffer[260];
  EXPECT_EQ(7u, platform::ProfileString("", "k", "NO_DATA", buffer, 259,
                                        headed.c_str()));
  EXPECT_STREQ("NO_DATA", buffer);
  result = 7;
  EXPECT_EQ(std::string(2, '\0'),
            SectionText("", 100, headed, &result).substr(0, 2));
  EXPECT_EQ(0u, result);
}

// ---- String table -------------------------------------------------------

// The messages as the executable's resource script holds them, read by
// the test environment and converted to code page 932 there.
class StringTableContract : public PlatformContract {
 protected:
  void SetUp() override {
    PlatformContract::SetUp();
    std::string error;
    ASSERT_TRUE(testenv::ScriptStringTable(&table_, &error)) << error;
  }
  std::map<unsigned, std::string> table_;
};

TEST_F(StringTableContract, HoldsTheScriptsMessagesInCodePage932) {
  // Every message, and nothing before, between or after them: a missing id
  // gives 0 and an empty text.
  const unsigned last = table_.rbegin()->first;
  for (unsigned id = 0; id <= last + 1; ++id) {
    const std::string expected = table_.count(id) ? table_[id] : "";
    char buffer[256];
    memset(buffer, 'z', sizeof(buffer));
    int length = platform::LoadResourceString(id, buffer, 256);
    EXPECT_EQ(expected, std::string(buffer)) << "id " << id;
    EXPECT_EQ(static_cast<int>(expected.size()), length) << "id " << id;
  }
}

TEST_F(StringTableContract, StringIsNotCutInsideADoubleByteCharacter) {
  // Id 11 starts with two double-byte characters.
  const std::string text = table_[11];
  ASSERT_LE(4u, text.size());
  ASSERT_TRUE(static_cast<unsigned char>(text[0]) >= 0x81 &&
              static_cast<unsigned char>(text[2]) >= 0x81)
      << "id 11 no longer starts with two double-byte characters";
  const struct {
    int size;
    int length;
  } cases[] = {{2, 0}, {3, 2}, {4, 2}, {5, 4}};
  for (size_t i = 0; i < 4; ++i) {
    char buffer[8];
    memset(buffer, 'z', sizeof(buffer));
    EXPECT_EQ(cases[i].length,
              platform::LoadResourceString(11, buffer, cases[i].size))
        << cases[i].size;
    EXPECT_EQ(text.substr(0, cases[i].length), std::string(buffer))
        << cases[i].size;
  }
}

TEST_F(StringTableContract, StringIsCutToTheBuffer) {
  // Id 12 ends in ASCII: a buffer one byte short loses its last character.
  const std::string full = table_[12];
  ASSERT_FALSE(full.empty());
  ASSERT_LT(static_cast<unsigned char>(full[full.size() - 1]), 0x80);
  std::vector<char> buffer(full.size() + 8, 'z');
  int size = static_cast<int>(full.size());
  EXPECT_EQ(size - 1, platform::LoadResourceString(12, &buffer[0], size));
  EXPECT_EQ(full.substr(0, full.size() - 1), std::string(&buffer[0]));
}

// The tests run in a Japanese world (a Japanese locale under Wine, the
// fake's default): the boxes speak Japanese there.
TEST_F(PlatformContract, UserInterfaceOfTheTestSystemIsJapanese) {
  EXPECT_TRUE(platform::UserInterfaceIsJapanese());
}

// ---- Message boxes -----------------------------------------------------

// MessageBoxA's default button is the first unless MB_DEFBUTTON2 or
// MB_DEFBUTTON3 names the second or third; pressing it returns its id.
TEST_F(PlatformContract, MessageBoxAnswersWithItsDefaultButton) {
  if (!testenv::MessageBoxesCanBeShown()) {
    GTEST_SKIP() << "no display for message boxes here";
  }
  const unsigned kOkCancel = 0x1;
  const unsigned kAbortRetryIgnore = 0x2;
  const unsigned kYesNoCancel = 0x3;
  const unsigned kRetryCancel = 0x5;
  const unsigned kDefButton3 = 0x200;
  const struct {
    unsigned style;
    int button;
  } cases[] = {
      {platform::kMbOk | platform::kMbIconError, platform::kIdOk},
      {platform::kMbOk | platform::kMbIconInformation, platform::kIdOk},
      {platform::kMbYesNo | platform::kMbIconQuestion, platform::kIdYes},
      {platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2,
       platform::kIdNo},
      {kOkCancel | platform::kMbDefButton2, platform::kIdCancel},
      {kYesNoCancel | kDefButton3, platform::kIdCancel},
      {kAbortRetryIgnore | platform::kMbDefButton2, platform::kIdRetry},
      {kRetryCancel, platform::kIdRetry},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    testenv::PressDefaultButtonOfNextBox();
    EXPECT_EQ(
        cases[i].button,
        platform::ShowMessageBox("Default button", "Contract", cases[i].style))
        << "style 0x" << std::hex << cases[i].style;
    EXPECT_EQ(cases[i].button, testenv::DefaultButtonOfLastBox())
        << "style 0x" << std::hex << cases[i].style;
  }
}

// A text that is not valid code page 932 (a lead byte cut by the end, a
// byte that starts no character) still gets its box: a failure must always
// be seen.
TEST_F(PlatformContract, MessageBoxShowsATextThatIsNotValidCodePage932) {
  if (!testenv::MessageBoxesCanBeShown()) {
    GTEST_SKIP() << "no display for message boxes here";
  }
  testenv::PressDefaultButtonOfNextBox();
  EXPECT_EQ(platform::kIdOk, platform::ShowMessageBox("cut \x83\x5C\xA0\x83",
                                                      "\x82", platform::kMbOk));
}

// ---- Registry ------------------------------------------------------------

const char* const kAppPaths = kAppPathsKey;

TEST_F(PlatformContract, RegistryOpenOfAMissingKeyFails) {
  platform::RegistryHandle handle = NULL;
  EXPECT_FALSE(platform::RegistryOpen(
      platform::kLocalMachine,
      (std::string(kAppPaths) + testenv::UniqueName("missing") + ".exe")
          .c_str(),
      platform::kKeyRead, &handle));
  EXPECT_FALSE(platform::RegistryOpen(platform::kNoRoot, "Software",
                                      platform::kKeyRead, &handle));
}

class RegistryContract : public PlatformContract {
 protected:
  void SetUp() override {
    PlatformContract::SetUp();
    name_ = testenv::UniqueName("tool") + ".exe";
    key32_ = std::string(kAppPaths) + name_;
    native64_ = testenv::NativeViewIs64();
    if (!testenv::WriteRegistryValue(native64_, key32_, "",
                                     std::string("C:\\x\\a.exe\0", 11)) ||
        !testenv::WriteRegistryValue(native64_, key32_, "Path", "C:\\x")) {
      GTEST_SKIP() << "registry values cannot be written here";
    }
    written_ = true;
  }
  void TearDown() override {
    if (written_) testenv::RemoveRegistryKey(native64_, key32_);
    PlatformContract::TearDown();
  }
  std::string name_;
  std::string key32_;  // in the view this process reads by default
  bool native64_ = false;
  bool written_ = false;
};

TEST_F(RegistryContract, ReadsValuesAsStored) {
  // Key names match without regard to case.
  std::string upper = key32_;
  for (size_t i = 0; i < upper.size(); ++i) {
    if (upper[i] >= 'a' && upper[i] <= 'z') upper[i] -= 'a' - 'A';
  }
  platform::RegistryHandle handle = NULL;
  ASSERT_TRUE(platform::RegistryOpen(platform::kLocalMachine, upper.c_str(),
                                     platform::kKeyRead, &handle));
  unsigned size = 0;
  ASSERT_TRUE(platform::RegistryQuery(handle, "", NULL, &size));
  EXPECT_EQ(11u, size);
  unsigned char data[32];
  memset(data, 'z', sizeof(data));
  size = sizeof(data);
  ASSERT_TRUE(platform::RegistryQuery(handle, "", data, &size));
  EXPECT_EQ(11u, size);
  EXPECT_EQ(std::string("C:\\x\\a.exe\0", 11),
            std::string(reinterpret_cast<char*>(data), 11));

  // Stored without its terminating zero: its size leaves the zero out; a
  // buffer with room to spare gets one after the text, an exact one not.
  size = 0;
  ASSERT_TRUE(platform::RegistryQuery(handle, "PATH", NULL, &size));
  EXPECT_EQ(4u, size);
  memset(data, 'z', sizeof(data));
  size = sizeof(data);
  ASSERT_TRUE(platform::RegistryQuery(handle, "path", data, &size));
  EXPECT_EQ(4u, size);
  EXPECT_EQ(std::string("C:\\x\0z", 6),
            std::string(reinterpret_cast<char*>(data), 6));
  memset(data, 'z', sizeof(data));
  size = 4;
  ASSERT_TRUE(platform::RegistryQuery(handle, "path", data, &size));
  EXPECT_EQ(4u, size);
  EXPECT_EQ("C:\\xz", std::string(reinterpret_cast<char*>(data), 5));

  // Too small a buffer fails and reports the size needed.
  size = 4;
  EXPECT_FALSE(platform::RegistryQuery(handle, "", data, &size));
  EXPECT_EQ(11u, size);

  size = 0;
  EXPECT_FALSE(platform::RegistryQuery(handle, "Missing", NULL, &size));
  platform::RegistryClose(handle);
}

// A 32-bit process reads the 32-bit view and a 64-bit one the 64-bit view;
// OtherRegistryView() names the view it does not read by default. The keys
// lie directly under Software, which both systems keep apart per view. (Wine
// 8 shares the App Paths key itself between the views: written through
// either, it is found through both.)
TEST_F(RegistryContract, NativeViewIsReadUnlessTheOtherIsAsked) {
  if (!testenv::RegistryViewsSeparate()) {
    GTEST_SKIP() << "one registry view on this system";
  }
  const bool native64 = testenv::NativeViewIs64();
  EXPECT_EQ(native64 ? platform::kKeyWow64_32Key : platform::kKeyWow64_64Key,
            platform::OtherRegistryView());
  const std::string base =
      "Software\\" + testenv::UniqueName("UpdaterContract");
  const std::string nativeKey = base + "\\native";
  const std::string otherKey = base + "\\other";
  ASSERT_TRUE(testenv::WriteRegistryValue(native64, nativeKey, "", "n"));
  ASSERT_TRUE(testenv::WriteRegistryValue(!native64, otherKey, "", "o"));
  const unsigned other = platform::kKeyRead | platform::OtherRegistryView();
  platform::RegistryHandle handle = NULL;
  EXPECT_FALSE(platform::RegistryOpen(platform::kLocalMachine, otherKey.c_str(),
                                      platform::kKeyRead, &handle));
  EXPECT_FALSE(platform::RegistryOpen(platform::kLocalMachine,
                                      nativeKey.c_str(), other, &handle));
  ASSERT_TRUE(platform::RegistryOpen(platform::kLocalMachine, nativeKey.c_str(),
                                     platform::kKeyRead, &handle));
  platform::RegistryClose(handle);
  ASSERT_TRUE(platform::RegistryOpen(platform::kLocalMachine, otherKey.c_str(),
                                     other, &handle));
  platform::RegistryClose(handle);
  testenv::RemoveRegistryKey(native64, nativeKey);
  testenv::RemoveRegistryKey(!native64, otherKey);
  testenv::RemoveRegistryKey(native64, base);
  testenv::RemoveRegistryKey(!native64, base);
}

// ---- Processes -----------------------------------------------------------

// The test executable itself serves as the program to start: it runs no
// test with this filter and ends at once.
class LaunchContract : public PlatformContract {
 protected:
  void SetUp() override {
    PlatformContract::SetUp();
    char module[platform::kMaxPath];
    ASSERT_NE(0u, platform::ModuleFileName(module, sizeof(module)));
    module_ = module;
  }
  platform::LaunchResult Run(const std::string& commandLine,
                             platform::LaunchWait wait,
                             const std::string& directory = testenv::Root(),
                             unsigned* exitCode = NULL) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return platform::Launch(&line[0], directory.c_str(), wait, exitCode);
  }
  std::string module_;
};

const char kNoTests[] = " --gtest_filter=-*";

TEST_F(LaunchContract, StartsAndWaitsForAProgram) {
  EXPECT_EQ(platform::kLaunchDone,
            Run(module_ + kNoTests, platform::kWaitForExit));
  // A program without a message queue is not a failed start either.
  EXPECT_EQ(platform::kLaunchDone,
            Run(module_ + kNoTests, platform::kWaitForInputIdle));
}

// The whole 32 bits of the code come back, the crash code 0xC0000005 too;
// the input-idle wait leaves the program running and the code untouched.
TEST_F(LaunchContract, WaitForTheEndReportsTheExitCode) {
  const unsigned codes[] = {0u, 3010u, 0xC0000005u};
  for (unsigned code : codes) {
    unsigned reported = 12345;
    EXPECT_EQ(platform::kLaunchDone,
              Run(testenv::CommandExitingWith(code), platform::kWaitForExit,
                  testenv::Root(), &reported));
    EXPECT_EQ(code, reported);
  }
  unsigned untouched = 12345;
  EXPECT_EQ(platform::kLaunchDone,
            Run(testenv::CommandExitingWith(7), platform::kWaitForInputIdle,
                testenv::Root(), &untouched));
  EXPECT_EQ(12345u, untouched);
}

TEST_F(LaunchContract, MissingProgramOrDirectoryIsNotStarted) {
  EXPECT_EQ(
      platform::kLaunchNotStarted,
      Run(testenv::Path("missing.exe") + kNoTests, platform::kWaitForExit));
  EXPECT_EQ(2u, platform::LastErrorCode());
  EXPECT_EQ(platform::kLaunchNotStarted,
            Run(module_ + kNoTests, platform::kWaitForExit,
                testenv::Path("missing")));
}

TEST_F(LaunchContract, UnquotedPathWithBlanksStartsTheFirstPrefixFound) {
  // Only "<root>\Program.exe" exists: the unquoted line reaches it through
  // its first blank-separated prefix; the quoted path finds nothing.
  ASSERT_TRUE(platform::CopyFileOver(module_.c_str(),
                                     testenv::Path("Program.exe").c_str()));
  const std::string target = testenv::Path("Program Files\\Tool\\t.exe");
  EXPECT_EQ(platform::kLaunchDone,
            Run(target + kNoTests, platform::kWaitForExit));
  EXPECT_EQ(platform::kLaunchNotStarted,
            Run("\"" + target + "\"" + kNoTests, platform::kWaitForExit));
}

// CreateProcessA appends ".exe" to a program name without an extension
// (its documentation tries "c:\program files\sub dir\program name" as
// "c:\program.exe" first); a name ending in a period, or with another
// extension, is taken as it is.
TEST_F(LaunchContract, ExeIsAppendedToANameWithoutExtension) {
  ASSERT_TRUE(platform::CopyFileOver(module_.c_str(),
                                     testenv::Path("run.exe").c_str()));
  ASSERT_TRUE(platform::CopyFileOver(module_.c_str(),
                                     testenv::Path("tool.com").c_str()));
  const struct {
    const char* name;
    platform::LaunchResult result;
  } cases[] = {
      {"run", platform::kLaunchDone},
      {"RUN", platform::kLaunchDone},
      {"run.", platform::kLaunchNotStarted},
      {"tool", platform::kLaunchNotStarted},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    EXPECT_EQ(cases[i].result, Run(testenv::Path(cases[i].name) + kNoTests,
                                   platform::kWaitForExit))
        << cases[i].name;
  }
}

// Only the name with ".exe" is looked for: beside "run.exe" a file "run"
// (not a program) is passed over, and a program saved without an
// extension is not found.
TEST_F(LaunchContract, ABareNameIsNeverStarted) {
  if (!testenv::ExtensionlessNameRunsOnlyAsExe()) {
    GTEST_SKIP() << "this side starts a file under its bare name";
  }
  ASSERT_TRUE(platform::CopyFileOver(module_.c_str(),
                                     testenv::Path("run.exe").c_str()));
  ASSERT_TRUE(testenv::WriteFile(testenv::Path("run"), "not a program"));
  ASSERT_TRUE(
      platform::CopyFileOver(module_.c_str(), testenv::Path("solo").c_str()));
  EXPECT_EQ(platform::kLaunchDone,
            Run(testenv::Path("run") + kNoTests, platform::kWaitForExit));
  EXPECT_EQ(platform::kLaunchNotStarted,
            Run(testenv::Path("solo") + kNoTests, platform::kWaitForExit));
}

// ---- Shortcuts -----------------------------------------------------------

// CoCreateInstance fails with CO_E_NOTINITIALIZED on a thread that has not
// initialised COM: nothing is saved.
TEST_F(PlatformContract, SaveShortcutNeedsCom) {
  const std::string link = testenv::Path("App.lnk");
  const std::string target = testenv::Path("app.exe");
  platform::ShortcutFields fields = {target.c_str(), "", "", 0};
  EXPECT_FALSE(platform::SaveShortcut(fields, link.c_str()));
  EXPECT_EQ(testenv::kNoAttributes, testenv::ReadAttributes(link));
}

class ShortcutContract : public PlatformContract {
 protected:
  void SetUp() override {
    PlatformContract::SetUp();
    platform::ComInitialize();
  }
  void TearDown() override {
    platform::ComUninitialize();
    PlatformContract::TearDown();
  }
  bool Save(const std::string& path) {
    const std::string target = testenv::Path("app.exe");
    const std::string directory = testenv::Root();
    platform::ShortcutFields fields = {target.c_str(), directory.c_str(), "-q",
                                       platform::kSwShowMaximized};
    return platform::SaveShortcut(fields, path.c_str());
  }
};

// The fields saved are the fields given; a link without a show command of
// its own shows normally (1).
TEST_F(ShortcutContract, SavedFieldsReadBack) {
  const std::string target = testenv::Path("app.exe");
  ASSERT_TRUE(testenv::WriteFile(target, "MZ"));
  const std::string directory = testenv::Root();
  const int shows[][2] = {{0, platform::kSwShowNormal},
                          {platform::kSwShowMaximized, 3},
                          {platform::kSwShowMinNoActive, 7}};
  for (size_t i = 0; i < 3; ++i) {
    const std::string link = testenv::Path(std::string(1, 'a' + i) + ".lnk");
    platform::ShortcutFields fields = {target.c_str(), directory.c_str(),
                                       "-q \"x y\"", shows[i][0]};
    ASSERT_TRUE(platform::SaveShortcut(fields, link.c_str())) << i;
    testenv::ShortcutData saved;
    ASSERT_TRUE(testenv::ReadShortcut(link, &saved)) << i;
    EXPECT_EQ(target, saved.target);
    EXPECT_EQ(directory, saved.workingDirectory);
    EXPECT_EQ("-q \"x y\"", saved.arguments);
    EXPECT_EQ(shows[i][1], saved.showCommand) << i;
  }
}

TEST_F(ShortcutContract, SavesIntoAnExistingFolderOnly) {
  const std::string link = testenv::Path("App.LNK");
  ASSERT_TRUE(Save(link));
  EXPECT_NE(testenv::kNoAttributes, testenv::ReadAttributes(link));
  EXPECT_TRUE(Save(link));  // an existing link is overwritten
  EXPECT_FALSE(Save(testenv::Path("missing\\App.LNK")));
  EXPECT_EQ(0x80070003u, platform::LastErrorCode());
}

TEST_F(ShortcutContract, RefusesAPathTooLongForTheWideBuffer) {
  // Every part is a valid length; only the whole path is over 259.
  const std::string folder = testenv::Path(std::string(120, 'd'));
  ASSERT_TRUE(testenv::MakeDir(folder));
  std::string link = folder + "\\" + std::string(140, 'n') + ".LNK";
  ASSERT_GT(link.size(), 259u);
  EXPECT_FALSE(Save(link));
  // Nothing was saved under a cut name either.
  EXPECT_EQ(2u, Listing(folder + "\\*").size());  // "." and ".."
}

// The link object keeps 259 wide characters of a target or working folder;
// a longer one is refused (NT family: 200 double-byte characters fit).
TEST_F(ShortcutContract, RefusesATargetOrFolderTheShellWouldCut) {
  std::string kana;
  for (int i = 0; i < 200; ++i) kana += "\x83\x41";  // katakana "a"
  const std::string root = testenv::Root() + "\\";
  const std::string fits = root + std::string(259 - root.size(), 't');
  const std::string over = fits + "t";
  struct Case {
    std::string target;
    std::string folder;
    bool saved;
  } cases[] = {
      {fits, root, true},
      {over, root, false},
      {root + "app.exe", over, false},
      {root + kana, root, true},
  };
  const std::string link = testenv::Path("App.LNK");
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    platform::ShortcutFields fields = {cases[i].target.c_str(),
                                       cases[i].folder.c_str(), "", 0};
    EXPECT_EQ(cases[i].saved, platform::SaveShortcut(fields, link.c_str()))
        << i;
    EXPECT_EQ(cases[i].saved,
              testenv::ReadAttributes(link) != testenv::kNoAttributes)
        << i;
    platform::RemoveFile(link.c_str());
  }
}

}  // namespace
