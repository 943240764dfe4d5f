#include "settings/settings_reader.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "tests/fake/fake_world.h"

namespace {

const char kIni[] = "C:\\Tools\\updater.ini";

class SettingsReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }

  static void WriteIni(const std::string& text) { fake::AddFile(kIni, text); }
};

TEST_F(SettingsReaderTest, AbsentKeysLeaveTargetsUntouched) {
  WriteIni(
      "[S]\r\n"
      "Upper=NO_DATA\r\n"
      "Lower=no_data\r\n"
      "Mixed=No_Data\r\n"
      "Number=NO_DATA\r\n");
  struct Case {
    const char* file;
    const char* section;
    const char* key;
  } cases[] = {
      {kIni, "S", "Upper"},   {kIni, "S", "Lower"},
      {kIni, "S", "Mixed"},   {kIni, "S", "Number"},
      {kIni, "S", "Missing"}, {kIni, "Missing", "Upper"},
      {"C:\\Tools\\none.ini", "S", "Upper"},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    TextString text("before");
    EXPECT_FALSE(ReadSettingString(cases[i].file, cases[i].section,
                                   cases[i].key, &text)) << i;
    EXPECT_STREQ("before", text.Text()) << i;
    int number = 77;
    EXPECT_FALSE(ReadSettingInt(cases[i].file, cases[i].section, cases[i].key,
                                &number)) << i;
    EXPECT_EQ(77, number) << i;
  }
}

TEST_F(SettingsReaderTest, PresentValues) {
  WriteIni("[S]\r\nEmpty=\r\nNear=NO_DATA!\r\nPath=C:\\a b\\c.txt\r\n");
  struct Case {
    const char* key;
    std::string expected;
  } cases[] = {
      {"Empty", ""},
      {"Near", "NO_DATA!"},
      {"path", "C:\\a b\\c.txt"},  // key names ignore letter case
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    TextString text("before");
    EXPECT_TRUE(ReadSettingString(kIni, "s", cases[i].key, &text)) << i;
    EXPECT_EQ(cases[i].expected, text.Text()) << i;
  }
}

// Values are read whole, however long, up to the largest read of the
// family's profile functions; beyond it they count as absent, never cut.
TEST_F(SettingsReaderTest, LongValuesAreReadWholeOrNotAtAll) {
  const std::string kana = "\x82\xA0";  // a double-byte character
  std::string wide;
  for (int i = 0; i < 200; ++i) wide += kana;
  struct Case {
    unsigned platformId;
    std::string value;
    bool read;
  } cases[] = {
      {platform::kPlatformWin32Nt, std::string(256, 'v'), true},
      {platform::kPlatformWin32Nt, std::string(257, 'v'), true},
      {platform::kPlatformWin32Nt, std::string(258, 'v'), true},
      {platform::kPlatformWin32Nt, std::string(259, 'v'), true},
      {platform::kPlatformWin32Nt, wide, true},
      {platform::kPlatformWin32Nt, "x" + wide, true},
      {platform::kPlatformWin32Nt, std::string(100000, 'v'), true},
      {platform::kPlatformWin32Windows, std::string(32764, 'v'), true},
      {platform::kPlatformWin32Windows, std::string(32765, 'v'), false},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    fake::SetPlatformId(cases[i].platformId);
    WriteIni("[S]\r\nLong=" + cases[i].value + "\r\nN=" + cases[i].value +
             "\r\n");
    TextString text("before");
    EXPECT_EQ(cases[i].read, ReadSettingString(kIni, "S", "Long", &text)) << i;
    EXPECT_EQ(cases[i].read ? cases[i].value : "before", text.Text()) << i;
    int number = 7;
    EXPECT_EQ(cases[i].read, ReadSettingInt(kIni, "S", "N", &number)) << i;
  }
}

TEST_F(SettingsReaderTest, IntegersAreReadLikeScanfDecimal) {
  WriteIni(
      "[S]\r\nA=12abc\r\nB=-7\r\nC=0x10\r\nD=abc\r\nE=\r\nF=+5\r\n"
      "G=- 3\r\n");
  struct Case {
    const char* key;
    int expected;  // 99: the target keeps its earlier value
  } cases[] = {
      {"A", 12}, {"B", -7}, {"C", 0}, {"D", 99}, {"E", 99}, {"F", 5},
      {"G", 99},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    int number = 99;
    EXPECT_TRUE(ReadSettingInt(kIni, "S", cases[i].key, &number)) << i;
    EXPECT_EQ(cases[i].expected, number) << i;
  }
}

TEST_F(SettingsReaderTest, SectionLinesAreJoinedWithoutComments) {
  WriteIni(
      "[DEFINE]\r\nA=1\r\n;B=2\r\nC=3\r\n<Empty>\r\n"
      "[COMMENTS]\r\n;x=1\r\n;y\r\n"
      "[OTHER]\r\nZ=9\r\n");
  struct Case {
    const char* section;
    const char* before;
    int count;
    const char* after;
  } cases[] = {
      {"DEFINE", "", 3, "A=1\nC=3\n<Empty>"},
      // Appended after a line feed when the target already holds text.
      {"DEFINE", "X=0", 3, "X=0\nA=1\nC=3\n<Empty>"},
      {"COMMENTS", "", 0, ""},
      {"COMMENTS", "X=0", 0, "X=0"},
      {"MISSING", "X=0", 0, "X=0"},
      {"other", "", 1, "Z=9"},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    TextString target(cases[i].before);
    int count = -1;
    EXPECT_TRUE(ReadSettingSection(kIni, cases[i].section, &target, &count))
        << i;
    EXPECT_EQ(cases[i].count, count) << i;
    EXPECT_STREQ(cases[i].after, target.Text()) << i;
  }
  TextString target;
  int count = -1;
  EXPECT_TRUE(
      ReadSettingSection("C:\\Tools\\none.ini", "DEFINE", &target, &count));
  EXPECT_EQ(0, count);
  EXPECT_STREQ("", target.Text());
}

// 500 lines of 100 bytes: more than the first read's 32767 bytes, read
// whole on the NT family and not at all on the 95 family.
TEST_F(SettingsReaderTest, LargeSectionIsReadWholeOrNotAtAll) {
  std::string ini = "[BIG]\r\n";
  std::string lines;
  for (int i = 0; i < 500; ++i) {
    char name[16];
    snprintf(name, sizeof name, "K%03d=", i);
    ini += name + std::string(95, 'x') + "\r\n";
    lines += (i > 0 ? "\n" : "") + (name + std::string(95, 'x'));
  }
  WriteIni(ini);
  TextString target;
  int count = 0;
  EXPECT_TRUE(ReadSettingSection(kIni, "BIG", &target, &count));
  EXPECT_EQ(500, count);
  EXPECT_EQ(lines, target.Text());

  fake::SetPlatformId(platform::kPlatformWin32Windows);
  target.Set("X=0");
  EXPECT_FALSE(ReadSettingSection(kIni, "BIG", &target, &count));
  EXPECT_EQ(500, count);  // untouched
  EXPECT_STREQ("X=0", target.Text());
}

}  // namespace
