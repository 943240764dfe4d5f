// The platform contract: what the updater relies on from each call of
// platform/platform.h. The same tests run against the fake world (host
// build) and against real Win32 under Wine (Windows build), which keeps
// the fake honest. Arranging is done through tests/contract/test_env.h.
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "settings/app_paths.h"
#include "tests/contract/test_env.h"

namespace {

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

TEST_F(PlatformContract, PlatformIsNt) {
  EXPECT_EQ(platform::kPlatformWin32Nt, platform::PlatformId());
}

TEST_F(PlatformContract, AllUsersFoldersExistUnderNt) {
  const int folders[] = {platform::kCsidlCommonPrograms,
                         platform::kCsidlCommonDesktopDirectory};
  for (size_t i = 0; i < 2; ++i) {
    char buffer[platform::kMaxPath];
    memset(buffer, 0, sizeof(buffer));
    ASSERT_TRUE(platform::SpecialFolderPath(folders[i], buffer)) << folders[i];
    EXPECT_TRUE(IsFullPath(buffer)) << buffer;
    EXPECT_NE('\\', buffer[strlen(buffer) - 1]) << buffer;
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
  EXPECT_FALSE(search.Next(&entry));  // a plain path has one match
  search.Close();
  search.Close();  // a second close does nothing
  EXPECT_FALSE(search.Next(&entry));
  // The object can search again after closing.
  EXPECT_TRUE(search.First(testenv::Path("c.dat").c_str(), &entry));
  EXPECT_STREQ("c.dat", entry.name);
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

TEST_F(PlatformContract, SetAttributesRefusesMissingAndWildcardNames) {
  ASSERT_TRUE(testenv::WriteFile(testenv::Path("w.txt"), "x"));
  EXPECT_FALSE(platform::SetAttributes(testenv::Path("missing.txt").c_str(), 0x20));
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
  EXPECT_EQ(testenv::kNoAttributes, testenv::ReadAttributes(testenv::Path("a")));
  ASSERT_TRUE(testenv::WriteFile(testenv::Path("file"), "x"));
  EXPECT_FALSE(platform::MakeDirectory(testenv::Path("file").c_str()));
  EXPECT_FALSE(platform::MakeDirectory(""));
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
  EXPECT_NE(testenv::kNoAttributes, testenv::ReadAttributes(testenv::Path("dir")));
}

// ---- CopyFileOver --------------------------------------------------------

class CopyContract : public PlatformContract {
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

TEST_F(CopyContract, CopiesOverAnExistingFile) {
  const std::string target = testenv::Path("target.bin");
  ASSERT_TRUE(testenv::WriteFile(target, "old contents, longer"));
  ASSERT_TRUE(platform::CopyFileOver(source_.c_str(), target.c_str()));
  EXPECT_EQ(std::string("new\0data", 8), Read(target));
  // A new destination works as well.
  const std::string fresh = testenv::Path("fresh.bin");
  ASSERT_TRUE(platform::CopyFileOver(source_.c_str(), fresh.c_str()));
  EXPECT_EQ(std::string("new\0data", 8), Read(fresh));
}

TEST_F(CopyContract, CarriesReadOnlyAttributeAndLastWriteDate) {
  ASSERT_TRUE(testenv::SetLastWrite(source_, 2001, 4, 25, 12, 0));
  ASSERT_TRUE(platform::SetAttributes(source_.c_str(), 0x21));
  const std::string target = testenv::Path("target.bin");
  ASSERT_TRUE(platform::CopyFileOver(source_.c_str(), target.c_str()));
  EXPECT_EQ(0x21u, testenv::ReadAttributes(target));
  ASSERT_TRUE(platform::SetAttributes(target.c_str(), 0x20));
  platform::FileDate date = {0, 0, 0};
  ASSERT_EQ(platform::kFileDateRead, platform::LastWriteDate(target.c_str(), &date));
  EXPECT_EQ(2001, date.year);
  EXPECT_EQ(4, date.month);
  EXPECT_EQ(25, date.day);
}

TEST_F(CopyContract, FailsWithoutChangingTheDestination) {
  const std::string held = testenv::Path("held.bin");
  ASSERT_TRUE(testenv::WriteFile(held, "kept"));
  ASSERT_TRUE(testenv::HoldOpen(held));
  EXPECT_FALSE(platform::CopyFileOver(source_.c_str(), held.c_str()));
  testenv::Release(held);
  EXPECT_EQ("kept", Read(held));

  const std::string target = testenv::Path("t.bin");
  EXPECT_FALSE(platform::CopyFileOver(testenv::Path("missing.bin").c_str(),
                                      target.c_str()));
  EXPECT_EQ(testenv::kNoAttributes, testenv::ReadAttributes(target));
  EXPECT_FALSE(platform::CopyFileOver(
      source_.c_str(), testenv::Path("missing\\t.bin").c_str()));
  ASSERT_TRUE(testenv::MakeDir(testenv::Path("dir")));
  EXPECT_FALSE(platform::CopyFileOver(testenv::Path("dir").c_str(), target.c_str()));
  EXPECT_FALSE(platform::CopyFileOver(source_.c_str(), testenv::Path("dir").c_str()));
  EXPECT_FALSE(platform::CopyFileOver("", target.c_str()));
  EXPECT_FALSE(platform::CopyFileOver(source_.c_str(), ""));
}

TEST_F(CopyContract, HeldSourceCannotBeCopied) {
  ASSERT_TRUE(testenv::HoldOpen(source_));
  const std::string target = testenv::Path("t.bin");
  EXPECT_FALSE(platform::CopyFileOver(source_.c_str(), target.c_str()));
  EXPECT_EQ(testenv::kNoAttributes, testenv::ReadAttributes(target));
}

TEST_F(CopyContract, ReadOnlyDestinationIsRefused) {
  if (!testenv::ReadOnlyDestinationRefusesCopy()) {
    GTEST_SKIP() << "this side writes through read-only files";
  }
  const std::string target = testenv::Path("ro.bin");
  ASSERT_TRUE(testenv::WriteFile(target, "kept"));
  ASSERT_TRUE(platform::SetAttributes(target.c_str(), 0x21));
  EXPECT_FALSE(platform::CopyFileOver(source_.c_str(), target.c_str()));
  EXPECT_EQ("kept", Read(target));
}

// ---- LastWriteDate -------------------------------------------------------

TEST_F(PlatformContract, LastWriteDateIsTheLocalCalendarDate) {
  const std::string file = testenv::Path("dated.txt");
  ASSERT_TRUE(testenv::WriteFile(file, "x"));
  const int times[][5] = {{2001, 4, 25, 12, 0}, {1999, 12, 31, 23, 30},
                          {2030, 1, 1, 0, 30}};
  for (size_t i = 0; i < 3; ++i) {
    const int* t = times[i];
    ASSERT_TRUE(testenv::SetLastWrite(file, t[0], t[1], t[2], t[3], t[4]));
    platform::FileDate date = {0, 0, 0};
    ASSERT_EQ(platform::kFileDateRead, platform::LastWriteDate(file.c_str(), &date));
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

// ---- OpenableForWriting -------------------------------------------------

TEST_F(PlatformContract, OpenableForWritingChangesNothing) {
  const std::string file = testenv::Path("w.txt");
  ASSERT_TRUE(testenv::WriteFile(file, "kept"));
  ASSERT_TRUE(testenv::SetLastWrite(file, 2001, 4, 25, 12, 0));
  EXPECT_TRUE(platform::OpenableForWriting(file.c_str()));
  std::string bytes;
  ASSERT_TRUE(testenv::ReadFile(file, &bytes));
  EXPECT_EQ("kept", bytes);
  platform::FileDate date = {0, 0, 0};
  ASSERT_EQ(platform::kFileDateRead, platform::LastWriteDate(file.c_str(), &date));
  EXPECT_EQ(2001, date.year);
  EXPECT_EQ(25, date.day);
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

// ---- AnsiToUtf8 (the suite runs with code page 932) ------------------------

TEST_F(PlatformContract, AnsiToUtf8ConvertsCodePage932) {
  struct Case {
    const char* ansi;
    const char* utf8;
  };
  const Case cases[] = {
      {"", ""},
      {"C:\\Tools\\a.txt", "C:\\Tools\\a.txt"},
      {"\x83\x65\x83\x58\x83\x67", "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"},
      {"\x95\x5C\x81\x5B", "\xE8\xA1\xA8\xE3\x83\xBC"},  // second bytes 0x5C
      {"\xB1", "\xEF\xBD\xB1"},  // half-width katakana
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    char buffer[64];
    memset(buffer, 'z', sizeof(buffer));
    EXPECT_EQ(strlen(cases[i].utf8) + 1,
              platform::AnsiToUtf8(cases[i].ansi, buffer, sizeof(buffer)))
        << i;
    EXPECT_STREQ(cases[i].utf8, buffer) << i;
  }
  // Too small a buffer: the size needed, nothing written.
  char small[4] = {'z', 'z', 'z', 'z'};
  EXPECT_EQ(10u, platform::AnsiToUtf8("\x83\x65\x83\x58\x83\x67", small, 4));
  EXPECT_EQ('z', small[0]);
  EXPECT_EQ(10u, platform::AnsiToUtf8("\x83\x65\x83\x58\x83\x67", NULL, 0));
}

TEST_F(PlatformContract, AnsiToUtf8RefusesACutCharacter) {
  char buffer[16];
  EXPECT_EQ(0u, platform::AnsiToUtf8("a\x83", buffer, sizeof(buffer)));
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
         "Long=" + LongValue() + "\n"
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
      {"Main", "Quoted", "a b"},      // matching quotes come off
      {"Main", "Single", "x y"},
      {"Main", "Half", "\"open"},     // a lone quote stays
      {"Main", "Empty", ""},          // present and empty
      {"Main", "Word", "NO_DATA"},    // a word without "=" is no key
      {"Main", "Other", "NO_DATA"},   // the second [main] is never reached
      {"Main", "Missing", "NO_DATA"},
      {"Missing", "Key1", "NO_DATA"},
      {"", "orphan", "before"},       // lines before any header: no name
      {"DEFINE", "<Dir>", "C:\\x"},
      {"DEFINE", "<Q>", "quoted"},
      {"Tail", "k", "v"},             // last line without a line end
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

TEST_F(ProfileContract, DefaultComesBackTrimmedAndUnquoted) {
  char buffer[260];
  EXPECT_EQ(7u, platform::ProfileString("Main", "Key1", "NO_DATA", buffer, 259,
                                        testenv::Path("none.ini").c_str()));
  EXPECT_STREQ("NO_DATA", buffer);
  EXPECT_EQ(4u, platform::ProfileString("Main", "Missing", "dflt  ", buffer, 259,
                                        file_.c_str()));
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
  EXPECT_EQ(define, SectionText("define", 1000, file_, &result).substr(0, define.size()));
  EXPECT_EQ(define.size() - 1, result);  // the second zero is not counted

  // Only the first [Main]: its lines, the bare word included.
  const std::string main =
      ZeroList({"Key1=value one", "key1=second", "Quoted=\"a b\"", "Single='x y'",
                "Half=\"open", "Empty=", "Word", "Long=" + LongValue()});
  EXPECT_EQ(main, SectionText("Main", 1000, file_, &result).substr(0, main.size()));
  EXPECT_EQ(main.size() - 1, result);
}

TEST_F(ProfileContract, CutsASectionToTheBufferWithTwoZeros) {
  unsigned result = 0;
  EXPECT_EQ(std::string("<Dir>=C:\0\0", 10), SectionText("DEFINE", 10, file_, &result));
  EXPECT_EQ(8u, result);
  // A list that would fill the buffer exactly counts as cut as well (its
  // text then happens to be whole).
  const std::string define = DefineList();
  const unsigned exact = static_cast<unsigned>(define.size());
  EXPECT_EQ(define, SectionText("DEFINE", exact, file_, &result));
  EXPECT_EQ(exact - 2, result);
  EXPECT_EQ(define, SectionText("DEFINE", exact + 1, file_, &result).substr(0, exact));
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
  EXPECT_EQ(orphans, SectionText("", 100, file_, &result).substr(0, orphans.size()));
  EXPECT_EQ(orphans.size() - 1, result);

  // A file that starts with a header has nothing under the empty name.
  const std::string headed = testenv::Path("headed.ini");
  ASSERT_TRUE(testenv::WriteFile(headed, "[a]\r\nk=v\r\n"));
  char buffer[260];
  EXPECT_EQ(7u, platform::ProfileString("", "k", "NO_DATA", buffer, 259,
                                        headed.c_str()));
  EXPECT_STREQ("NO_DATA", buffer);
  result = 7;
  EXPECT_EQ(std::string(2, '\0'), SectionText("", 100, headed, &result).substr(0, 2));
  EXPECT_EQ(0u, result);
}

// ---- String table -------------------------------------------------------

// The message texts in code page 932, byte for byte.
struct Message {
  unsigned id;
  const char* text;
};
const Message kMessages[] = {
    {1, "\x83t\x83@\x83" "C\x83\x8B\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82"
        "\xDC\x82\xB9\x82\xF1\x81" "B\n\n\x83t\x83@\x83" "C\x83\x8B:\x81" "F\"%s\""},
    {2, "\x90\xDD\x92\xE8\x83t\x83@\x83" "C\x83\x8B\x82\xCC\x83t\x83H\x81[\x83}"
        "\x83" "b\x83g\x82\xAA\x90\xB3\x82\xB5\x82\xAD\x82\xA0\x82\xE8\x82\xDC"
        "\x82\xB9\x82\xF1\x81" "B\n\n\x83Z\x83N\x83V\x83\x87\x83\x93\x81" "F\"%s\""
        "\n\x83p\x83\x89\x83\x81\x81[\x83^\x81" "F\"%s\""},
    {3, "\x83\x81\x83\x82\x83\x8A\x82\xAA\x95s\x91\xAB\x82\xB5\x82\xC4\x82\xA2"
        "\x82\xDC\x82\xB7\x81" "B\n\n\x83I\x83u\x83W\x83" "F\x83N\x83g\x81"
        "F\"%s\""},
    {4, "\x90\xDD\x92\xE8\x83p\x83\x89\x83\x81\x81[\x83^\x82\xCC\x83" "A\x83"
        "C\x83" "e\x83\x80\x90\x94\x82\xAA\x90\xB3\x82\xB5\x82\xAD\x82\xA0\x82"
        "\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B\n\n\x83Z\x83N\x83V\x83\x87\x83\x93"
        "\x81" "F\"%s\"\n\x83p\x83\x89\x83\x81\x81[\x83^\x81" "F\"%s\""},
    {5, "\x83p\x83X\x82\xCC\x8E\xE6\x93\xBE\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC"
        "\x82\xB5\x82\xBD\x81" "B\n\n\x83t\x83@\x83" "C\x83\x8B\x81" "F\"%s\""},
    {6, "\x83V\x83\x93\x83{\x83\x8B\x82\xAA\x90\xB3\x82\xB5\x82\xAD\x82\xA0\x82"
        "\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B\n\n\x83V\x83\x93\x83{\x83\x8B\x81"
        "F\"%s\""},
    {8, "\x83t\x83@\x83" "C\x83\x8B\x82\xCC\x83R\x83s\x81[\x82\xC9\x8E\xB8\x94s"
        "\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81" "B\n\n\x93]\x91\x97\x8C\xB3\x81"
        "F\"%s\"\n\x93]\x91\x97\x90\xE6\x81" "F\"%s\""},
    {9, "\x83" "A\x83v\x83\x8A\x83P\x81[\x83V\x83\x87\x83\x93\x82\xCC\x8BN\x93"
        "\xAE\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81" "B\n\n"
        "\x83t\x83@\x83" "C\x83\x8B\x81" "F\"%s\"\n\x83p\x83\x89\x83\x81\x81[\x83^"
        "\x81" "F\"%s\""},
    {10, "\x83t\x83@\x83" "C\x83\x8B\x82\xCC\x8D\xED\x8F\x9C\x82\xC9\x8E\xB8\x94"
         "s\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81" "B\n\n\x83t\x83@\x83" "C\x83\x8B"
         "\x81" "F\"%s\""},
    {11, "\x83v\x83\x8D\x83V\x81[\x83W\x83\x83\x90\x94\x82\xAA\x90\xB3\x82\xB5"
         "\x82\xAD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B"},
    {12, "\x83t\x83@\x83" "C\x83\x8B\x91\xAE\x90\xAB\x82\xCC\x95\xCF\x8DX\x82\xC9"
         "\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81" "B\n\n\x83t\x83@\x83"
         "C\x83\x8B\x81" "F\"%s\"\n\x91\xAE\x90\xAB\x81" "F0x%08X"},
    {13, "\x83" "f\x83" "B\x83\x8C\x83N\x83g\x83\x8A\x82\xCC\x8D\xEC\x90\xAC\x82"
         "\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81" "B\n\n\x83" "f\x83"
         "B\x83\x8C\x83N\x83g\x83\x8A\x81" "F\"%s\""},
};

TEST_F(PlatformContract, StringTableHoldsTheMessagesInCodePage932) {
  for (size_t i = 0; i < sizeof(kMessages) / sizeof(kMessages[0]); ++i) {
    char buffer[256];
    memset(buffer, 'z', sizeof(buffer));
    int length = platform::LoadResourceString(kMessages[i].id, buffer, 256);
    EXPECT_EQ(std::string(kMessages[i].text), std::string(buffer))
        << "id " << kMessages[i].id;
    EXPECT_EQ(static_cast<int>(strlen(kMessages[i].text)), length)
        << "id " << kMessages[i].id;
  }
}

TEST_F(PlatformContract, StringIsNotCutInsideADoubleByteCharacter) {
  // Id 11 starts with two double-byte characters.
  ASSERT_EQ(11u, kMessages[9].id);
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
    EXPECT_EQ(std::string(kMessages[9].text, cases[i].length),
              std::string(buffer))
        << cases[i].size;
  }
}

TEST_F(PlatformContract, StringTableHasNoId7) {
  char buffer[256];
  memset(buffer, 'z', sizeof(buffer));
  EXPECT_EQ(0, platform::LoadResourceString(7, buffer, 256));
  EXPECT_EQ('\0', buffer[0]);
}

TEST_F(PlatformContract, StringIsCutToTheBuffer) {
  // Id 12 ends in ASCII: a buffer one byte short loses its last character.
  const std::string full = kMessages[10].text;
  ASSERT_EQ(12u, kMessages[10].id);
  std::vector<char> buffer(full.size() + 8, 'z');
  int size = static_cast<int>(full.size());
  EXPECT_EQ(size - 1, platform::LoadResourceString(12, &buffer[0], size));
  EXPECT_EQ(full.substr(0, full.size() - 1), std::string(&buffer[0]));
}

// ---- Registry ------------------------------------------------------------

const char* const kAppPaths = kAppPathsKey;

TEST_F(PlatformContract, RegistryOpenOfAMissingKeyFails) {
  platform::RegistryHandle handle = NULL;
  EXPECT_FALSE(platform::RegistryOpen(
      platform::kLocalMachine,
      (std::string(kAppPaths) + testenv::UniqueName("missing") + ".exe").c_str(),
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
  EXPECT_EQ(std::string("C:\\x\0z", 6), std::string(reinterpret_cast<char*>(data), 6));
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
  const std::string base = "Software\\" + testenv::UniqueName("UpdaterContract");
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
                             const std::string& directory = testenv::Root()) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return platform::Launch(&line[0], directory.c_str(), wait);
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

TEST_F(LaunchContract, MissingProgramOrDirectoryIsNotStarted) {
  EXPECT_EQ(platform::kLaunchNotStarted,
            Run(testenv::Path("missing.exe") + kNoTests, platform::kWaitForExit));
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
  EXPECT_EQ(platform::kLaunchDone, Run(target + kNoTests, platform::kWaitForExit));
  EXPECT_EQ(platform::kLaunchNotStarted,
            Run("\"" + target + "\"" + kNoTests, platform::kWaitForExit));
}

// ---- Shortcuts -----------------------------------------------------------

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

TEST_F(ShortcutContract, SavesIntoAnExistingFolderOnly) {
  const std::string link = testenv::Path("App.LNK");
  ASSERT_TRUE(Save(link));
  EXPECT_NE(testenv::kNoAttributes, testenv::ReadAttributes(link));
  EXPECT_TRUE(Save(link));  // an existing link is overwritten
  EXPECT_FALSE(Save(testenv::Path("missing\\App.LNK")));
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

}  // namespace
