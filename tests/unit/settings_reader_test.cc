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
                                   cases[i].key, text)) << i;
    EXPECT_STREQ("before", text.Text()) << i;
    int number = 77;
    EXPECT_FALSE(ReadSettingInt(cases[i].file, cases[i].section, cases[i].key,
                                number)) << i;
    EXPECT_EQ(77, number) << i;
  }
}

TEST_F(SettingsReaderTest, PresentValues) {
  const std::string longValue(300, 'v');
  WriteIni("[S]\r\nEmpty=\r\nLong=" + longValue +
           "\r\nNear=NO_DATA!\r\nPath=C:\\a b\\c.txt\r\n");
  struct Case {
    const char* key;
    std::string expected;
  } cases[] = {
      {"Empty", ""},
      // One byte less than the size given to the profile function.
      {"Long", std::string(258, 'v')},
      {"Near", "NO_DATA!"},
      {"path", "C:\\a b\\c.txt"},  // key names ignore letter case
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    TextString text("before");
    EXPECT_TRUE(ReadSettingString(kIni, "s", cases[i].key, text)) << i;
    EXPECT_EQ(cases[i].expected, text.Text()) << i;
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
    EXPECT_TRUE(ReadSettingInt(kIni, "S", cases[i].key, number)) << i;
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
    EXPECT_EQ(cases[i].count, ReadSettingSection(kIni, cases[i].section,
                                                 target)) << i;
    EXPECT_STREQ(cases[i].after, target.Text()) << i;
  }
  TextString target;
  EXPECT_EQ(0, ReadSettingSection("C:\\Tools\\none.ini", "DEFINE", target));
  EXPECT_STREQ("", target.Text());
}

TEST_F(SettingsReaderTest, OversizedSectionIsCutNotOverrun) {
  // 500 lines of 100 bytes: far more than the 32767-byte buffer holds.
  std::string ini = "[BIG]\r\n";
  for (int i = 0; i < 500; ++i) {
    char name[16];
    snprintf(name, sizeof name, "K%03d=", i);
    ini += name + std::string(95, 'x') + "\r\n";
  }
  WriteIni(ini);
  TextString target;
  int count = ReadSettingSection(kIni, "BIG", target);
  EXPECT_GT(count, 300);
  EXPECT_LT(count, 500);
  EXPECT_LT(target.Length(), 32767);
  // Every line but a possibly cut last one is whole and in file order.
  for (int i = 0; i + 1 < count; ++i) {
    TextString line = target.Item(i, "\n");
    char name[16];
    snprintf(name, sizeof name, "K%03d=", i);
    EXPECT_EQ(name + std::string(95, 'x'), line.Text()) << i;
  }
}

}  // namespace
