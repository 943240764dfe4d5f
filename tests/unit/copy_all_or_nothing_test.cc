// A COPY of three files (two replaced, one new) failing or dying at every
// counted step on the fake, and the next start after it: the destinations
// always end all old or all new, and nothing staged, backed up or journaled
// is left once the next start has run.
#include <string>
#include <vector>

#include "app/process_state.h"
#include "platform/program_main.h"
#include "platform/staged_names.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/copy_fixture.h"

namespace {

const char kCopySettings[] =
    "[UPDATER]\nNAME=T\nPROC=CP\n"
    "[CP]\nMODE=COPY\nFROM=C:\\new\\a.dll,C:\\new\\b.dll,C:\\new\\c.dll\n"
    "TO=C:\\app\\a.dll,C:\\app\\b.dll,C:\\app\\c.dll\n";
// The next start runs nothing that copies, so what it finds is what the
// start-up made of the journal.
const char kIdleSettings[] = "[UPDATER]\nNAME=T\nPROC=OS\n[OS]\nMODE=OSVER\n";

class AllOrNothingTest : public CopyFilesTest {
 protected:
  void SetUp() override {
    CopyFilesTest::SetUp();
    WriteSettings(kCopySettings);
  }

  int Run(const char* settings) {
    ResetProcessState();
    WriteSettings(settings);
    return UpdaterMain("T /SILENT");
  }

  // "old", "new", or what mixes them.
  static std::string State() {
    const std::string a = fake::Contents("C:\\app\\a.dll");
    const std::string b = fake::Contents("C:\\app\\b.dll");
    if (a == "old a" && b == "old b" && !fake::Exists("C:\\app\\c.dll"))
      return "old";
    if (a == "new a" && b == "new b" &&
        fake::Contents("C:\\app\\c.dll") == "new c")
      return "new";
    return "mixed: " + a + ", " + b + ", " + fake::Contents("C:\\app\\c.dll");
  }

  static std::vector<std::string> Leftovers() {
    std::vector<std::string> left;
    for (const char* folder : {"C:\\app", "C:\\Tools"}) {
      for (const std::string& name : fake::List(folder)) {
        if (platform::IsStagedName(name.c_str()) ||
            name.find(".~up") != std::string::npos) {
          left.push_back(name);
        }
      }
    }
    return left;
  }

  static bool JournalLeft() {
    return fake::Exists("C:\\Tools\\updater.ini.~upj") ||
           fake::Exists("C:\\Tools\\updater.ini.~upc");
  }
};

TEST_F(AllOrNothingTest, EveryFailureAndKillEndsAllOldOrAllNew) {
  EXPECT_EQ(0, Run(kCopySettings));
  EXPECT_EQ("new", State());
  EXPECT_TRUE(Leftovers().empty());
  const unsigned calls = fake::CountedCalls();
  ASSERT_GE(calls, 15u);  // 3 names, journal, 3 stages, 2 checks, 3 swaps...

  // A scenario: calls that fail (with access denied or a full disk), and
  // the call after which the process dies (0: none).
  struct Scenario {
    std::vector<unsigned> failing;
    unsigned killAfter;
  };
  std::vector<Scenario> scenarios;
  for (unsigned first = 1; first <= calls; ++first) {
    scenarios.push_back({{first}, 0});
    scenarios.push_back({{}, first});
    // After a first failure, each later step (the restores and cleanups
    // among them) fails too, or the process dies there.
    SetUp();
    fake::FailCall(first, 5);
    Run(kCopySettings);
    const unsigned after = fake::CountedCalls();
    for (unsigned second = first + 1; second <= after; ++second) {
      scenarios.push_back({{first, second}, 0});
      scenarios.push_back({{first}, second});
    }
  }
  // Call 4 writes the journal (after finding 3 names). Where it fails, a
  // failure is still undone, but a process that dies is not, and a backup
  // that cannot be removed stays.
  const unsigned kJournalCall = 4;
  for (const Scenario& s : scenarios) {
    const bool noJournal = !s.failing.empty() && s.failing[0] == kJournalCall;
    if (noJournal && s.killAfter != 0) continue;
    for (unsigned code : {5u, 112u}) {
      std::string what = "failing";
      for (unsigned call : s.failing) what += " " + std::to_string(call);
      SCOPED_TRACE(what + ", killed after " + std::to_string(s.killAfter) +
                   ", code " + std::to_string(code));
      SetUp();
      for (unsigned call : s.failing) fake::FailCall(call, code);
      if (s.killAfter != 0) fake::KillAfterCall(s.killAfter);
      const int code1 = Run(kCopySettings);
      if (s.killAfter == 0 && !JournalLeft()) {
        EXPECT_NE("mixed", State().substr(0, 5));
        if (!noJournal) EXPECT_TRUE(Leftovers().empty());
        EXPECT_EQ(State() == "new" ? 0 : 3, code1);
      }
      fake::NewProcess();
      EXPECT_EQ(0, Run(kIdleSettings));
      EXPECT_NE("mixed", State().substr(0, 5)) << State();
      if (!noJournal) EXPECT_TRUE(Leftovers().empty()) << Leftovers()[0];
    }
  }
}

// A swap that fails puts back what was replaced and says so; the box is
// the failing pair's, as for any COPY that fails.
TEST_F(AllOrNothingTest, AFailedSwapRestoresEveryReplacedFile) {
  ResetProcessState();
  fake::AddDirectory("C:\\logs");
  WriteSettings(kCopySettings);
  // The third swap: after 3 names, 3 stages, 2 checks, the journal and two
  // swaps.
  fake::FailCall(12, 5);
  EXPECT_EQ(3, UpdaterMain("T /LOG=C:\\logs\\run.log"));
  EXPECT_EQ("old", State());
  EXPECT_TRUE(Leftovers().empty());
  EXPECT_EQ(std::vector<std::string>{Message(MSG_COPY_FAILED, "C:\\new\\c.dll",
                                             "C:\\app\\c.dll")},
            BoxTexts());
  EXPECT_NE(std::string::npos,
            fake::Contents("C:\\logs\\run.log")
                .find("not every file could be replaced: restored 2 of 3 "
                      "files"));
}

// The journal names each destination by its full path and the name it is
// stored under, so that a next start from another working directory puts
// the old file back under that name, whatever the settings wrote: here
// after a kill between the swap's two renames (the old file already the
// backup, the new one still staged).
TEST_F(AllOrNothingTest, TheNextStartRestoresTheStoredNameFromAnyFolder) {
  fake::SetWorkingDirectory("C:\\app");
  // Its staged number, its journal, its stage, its check, its swap.
  fake::KillAfterCall(5);
  Run("[UPDATER]\nNAME=T\nPROC=CP\n[CP]\nMODE=COPY\nFROM=C:\\new\\a.dll\n"
      "TO=A.DLL\n");
  EXPECT_NE(
      std::string::npos,
      fake::Contents("C:\\Tools\\updater.ini.~upj").find(" C:\\app\\a.dll\n"));
  std::string backup;
  for (const std::string& name : fake::List("C:\\app"))
    if (name.find(".bak") != std::string::npos) backup = name;
  ASSERT_FALSE(backup.empty());
  fake::RemovePath("C:\\app\\a.dll");
  fake::AddFile("C:\\app\\" + backup.substr(0, 7) + ".tmp", "new a");
  fake::NewProcess();
  fake::SetWorkingDirectory("C:\\new");
  EXPECT_EQ(0, Run(kIdleSettings));
  EXPECT_EQ((std::vector<std::string>{"a.dll", "b.dll"}),
            fake::List("C:\\app"));
  EXPECT_EQ("old a", fake::Contents("C:\\app\\a.dll"));
}

// A journal the next start cannot act on is reported and kept, and no file
// it does not name is touched.
TEST_F(AllOrNothingTest, AnUnusableJournalStopsTheRunAndIsKept) {
  const struct {
    const char* what;
    std::string journal;
  } cases[] = {
      {"cut off", "updater copy journal\nR 0001 C:\\app\\a.dll\n"},
      {"another header", "updater journal\nR 0001 C:\\app\\a.dll\nend\n"},
      {"a line after the end",
       "updater copy journal\nend\nR 0001 C:\\app\\a.dll\n"},
      {"an empty line", "updater copy journal\n\nend\n"},
      {"a bad line", "updater copy journal\nX 0001 C:\\app\\a.dll\nend\n"},
      {"a bad number", "updater copy journal\nR 00g1 C:\\app\\a.dll\nend\n"},
      {"a restore that fails",
       "updater copy journal\nR 0001 C:\\none\\a.dll\nend\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    fake::AddFile("C:\\app\\~up0001.bak", "old a");
    fake::AddFile("C:\\Tools\\updater.ini.~upj", c.journal);
    ResetProcessState();
    EXPECT_EQ(3, UpdaterMain("T"));
    EXPECT_EQ(std::vector<std::string>{Message(MSG_JOURNAL_UNUSABLE,
                                               "C:\\Tools\\updater.ini.~upj")},
              BoxTexts());
    EXPECT_EQ(c.journal, fake::Contents("C:\\Tools\\updater.ini.~upj"));
    EXPECT_EQ("new a", fake::Contents("C:\\new\\a.dll"));
    EXPECT_EQ("old a", fake::Contents("C:\\app\\a.dll"));
    EXPECT_EQ("old a", fake::Contents("C:\\app\\~up0001.bak"));
  }
}

}  // namespace
