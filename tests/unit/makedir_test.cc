// MAKEDIR procedures on the fake file system.
#include <string>
#include <vector>

#include "commands/makedir.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/section_run.h"
#include "tests/unit/updater_test.h"

namespace {

class MakedirTest : public UpdaterTest {
 protected:
  SectionRun RunMakedirSection(const std::string& dir) {
    WriteSettings("[S]\nMODE=MAKEDIR\nDIR=" + dir + "\n");
    return LoadAndRun(LoadMakedir, RunMakedir, "S");
  }
};

TEST_F(MakedirTest, ParentThenChildAreCreatedAndARerunChangesNothing) {
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    SectionRun run = RunMakedirSection(" C:\\App , C:\\App\\Data ");
    EXPECT_TRUE(run.goesOn);
    EXPECT_TRUE(run.result);
    EXPECT_TRUE(fake::IsDirectory("C:\\App"));
    EXPECT_TRUE(fake::IsDirectory("C:\\App\\Data"));
    EXPECT_TRUE(BoxTexts().empty());
  }
  EXPECT_EQ(0, fake::OpenSearchCount());
}

// A trailing backslash must not turn the second run into a failure.
TEST_F(MakedirTest, FolderWrittenWithTrailingBackslashIsFoundOnTheNextRun) {
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    SectionRun run = RunMakedirSection("C:\\App\\,C:\\App\\Data\\");
    EXPECT_TRUE(run.result);
    EXPECT_TRUE(fake::IsDirectory("C:\\App\\Data"));
    EXPECT_TRUE(BoxTexts().empty());
  }
}

TEST_F(MakedirTest, ExistingFileOfThatNameCountsAsDone) {
  fake::AddFile("C:\\App\\Data", "file");
  SectionRun run = RunMakedirSection("C:\\App,C:\\App\\Data");
  EXPECT_TRUE(run.result);
  EXPECT_FALSE(fake::IsDirectory("C:\\App\\Data"));
  EXPECT_EQ("file", fake::Contents("C:\\App\\Data"));
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(MakedirTest, ItemThatCannotBeCreatedStopsTheRunAndIsNamed) {
  struct Case {
    const char* dir;
    const char* named;
  } cases[] = {
      // One level per item: the parent must already exist.
      {"C:\\App\\Data", "C:\\App\\Data"},
      {"C:\\First, C:\\App\\Data , C:\\Third", "C:\\App\\Data"},
      {"C:\\First,,C:\\Third", ""},
      {"C:\\First,C:\\bad|name,C:\\Third", "C:\\bad|name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dir);
    SetUp();
    SectionRun run = RunMakedirSection(c.dir);
    EXPECT_FALSE(run.goesOn);
    EXPECT_FALSE(run.result);
    EXPECT_FALSE(fake::Exists("C:\\App"));
    EXPECT_FALSE(fake::Exists("C:\\Third"));
    EXPECT_EQ(std::vector<std::string>{Message(MSG_MAKEDIR_FAILED, c.named)},
              BoxTexts());
  }
  // The level made before the failure stays.
  EXPECT_TRUE(fake::IsDirectory("C:\\First"));
}

TEST_F(MakedirTest, EmptyDirListIsReportedWithTheSectionName) {
  SectionRun run = RunMakedirSection("");
  EXPECT_FALSE(run.goesOn);
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_ITEM_COUNT, "S", "DIR")},
            BoxTexts());
}

}  // namespace
