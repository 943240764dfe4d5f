// COPY procedures on the fake file system.
#include <functional>
#include <string>
#include <vector>

#include "commands/copy.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/copy_fixture.h"
#include "tests/unit/section_run.h"

namespace {

class CopyTest : public CopyFilesTest {
 protected:
  void SetUp() override {
    CopyFilesTest::SetUp();
    fake::AddFile("C:\\app\\c.dll", "old c");
  }

  SectionRun RunCopySection(const std::string& from, const std::string& to) {
    WriteSettings("[S]\nMODE=COPY\nFROM=" + from + "\nTO=" + to + "\n");
    return LoadAndRun(LoadCopy, RunCopy, "S");
  }
};

TEST_F(CopyTest, PairsAreCopiedOverExistingFilesWithBlanksTrimmed) {
  // TO items beyond FROM are ignored, even one that could not be copied to.
  SectionRun run = RunCopySection(
      " C:\\new\\a.dll , C:\\new\\b.dll ",
      "C:\\app\\a.dll , C:\\app\\fresh.dll , C:\\missing\\x.dll");
  EXPECT_TRUE(run.goesOn);
  EXPECT_TRUE(run.result);
  EXPECT_EQ("new a", fake::Contents("C:\\app\\a.dll"));
  EXPECT_EQ("new b", fake::Contents("C:\\app\\fresh.dll"));
  EXPECT_EQ("old b", fake::Contents("C:\\app\\b.dll"));
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(CopyTest, FailingPairStopsWithSourceAndDestination) {
  struct Case {
    const char* what;
    const char* to;           // TO for FROM a.dll, b.dll, c.dll
    const char* failingTo;    // the destination the message names
    std::function<void()> arrange;
  } cases[] = {
      {"shorter TO list", "C:\\app\\a.dll", "", [] {}},
      {"empty TO item", "C:\\app\\a.dll,,C:\\app\\c.dll", "", [] {}},
      {"missing folder", "C:\\app\\a.dll,C:\\none\\b.dll,C:\\app\\c.dll",
       "C:\\none\\b.dll", [] {}},
      // A held destination: tests/unit/file_in_use_test.cc.
      {"read-only destination", "C:\\app\\a.dll,C:\\app\\b.dll,C:\\app\\c.dll",
       "C:\\app\\b.dll", [] { fake::SetAttributesOf("C:\\app\\b.dll", 0x21); }},
      {"destination is a folder", "C:\\app\\a.dll,C:\\app,C:\\app\\c.dll",
       "C:\\app", [] {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    c.arrange();
    SectionRun run =
        RunCopySection("C:\\new\\a.dll, C:\\new\\b.dll, C:\\new\\c.dll", c.to);
    EXPECT_FALSE(run.goesOn);
    EXPECT_FALSE(run.result);
    EXPECT_EQ("old a", fake::Contents("C:\\app\\a.dll"));
    EXPECT_EQ("old b", fake::Contents("C:\\app\\b.dll"));
    EXPECT_EQ("old c", fake::Contents("C:\\app\\c.dll"));
    EXPECT_EQ(std::vector<std::string>{Message(MSG_COPY_FAILED,
                                               "C:\\new\\b.dll", c.failingTo)},
              BoxTexts());
  }
}

TEST_F(CopyTest, EachWindowsFamilyTakesItsOwnRoute) {
  // A file copied onto itself tells the routes apart: the NT family's copy
  // made beside it and renamed over it succeeds, the 95 family's CopyFileA
  // meets its own open source, a sharing violation like any holder's, which
  // ends in the box that asks to retry (answered Cancel here).
  struct Case {
    unsigned platformId;
    bool copied;
  } cases[] = {{platform::kPlatformWin32Nt, true},
               {platform::kPlatformWin32Windows, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.platformId);
    SetUp();
    fake::SetPlatformId(c.platformId);
    if (!c.copied) fake::QueueAnswer(platform::kIdCancel);
    SectionRun run = RunCopySection("C:\\app\\a.dll", "C:\\app\\a.dll");
    EXPECT_EQ(c.copied, run.result);
    EXPECT_EQ(c.copied ? 0u : 1u, BoxTexts().size());
    EXPECT_EQ("old a", fake::Contents("C:\\app\\a.dll"));
  }
}

TEST_F(CopyTest, MissingSourceIsNamedAsTheSource) {
  SectionRun run = RunCopySection("C:\\new\\gone.dll", "C:\\app\\a.dll");
  EXPECT_FALSE(run.goesOn);
  EXPECT_EQ("old a", fake::Contents("C:\\app\\a.dll"));
  EXPECT_EQ(std::vector<std::string>{Message(
                MSG_COPY_FAILED, "C:\\new\\gone.dll", "C:\\app\\a.dll")},
            BoxTexts());
}

TEST_F(CopyTest, EmptyFromIsReportedWithoutLookingAtTo) {
  SectionRun run = RunCopySection("", "C:\\app\\a.dll");
  EXPECT_TRUE(run.loaded);
  EXPECT_FALSE(run.goesOn);
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_ITEM_COUNT, "S", "FROM")},
            BoxTexts());
}

TEST_F(CopyTest, MissingToFailsTheLoad) {
  WriteSettings("[S]\nMODE=COPY\nFROM=C:\\new\\a.dll\n");
  EXPECT_TRUE(LoadCopy("S") == 0);
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_FORMAT, "S", "TO")},
            BoxTexts());
}

}  // namespace
