// ATTR procedures on the fake file system.
#include <string>
#include <vector>

#include "app/proc_driver.h"
#include "app/process_state.h"
#include "commands/attr.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

class AttrTest : public UpdaterTest {
 protected:
  // Loads and runs one ATTR section with the given FILE and ARG values.
  bool RunAttrSection(const std::string& file, const std::string& arg) {
    WriteSettings("[S]\nMODE=ATTR\nFILE=" + file + "\nARG=" + arg + "\n");
    ProcRecord* record = LoadAttr("S");
    if (!record) return false;
    const bool ok = RunAttr(record);
    result_ = record->result;
    delete record;
    return ok;
  }

  bool result_ = false;
};

TEST_F(AttrTest, ArgumentsAreHexWithLowerCaseXAfterTrimming) {
  struct Case {
    const char* arg;
    unsigned expected;
  } cases[] = {
      // 0 reaches Windows as 0, which it stores as "normal" (0x80); the
      // directory and volume bits of 0x1F are ignored.
      {"0x1", 0x1},   {"0x20", 0x20}, {" 0x20 ", 0x20},  {"20", 0x80},
      {"0X20", 0x80}, {"", 0x80},     {"0x0021", 0x21}, {"0x1F", 0x7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arg);
    fake::AddFile("C:\\d\\a.txt", "", 0x2);
    ASSERT_TRUE(RunAttrSection("C:\\d\\a.txt", c.arg));
    EXPECT_TRUE(result_);
    EXPECT_EQ(c.expected, fake::Attributes("C:\\d\\a.txt"));
  }
}

TEST_F(AttrTest, ShorterArgListGivesZero) {
  fake::AddFile("C:\\d\\a.txt");
  fake::AddFile("C:\\d\\b.txt");
  ASSERT_TRUE(RunAttrSection("C:\\d\\a.txt , C:\\d\\b.txt", "0x1"));
  EXPECT_EQ(0x1u, fake::Attributes("C:\\d\\a.txt"));
  EXPECT_EQ(0x80u, fake::Attributes("C:\\d\\b.txt"));
}

TEST_F(AttrTest, WildcardReachesFilesDirectlyInTheFolderOnly) {
  fake::AddFile("C:\\d\\x.txt");
  fake::AddFile("C:\\d\\y", "", 0x2);
  fake::AddFile("C:\\d\\s\\inner.txt");
  ASSERT_TRUE(RunAttrSection("C:\\d\\*.*", "0x1"));
  EXPECT_EQ(0x1u, fake::Attributes("C:\\d\\x.txt"));
  EXPECT_EQ(0x1u, fake::Attributes("C:\\d\\y"));
  EXPECT_EQ(platform::kAttributeDirectory, fake::Attributes("C:\\d\\s"));
  EXPECT_EQ(platform::kAttributeArchive, fake::Attributes("C:\\d\\s\\inner.txt"));
  EXPECT_EQ(0, fake::OpenSearchCount());
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(AttrTest, WildcardOverMissingOrEmptyFolderIsNoFailure) {
  fake::AddDirectory("C:\\empty");
  fake::AddFile("C:\\d\\a.txt");
  ASSERT_TRUE(RunAttrSection("C:\\missing\\*.*, C:\\empty\\*.*, C:\\d\\a.txt",
                             "0x1,0x1,0x1"));
  EXPECT_TRUE(result_);
  EXPECT_EQ(0x1u, fake::Attributes("C:\\d\\a.txt"));
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(AttrTest, FailuresNameThePathAndTheValueAndStopAtOnce) {
  struct Case {
    const char* file;
    std::string message;
  } cases[] = {
      // Only "*.*" makes a wildcard item; other patterns are plain names.
      {"C:\\d\\a.txt, C:\\d\\*.txt, C:\\d\\b.txt",
       Message(MSG_ATTR_FAILED, "C:\\d\\*.txt", 0x21u)},
      {"C:\\d\\a.txt, C:\\d\\missing.txt, C:\\d\\b.txt",
       Message(MSG_ATTR_FAILED, "C:\\d\\missing.txt", 0x21u)},
      {"C:\\d\\a.txt,,C:\\d\\b.txt", Message(MSG_ATTR_FAILED, "", 0x21u)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    SetUp();
    fake::AddFile("C:\\d\\a.txt", "", 0x80);
    fake::AddFile("C:\\d\\b.txt", "", 0x80);
    EXPECT_FALSE(RunAttrSection(c.file, "0x21,0x21,0x21"));
    EXPECT_FALSE(result_);
    EXPECT_EQ(0x21u, fake::Attributes("C:\\d\\a.txt"));
    EXPECT_EQ(0x80u, fake::Attributes("C:\\d\\b.txt"));
    EXPECT_EQ(std::vector<std::string>{c.message}, BoxTexts());
  }
}

TEST_F(AttrTest, EmptyFileListIsReportedWithTheSectionName) {
  EXPECT_FALSE(RunAttrSection("", "0x1"));
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_ITEM_COUNT, "S", "FILE")},
            BoxTexts());
}

TEST_F(AttrTest, MissingArgFailsTheLoad) {
  WriteSettings("[S]\nMODE=ATTR\nFILE=C:\\d\\a.txt\n");
  EXPECT_TRUE(LoadAttr("S") == 0);
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_FORMAT, "S", "ARG")},
            BoxTexts());
}

}  // namespace
