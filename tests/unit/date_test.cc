// DATE procedures and FileDateAtLeast on the fake file system.
#include <string>
#include <vector>

#include "app/proc_driver.h"
#include "commands/date.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/section_run.h"
#include "tests/unit/updater_test.h"

namespace {

class DateTest : public UpdaterTest {
 protected:
  SectionRun RunDateSection(const std::string& file, const std::string& date) {
    WriteSettings("[S]\nMODE=DATE\nFILE=" + file + "\nDATE=" + date + "\n");
    return LoadAndRun(LoadDate, RunDate, "S");
  }
};

TEST_F(DateTest, DatesCompareByYearThenMonthThenDay) {
  struct Case {
    int year, month, day;  // the file's last-write date
    const char* date;
    bool atLeast;
  } cases[] = {
      {2001, 4, 25, "2001/04/25", true},
      {2001, 4, 25, "2001/4/25", true},
      {2001, 4, 24, "2001/04/25", false},
      {2001, 4, 26, "2001/04/25", true},
      {2002, 1, 1, "2001/12/31", true},
      {2000, 12, 31, "2001/01/01", false},
      {2001, 5, 1, "2001/04/30", true},
      {2001, 3, 31, "2001/04/01", false},
      // Missing or non-numeric parts count as 0; blanks before digits are
      // skipped, text after them is ignored.
      {2001, 1, 1, "2001", true},
      {2000, 12, 31, "2001", false},
      {2001, 4, 25, " 2001/ 4/25th", true},
      {2001, 4, 24, "2001/4/25 ", false},
      {1980, 1, 1, "", true},
      {1980, 1, 1, "x/y/z", true},
      // A two-digit year is year 1.
      {1980, 1, 1, "01/04/25", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day
                                    << " against '" << c.date << "'");
    fake::AddFile("C:\\app\\tool.exe");
    fake::SetFileDate("C:\\app\\tool.exe", c.year, c.month, c.day);
    EXPECT_EQ(c.atLeast, FileDateAtLeast("C:\\app\\tool.exe", c.date));
  }
}

TEST_F(DateTest, FilesThatCannotBeDatedAreNotCurrent) {
  fake::AddFile("C:\\app\\held.exe");
  fake::SetHeld("C:\\app\\held.exe", true);
  fake::AddFile("C:\\app\\untimed.exe");
  fake::SetFileTimeUnreadable("C:\\app\\untimed.exe", true);
  fake::AddDirectory("C:\\app\\dir");
  const char* files[] = {"C:\\app\\held.exe", "C:\\app\\untimed.exe",
                         "C:\\app\\dir", "C:\\app\\missing.exe", ""};
  for (const char* file : files) {
    SCOPED_TRACE(file);
    EXPECT_FALSE(FileDateAtLeast(file, "1601/1/1"));
  }
}

TEST_F(DateTest, FirstFileNotCurrentSetsTheResultAndTheRunGoesOn) {
  fake::SetToday(2024, 6, 15);
  fake::AddFile("C:\\app\\a.exe");
  fake::AddFile("C:\\app\\b.exe");
  fake::AddFile("C:\\app\\old.exe");
  fake::SetFileDate("C:\\app\\old.exe", 2024, 6, 14);
  struct Case {
    const char* file;
    bool result;
  } cases[] = {
      {"C:\\app\\a.exe, C:\\app\\b.exe", false},
      {"C:\\app\\a.exe,C:\\app\\missing.exe,C:\\app\\b.exe", true},
      {"C:\\app\\a.exe , C:\\app\\old.exe", true},
      {"C:\\app\\a.exe,", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    SectionRun run = RunDateSection(c.file, "2024/06/15");
    EXPECT_TRUE(run.goesOn);
    EXPECT_EQ(c.result, run.result);
    EXPECT_TRUE(BoxTexts().empty());
  }
}

TEST_F(DateTest, OutOfDateFileDoesNotStopTheList) {
  fake::AddFile("C:\\app\\a.exe");
  fake::SetFileDate("C:\\app\\a.exe", 2000, 1, 1);
  WriteSettings(
      "[D]\nMODE=date\nFILE=C:\\app\\a.exe\nDATE=2001/1/1\n"
      "[A]\nMODE=ATTR\nFILE=C:\\app\\a.exe\nARG=0x1\n");
  TextString text("D,A");
  ProcList list = LoadProcList(text, 2);
  ASSERT_TRUE(list != 0);
  EXPECT_TRUE(RunProcList(list));
  EXPECT_TRUE(list[0]->result);
  EXPECT_EQ(0x1u, fake::Attributes("C:\\app\\a.exe"));
}

TEST_F(DateTest, LoadAndItemCountFailures) {
  SectionRun run = RunDateSection("", "2001/1/1");
  EXPECT_FALSE(run.goesOn);
  EXPECT_FALSE(run.result);
  WriteSettings("[N]\nMODE=DATE\nFILE=C:\\app\\a.exe\n");
  EXPECT_TRUE(LoadDate("N") == 0);
  EXPECT_EQ((std::vector<std::string>{Message(MSG_BAD_ITEM_COUNT, "S", "FILE"),
                                      Message(MSG_BAD_FORMAT, "N", "DATE")}),
            BoxTexts());
}

}  // namespace
