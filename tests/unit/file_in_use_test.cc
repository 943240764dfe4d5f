// Files another program holds: quiet retries, the box with Retry and
// Cancel, and the silent wait, on the fake's clock (nothing sleeps).
#include <string>
#include <vector>

#include "platform/program_main.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

const char kTool[] = "C:\\app\\tool.exe";
const char kHolders[] = "tool.exe (PID 120), \x83\x63\x81\x5B\x83\x8B (PID 7)";
const unsigned kNever = 0xFFFFFFFFu;

class FileInUseTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    fake::AddFile("C:\\new\\tool.exe", "new");
    fake::AddFile(kTool, "old");
    fake::SetHeld(kTool, true);
  }

  // Lets go of the tool at the first pause that reaches `ticks`.
  void ReleaseAt(unsigned ticks) {
    const unsigned start = fake::Ticks();
    fake::OnPause([=] {
      if (fake::Ticks() - start >= ticks && fake::Exists(kTool))
        fake::SetHeld(kTool, false);
    });
  }
};

std::string Settings(const std::string& procedure) {
  return "[UPDATER]\nNAME=Tool\nPROC=P\n[P]\n" + procedure;
}

const char kCopy[] =
    "MODE=COPY\nFROM=C:\\new\\tool.exe\nTO=C:\\app\\tool.exe\n";
const char kDelete[] = "MODE=DELETE\nFILE=C:\\app\\tool.exe\n";

enum Holders { kNamed, kNobody, kNoRestartManager, kFamily95 };

TEST_F(FileInUseTest, RetriesQuietlyThenAsksAndNeverChangesAHeldFile) {
  const std::string named = Message(MSG_FILE_IN_USE, kTool, kHolders);
  const std::string unnamed = Message(MSG_FILE_IN_USE_UNNAMED, kTool);
  struct Case {
    const char* what;
    const char* procedure;
    Holders holders;
    unsigned releaseAt;        // ticks after the first try
    std::vector<int> answers;  // for the boxes, in order
    int code;
    int pauses;
    std::vector<std::string> boxes;
    const char* contents;  // of the tool afterwards; null: gone
  } cases[] = {
      {"released during the quiet retries",
       kCopy,
       kNamed,
       2000,
       {},
       0,
       2,
       {},
       "new"},
      {"deleted once released", kDelete, kNamed, 3000, {}, 0, 3, {}, 0},
      {"Cancel",
       kCopy,
       kNamed,
       kNever,
       {platform::kIdCancel},
       3,
       5,
       {named},
       "old"},
      {"Retry once released",
       kCopy,
       kNamed,
       6000,
       {platform::kIdRetry},
       0,
       6,
       {named},
       "new"},
      {"Retry while still held",
       kDelete,
       kNamed,
       11000,
       {platform::kIdRetry, platform::kIdCancel},
       3,
       10,
       {named, named},
       "old"},
      {"no box could be shown",
       kCopy,
       kNamed,
       kNever,
       {0},
       3,
       5,
       {named},
       "old"},
      {"nobody named",
       kCopy,
       kNobody,
       kNever,
       {platform::kIdCancel},
       3,
       5,
       {unnamed},
       "old"},
      {"no Restart Manager",
       kCopy,
       kNoRestartManager,
       kNever,
       {platform::kIdCancel},
       3,
       5,
       {unnamed},
       "old"},
      {"Windows 98: held, never named",
       kCopy,
       kFamily95,
       4000,
       {},
       0,
       4,
       {},
       "new"},
      {"Windows 98: Cancel",
       kDelete,
       kFamily95,
       kNever,
       {platform::kIdCancel},
       3,
       5,
       {unnamed},
       "old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    WriteSettings(Settings(c.procedure));
    if (c.holders == kNamed) {
      fake::SetFileHolders(
          kTool, {{"tool.exe", 120}, {"\x83\x63\x81\x5B\x83\x8B", 7}});
    }
    fake::SetRestartManagerMissing(c.holders == kNoRestartManager);
    if (c.holders == kFamily95) fake::SetPlatformId(1);
    for (int answer : c.answers) fake::QueueAnswer(answer);
    ReleaseAt(c.releaseAt);

    EXPECT_EQ(c.code, UpdaterMain(""));
    EXPECT_EQ(c.pauses, fake::PauseCount());
    EXPECT_EQ(c.pauses * 1000u, fake::Ticks());
    EXPECT_EQ(c.boxes, BoxTexts());
    for (const fake::MessageBoxCall& box : fake::MessageBoxes()) {
      EXPECT_EQ(platform::kMbRetryCancel | platform::kMbIconWarning, box.style);
    }
    EXPECT_EQ(0, fake::PendingAnswers());
    EXPECT_EQ(c.contents != 0, fake::Exists(kTool));
    if (c.contents) EXPECT_EQ(c.contents, fake::Contents(kTool));
  }
}

// Only a file another program holds is worth the wait: a read-only or
// missing one fails at once, as it always did.
TEST_F(FileInUseTest, OtherFailuresAreNotRetried) {
  struct Case {
    const char* what;
    const char* procedure;
    unsigned attributes;
    std::string box;
  } cases[] = {
      {"read-only destination", kCopy, 0x21,
       Message(MSG_COPY_FAILED, "C:\\new\\tool.exe", kTool)},
      {"read-only file to delete", kDelete, 0x21,
       Message(MSG_DELETE_FAILED, kTool)},
      {"missing source",
       "MODE=COPY\nFROM=C:\\new\\none.exe\nTO=C:\\app\\tool.exe\n", 0x20,
       Message(MSG_COPY_FAILED, "C:\\new\\none.exe", kTool)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    fake::SetHeld(kTool, false);
    fake::SetAttributesOf(kTool, c.attributes);
    WriteSettings(Settings(c.procedure));
    EXPECT_EQ(3, UpdaterMain(""));
    EXPECT_EQ(0, fake::PauseCount());
    EXPECT_EQ(std::vector<std::string>{c.box}, BoxTexts());
    EXPECT_EQ("old", fake::Contents(kTool));
  }
}

TEST_F(FileInUseTest, ASilentRunWaitsThenEndsWithCodeSix) {
  struct Case {
    const char* commandLine;
    unsigned startTicks;
    unsigned releaseAt;
    int code;
    int pauses;
    unsigned waited;
  } cases[] = {
      {"/SILENT /WAIT=3", 0, kNever, 6, 3, 3000},
      {"/VERYSILENT", 0, kNever, 6, 60, 60000},  // a minute unless told
      {"/SILENT /WAIT=0", 0, kNever, 6, 0, 0},
      {"/SILENT /WAIT=10", 0, 7000, 0, 7, 7000},
      // The tick count wraps during the wait.
      {"/SILENT /WAIT=3", 0xFFFFF000u, kNever, 6, 3, 3000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    SetUp();
    WriteSettings(Settings(kCopy));
    fake::SetTicks(c.startTicks);
    ReleaseAt(c.releaseAt);
    EXPECT_EQ(c.code, UpdaterMain(c.commandLine));
    EXPECT_EQ(c.pauses, fake::PauseCount());
    EXPECT_EQ(c.waited, fake::Ticks() - c.startTicks);
    EXPECT_TRUE(fake::MessageBoxes().empty());
    EXPECT_EQ(c.code == 0 ? "new" : "old", fake::Contents(kTool));
  }
}

TEST_F(FileInUseTest, TheLogNamesTheHoldersAndEveryRetry) {
  WriteSettings(Settings(kDelete));
  fake::SetFileHolders(kTool, {{"tool.exe", 120}});
  EXPECT_EQ(6, UpdaterMain("/SILENT /WAIT=2 /LOG=C:\\in-use.log"));
  const std::string log = fake::Contents("C:\\in-use.log");
  const char* const expected[] = {
      "delete C:\\\\app\\\\tool.exe: failed, error 32: The process cannot "
      "access the file because it is being used by another process.\r\n",
      "C:\\\\app\\\\tool.exe is in use: waiting up to 2 s, held by tool.exe "
      "(PID 120)\r\n",
      "C:\\\\app\\\\tool.exe is in use: retry 1 in 1000 ms\r\n",
      "C:\\\\app\\\\tool.exe is in use: retry 2 in 1000 ms\r\n",
      "C:\\\\app\\\\tool.exe stayed in use for 2 s: giving up, held by "
      "tool.exe (PID 120)\r\n",
      "end [P] result false, the run stops\r\n",
      "exit code 6\r\n",
  };
  size_t at = 0;
  for (const char* line : expected) {
    const size_t found = log.find(line, at);
    EXPECT_NE(std::string::npos, found) << line << "\nin:\n" << log;
    if (found != std::string::npos) at = found;
  }
  // The first try and two retries.
  size_t tries = 0;
  for (size_t p = log.find("delete C:"); p != std::string::npos;
       p = log.find("delete C:", p + 1)) {
    ++tries;
  }
  EXPECT_EQ(3u, tries);
}

}  // namespace
