// SWITCH procedures: choosing and running branch lists, nesting, and the
// depth bound, on the fake platform with scripted box answers.
#include <string>
#include <vector>

#include "app/proc_driver.h"
#include "app/process_state.h"
#include "commands/switch.h"
#include "platform/platform.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

// An INFORMATION box that shows `text`: the visible trace of a procedure.
std::string Info(const std::string& name, const std::string& text) {
  return "[" + name + "]\nMODE=MSGBOX\nFLAG=\nTYPE=INFORMATION\nTEXT=" + text +
         "\nISABORT=0,0\n";
}

// A question whose answer only becomes its result.
std::string Ask(const std::string& name) {
  return "[" + name + "]\nMODE=MSGBOX\nFLAG=\nTYPE=QUESTION\nTEXT=" + name +
         "?\nISABORT=0,0\n";
}

std::string Switch(const std::string& name, const std::string& proc,
                   const std::string& list0, const std::string& list1) {
  return "[" + name + "]\nMODE=SWITCH\nPROC=" + proc + "\n0=" + list0 +
         "\n1=" + list1 + "\n";
}

// TRUE and FALSE are procedures whose result is known once they have run:
// an ATTR on an existing file, and an OSVER on a 95-family system.
const char kKnownResults[] =
    "[TRUE]\nMODE=ATTR\nFILE=C:\\d\\a.txt\nARG=0x1\n"
    "[FALSE]\nMODE=OSVER\n"
    "[FAIL]\nMODE=ATTR\nFILE=C:\\d\\missing.txt\nARG=0x20\n";

class SwitchTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    fake::AddFile("C:\\d\\a.txt");
    fake::SetPlatformId(platform::kPlatformWin32Windows);
  }

  bool Run(const std::string& proc, const std::string& sections) {
    WriteSettings(kKnownResults + sections);
    UpdaterProc.Set(proc.c_str());
    return RunUpdater();
  }
};

TEST_F(SwitchTest, ChoosesTheBranchByTheTestedResult) {
  const std::string branches = Info("ZERO", "zero") + Info("ONE", "one") +
                               Info("NEXT", "next") + Info("TWO", "two");
  struct Case {
    const char* proc;
    std::string sections;
    std::vector<std::string> boxes;
  } cases[] = {
      {"TRUE,S,NEXT", Switch("S", "TRUE", "ZERO", "ONE"), {"one", "next"}},
      {"FALSE,S,NEXT", Switch("S", "FALSE", "ZERO", "ONE"), {"zero", "next"}},
      // The tested procedure stands later, so it has not run yet.
      {"S,TRUE,NEXT", Switch("S", "TRUE", "ZERO", "ONE"), {"zero", "next"}},
      // Blanks and letter case of PROC do not matter.
      {"TRUE,S,NEXT", Switch("S", "\" true \"", "ZERO", "ONE"), {"one", "next"}},
      // An empty branch runs nothing and the list goes on.
      {"FALSE,S,NEXT", Switch("S", "FALSE", "", "ONE"), {"next"}},
      {"TRUE,S,NEXT", Switch("S", "TRUE", "ZERO", ""), {"next"}},
      // A branch list of several procedures runs them in order.
      {"TRUE,S,NEXT", Switch("S", "TRUE", "", " ONE , TWO "),
       {"one", "two", "next"}},
      // A SWITCH's own result stays false.
      {"TRUE,S,S2,NEXT",
       Switch("S", "TRUE", "", "") + Switch("S2", "S", "ZERO", "ONE"),
       {"zero", "next"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.proc + (" / " + c.sections));
    SetUp();
    EXPECT_TRUE(Run(c.proc, branches + c.sections));
    EXPECT_EQ(c.boxes, BoxTexts());
    EXPECT_EQ(0, ProcListCount);
  }
}

TEST_F(SwitchTest, UnknownProcedureIsReportedWithThePROCText) {
  struct Case {
    const char* proc;
    std::string sections;
    std::string message;
    int listsLeft;
  } cases[] = {
      {"S,TRUE", Switch("S", "\" NOPE \"", "TRUE", "TRUE"),
       Message(MSG_BAD_SYMBOL, " NOPE "), 1},
      // Inside a branch list only that list is searched, not the enclosing
      // one; the failed branch list stays loaded.
      {"TRUE,S", Switch("S", "TRUE", "", "INNER") +
                     Switch("INNER", "TRUE", "ONE", "ONE") + Info("ONE", "one"),
       Message(MSG_BAD_SYMBOL, "TRUE"), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.proc);
    SetUp();
    EXPECT_FALSE(Run(std::string(c.proc) + ",AFTER",
                     c.sections + Info("AFTER", "after")));
    EXPECT_EQ(std::vector<std::string>{c.message}, BoxTexts());
    EXPECT_EQ(c.listsLeft, ProcListCount);
  }
}

TEST_F(SwitchTest, BadBranchListIsAbandonedBeforeItRuns) {
  EXPECT_FALSE(Run("TRUE,S,AFTER",
                   Switch("S", "TRUE", "", "ONE,MOVE") + Info("ONE", "one") +
                       Info("AFTER", "after") + "[MOVE]\nMODE=MOVE\n"));
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_SYMBOL, "MOVE")},
            BoxTexts());
  EXPECT_EQ(1, ProcListCount);
}

TEST_F(SwitchTest, FailingBranchListStaysLoadedUntilTheEnd) {
  EXPECT_FALSE(Run("TRUE,S,AFTER", Switch("S", "TRUE", "", "ONE,FAIL") +
                                       Info("ONE", "one") +
                                       Info("AFTER", "after")));
  EXPECT_EQ((std::vector<std::string>{
                "one", Message(MSG_ATTR_FAILED, "C:\\d\\missing.txt", 0x20u)}),
            BoxTexts());
  ASSERT_EQ(2, ProcListCount);
  ProcList branch = CurrentProcList();
  ASSERT_TRUE(branch != 0);
  EXPECT_STREQ("ONE", branch[0]->name.Text());
  EXPECT_STREQ("FAIL", branch[1]->name.Text());
  EXPECT_TRUE(FindProcRecord(ProcListAt(0), "S") != 0);
  FreeAllProcLists();
  EXPECT_EQ(0, ProcListCount);
}

// CHECK shows its box only while TRUE of its own list has not run, so it
// shows again only when the branch list is loaded afresh.
TEST_F(SwitchTest, EachPassLoadsFreshRecordsAndLeavesTheEnclosingOnesAlone) {
  const std::string sections =
      Switch("S1", "FALSE", "CHECK,TRUE", "") +
      Switch("S2", "FALSE", "CHECK,TRUE", "") +
      "[CHECK]\nMODE=MSGBOX\nFLAG=TRUE,0\nTYPE=INFORMATION\nTEXT=fresh\n"
      "ISABORT=0,0\n" +
      Switch("S3", "TRUE", "ZERO", "ONE") + Info("ZERO", "outer TRUE untouched") +
      Info("ONE", "outer TRUE changed");
  EXPECT_TRUE(Run("FALSE,S1,S2,S3,TRUE", sections));
  EXPECT_EQ((std::vector<std::string>{"fresh", "fresh", "outer TRUE untouched"}),
            BoxTexts());
  EXPECT_EQ(0, ProcListCount);
}

// Q is asked once per level; every Yes nests one list deeper.
TEST_F(SwitchTest, LoopThatTurnsBackBeforeTheBoundCompletes) {
  for (int i = 1; i < kMaxProcListDepth; ++i) fake::QueueAnswer(platform::kIdYes);
  fake::QueueAnswer(platform::kIdNo);
  EXPECT_TRUE(Run("Q,S,AFTER", Ask("Q") + Switch("S", "Q", "", "Q,S") +
                                   Info("AFTER", "after")));
  const std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(static_cast<size_t>(kMaxProcListDepth + 1), boxes.size());
  EXPECT_EQ("Q?", boxes[kMaxProcListDepth - 1]);
  EXPECT_EQ("after", boxes.back());
  EXPECT_EQ(0, ProcListCount);
}

TEST_F(SwitchTest, SelfNestingLoopStopsAtTheBoundNamingTheSwitch) {
  // A loop that never turns back: TRUE stays true on every level.
  EXPECT_FALSE(Run("TRUE,LOOP,AFTER",
                   Switch("LOOP", "TRUE", "", "TRUE,LOOP") +
                       Info("AFTER", "after")));
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_SYMBOL, "LOOP")},
            BoxTexts());
  EXPECT_EQ(kMaxProcListDepth, ProcListCount);
  FreeAllProcLists();
  EXPECT_EQ(0, ProcListCount);

  // The same with one more answered Yes than the bound allows.
  SetUp();
  for (int i = 0; i < kMaxProcListDepth; ++i) fake::QueueAnswer(platform::kIdYes);
  EXPECT_FALSE(Run("Q,S", Ask("Q") + Switch("S", "Q", "", "Q,S")));
  EXPECT_EQ(0, fake::PendingAnswers());
  const std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(static_cast<size_t>(kMaxProcListDepth + 1), boxes.size());
  EXPECT_EQ(Message(MSG_BAD_SYMBOL, "S"), boxes.back());
}

TEST_F(SwitchTest, EveryKeyIsRequired) {
  struct Case {
    const char* keys;
    const char* missing;
  } cases[] = {
      {"0=\n1=\n", "PROC"},
      {"PROC=TRUE\n1=\n", "0"},
      {"PROC=TRUE\n0=\n", "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.missing);
    SetUp();
    EXPECT_FALSE(Run("TRUE,S", std::string("[S]\nMODE=SWITCH\n") + c.keys));
    EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_FORMAT, "S", c.missing)},
              BoxTexts());
    EXPECT_EQ(0x20u, fake::Attributes("C:\\d\\a.txt"));
  }
  // Present but empty keys load.
  SetUp();
  EXPECT_TRUE(Run("TRUE,S", "[S]\nMODE=switch\nPROC=TRUE\n0=\n1=\n"));
  EXPECT_TRUE(BoxTexts().empty());
}

}  // namespace
