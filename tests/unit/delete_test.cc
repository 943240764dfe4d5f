// DELETE procedures on the fake file system.
#include <functional>
#include <string>
#include <vector>

#include "commands/delete.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/section_run.h"
#include "tests/unit/updater_test.h"

namespace {

class DeleteTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    fake::AddFile("C:\\d\\a.tmp");
    fake::AddFile("C:\\d\\b.tmp");
    fake::AddFile("C:\\d\\c.tmp");
  }

  SectionRun RunDeleteSection(const std::string& file) {
    WriteSettings("[S]\nMODE=DELETE\nFILE=" + file + "\n");
    return LoadAndRun(LoadDelete, RunDelete, "S");
  }
};

TEST_F(DeleteTest, EveryItemIsDeletedWithBlanksTrimmed) {
  SectionRun run = RunDeleteSection(" C:\\d\\a.tmp ,C:\\d\\b.tmp ");
  EXPECT_TRUE(run.goesOn);
  EXPECT_TRUE(run.result);
  EXPECT_FALSE(fake::Exists("C:\\d\\a.tmp"));
  EXPECT_FALSE(fake::Exists("C:\\d\\b.tmp"));
  EXPECT_TRUE(fake::Exists("C:\\d\\c.tmp"));
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(DeleteTest, FirstFailingItemStopsTheRunAndIsNamed) {
  struct Case {
    const char* middle;  // the item between a.tmp and c.tmp
    const char* named;   // what the message shows
    std::function<void()> arrange;
  } cases[] = {
      {" C:\\d\\missing.tmp ", "C:\\d\\missing.tmp", [] {}},
      {"", "", [] {}},
      // No wildcard expansion: the pattern names no file.
      {"C:\\d\\*.*", "C:\\d\\*.*", [] {}},
      {"C:\\d\\sub", "C:\\d\\sub", [] { fake::AddDirectory("C:\\d\\sub"); }},
      // No attribute change: a read-only file stays.
      {"C:\\d\\b.tmp", "C:\\d\\b.tmp",
       [] { fake::SetAttributesOf("C:\\d\\b.tmp", 0x1); }},
      // A held file: tests/unit/file_in_use_test.cc.
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.middle);
    SetUp();
    c.arrange();
    SectionRun run = RunDeleteSection(std::string("C:\\d\\a.tmp,") + c.middle +
                                      ",C:\\d\\c.tmp");
    EXPECT_FALSE(run.goesOn);
    EXPECT_FALSE(run.result);
    EXPECT_FALSE(fake::Exists("C:\\d\\a.tmp"));
    EXPECT_TRUE(fake::Exists("C:\\d\\b.tmp"));
    EXPECT_TRUE(fake::Exists("C:\\d\\c.tmp"));
    EXPECT_EQ(std::vector<std::string>{Message(MSG_DELETE_FAILED, c.named)},
              BoxTexts());
  }
}

TEST_F(DeleteTest, TrailingCommaAddsAnEmptyItemThatFails) {
  SectionRun run = RunDeleteSection("C:\\d\\a.tmp,");
  EXPECT_FALSE(run.goesOn);
  EXPECT_FALSE(fake::Exists("C:\\d\\a.tmp"));
  EXPECT_EQ(std::vector<std::string>{Message(MSG_DELETE_FAILED, "")},
            BoxTexts());
}

TEST_F(DeleteTest, EmptyFileListIsReportedWithTheSectionName) {
  SectionRun run = RunDeleteSection("");
  EXPECT_TRUE(run.loaded);
  EXPECT_FALSE(run.goesOn);
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_ITEM_COUNT, "S", "FILE")},
            BoxTexts());
}

}  // namespace
