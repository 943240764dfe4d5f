// EXIST procedures on the fake file system.
#include <string>
#include <vector>

#include "app/proc_driver.h"
#include "commands/exist.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/section_run.h"
#include "tests/unit/updater_test.h"

namespace {

class ExistTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    fake::AddFile("C:\\app\\a.txt");
    fake::AddFile("C:\\app\\b.txt");
    fake::AddFile("C:\\app\\lib\\x.dll");
    fake::AddDirectory("C:\\app\\empty");
  }

  SectionRun RunExistSection(const std::string& file) {
    WriteSettings("[S]\nMODE=EXIST\nFILE=" + file + "\n");
    return LoadAndRun(LoadExist, RunExist, "S");
  }
};

TEST_F(ExistTest, ResultIsTrueOnlyWhenEveryItemExistsAndTheRunGoesOn) {
  struct Case {
    const char* file;
    bool result;
  } cases[] = {
      {"C:\\app\\a.txt,C:\\app\\b.txt", true},
      {" C:\\app\\a.txt , C:\\app\\b.txt ", true},
      {"c:\\APP\\A.TXT", true},
      {"C:\\app\\missing.txt,C:\\app\\a.txt", false},
      {"C:\\app\\a.txt,C:\\app\\missing.txt", false},
      // Directories and patterns count when anything matches.
      {"C:\\app\\empty,C:\\app\\lib\\*.dll", true},
      {"C:\\app\\lib\\*.exe", false},
      {"C:\\app\\empty\\*.txt", false},
      // A folder written with trailing backslashes is found; a file or a
      // drive root written so is not.
      {"C:\\app\\empty\\, C:\\app\\lib\\\\", true},
      {"C:\\app\\a.txt\\", false},
      {"C:\\", false},
      // An empty item names nothing.
      {"C:\\app\\a.txt,", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    SectionRun run = RunExistSection(c.file);
    EXPECT_TRUE(run.goesOn);
    EXPECT_EQ(c.result, run.result);
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(0, fake::OpenSearchCount());
  }
}

TEST_F(ExistTest, MissingItemDoesNotStopTheList) {
  WriteSettings(
      "[E]\nMODE=exist\nFILE=C:\\app\\missing.txt\n"
      "[A]\nMODE=ATTR\nFILE=C:\\app\\a.txt\nARG=0x1\n");
  TextString text("E,A");
  ProcList list = LoadProcList(text, 2);
  ASSERT_TRUE(list != 0);
  EXPECT_TRUE(RunProcList(list));
  EXPECT_FALSE(list[0]->result);
  EXPECT_EQ(0x1u, fake::Attributes("C:\\app\\a.txt"));
}

TEST_F(ExistTest, EmptyFileListIsReportedWithTheSectionName) {
  SectionRun run = RunExistSection("");
  EXPECT_FALSE(run.goesOn);
  EXPECT_FALSE(run.result);
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_ITEM_COUNT, "S", "FILE")},
            BoxTexts());
}

}  // namespace
