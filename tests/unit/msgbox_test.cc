// MSGBOX procedures: condition, box style, text escapes, answers and
// ISABORT, on the fake platform with scripted box answers.
#include <string>
#include <vector>

#include "app/proc_driver.h"
#include "app/process_state.h"
#include "commands/msgbox.h"
#include "platform/platform.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

std::string Msgbox(const std::string& flag, const std::string& type,
                   const std::string& text, const std::string& isabort) {
  return "[M]\nMODE=MSGBOX\nFLAG=" + flag + "\nTYPE=" + type +
         "\nTEXT=" + text + "\nISABORT=" + isabort + "\n";
}

// TRUE and FALSE have known results once run (an ATTR on an existing file,
// an OSVER on a 95-family system); LATER stands after M and never runs
// before it; AFTER shows that the run went on.
const char kOthers[] =
    "[TRUE]\nMODE=ATTR\nFILE=C:\\d\\a.txt\nARG=0x1\n"
    "[FALSE]\nMODE=OSVER\n"
    "[LATER]\nMODE=ATTR\nFILE=C:\\d\\a.txt\nARG=0x1\n"
    "[AFTER]\nMODE=MSGBOX\nFLAG=\nTYPE=INFORMATION\nTEXT=after\nISABORT=0,0\n";

struct Outcome {
  bool goesOn;  // RunProcList's answer
  bool result;  // M's result flag
  std::vector<std::string> boxes;
};

class MsgboxTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    fake::AddFile("C:\\d\\a.txt");
    fake::SetPlatformId(platform::kPlatformWin32Windows);
  }

  // Loads and runs "TRUE,FALSE,M,LATER,AFTER" and reads M's result.
  Outcome Run(const std::string& section) {
    Outcome outcome = {false, false, {}};
    WriteSettings(kOthers + section);
    TextString text("TRUE,FALSE,M,LATER,AFTER");
    ProcList list = LoadProcList(text, 5);
    if (list) {
      outcome.goesOn = RunProcList(list);
      outcome.result = list[2]->result;
      FreeProcList(list);
    }
    outcome.boxes = BoxTexts();
    return outcome;
  }
};

TEST_F(MsgboxTest, TypeChoosesIconButtonsAndDefault) {
  struct Case {
    const char* type;
    unsigned style;
    unsigned icon;
    unsigned buttons;
    int defaultAnswer;
  } cases[] = {
      {"ERROR", 0x10, platform::kMbIconError, platform::kMbOk, platform::kIdOk},
      {"information", 0x40, platform::kMbIconInformation, platform::kMbOk,
       platform::kIdOk},
      {"Warning", 0x134, platform::kMbIconWarning, platform::kMbYesNo,
       platform::kIdNo},
      {"QUESTION", 0x24, platform::kMbIconQuestion, platform::kMbYesNo,
       platform::kIdYes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    SetUp();
    AppCaption.Set("Caption of the run");
    const Outcome outcome = Run(Msgbox("", c.type, "text", "0,0"));
    EXPECT_TRUE(outcome.goesOn);
    const std::vector<fake::MessageBoxCall>& boxes = fake::MessageBoxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(c.style, boxes[0].style);
    EXPECT_EQ(c.icon, boxes[0].style & 0xF0);
    EXPECT_EQ(c.buttons, boxes[0].style & 0xF);
    EXPECT_EQ("text", boxes[0].text);
    EXPECT_EQ("Caption of the run", boxes[0].caption);
    // Unanswered, the box gives its default button.
    EXPECT_EQ(c.defaultAnswer, boxes[0].answer);
    EXPECT_EQ(c.defaultAnswer != platform::kIdNo, outcome.result);
  }
}

TEST_F(MsgboxTest, AnswerSetsTheResultAndIsabortDecidesWhetherToGoOn) {
  const int kOk = platform::kIdOk, kYes = platform::kIdYes,
            kNo = platform::kIdNo;
  struct Case {
    const char* type;
    const char* isabort;
    int answer;
    bool goesOn;
    bool result;
  } cases[] = {
      {"QUESTION", "0,1", kYes, true, true},
      {"QUESTION", "0,1", kNo, false, false},
      {"QUESTION", "0,0", kNo, true, false},
      {"WARNING", "0,1", kNo, false, false},
      {"WARNING", "0,1", kYes, true, true},
      // A missing item counts as 0.
      {"QUESTION", "1", kYes, false, true},
      {"QUESTION", "1", kNo, true, false},
      {"QUESTION", "", kYes, true, true},
      {"QUESTION", "", kNo, true, false},
      // Any number but 0 ends the run; text reads as 0.
      {"QUESTION", " 2 , x", kYes, false, true},
      {"QUESTION", " 2 , x", kNo, true, false},
      {"QUESTION", "0,-1", kNo, false, false},
      // One OK button: only the first number matters.
      {"INFORMATION", "1,0", kOk, false, true},
      {"ERROR", "0,1", kOk, true, true},
      // A box that could not be shown decided nothing: the run ends.
      {"QUESTION", "0,0", 0, false, false},
      {"INFORMATION", "0,0", 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.type << " ISABORT '" << c.isabort
                                    << "' answered " << c.answer);
    SetUp();
    fake::QueueAnswer(c.answer);
    const Outcome outcome = Run(Msgbox("", c.type, "text", c.isabort));
    EXPECT_EQ(c.goesOn, outcome.goesOn);
    EXPECT_EQ(c.result, outcome.result);
    // Ending the run shows nothing more.
    EXPECT_EQ(c.goesOn ? (std::vector<std::string>{"text", "after"})
                       : (std::vector<std::string>{"text"}),
              outcome.boxes);
  }
}

TEST_F(MsgboxTest, FlagMakesTheBoxConditional) {
  struct Case {
    const char* flag;
    bool shown;
  } cases[] = {
      {"", true},
      // A single item is no condition, even when it names nothing.
      {"NOPE", true},
      {"TRUE,1", true},
      {" true , 1 ", true},
      {"TRUE,0", false},
      {"FALSE,0", true},
      {"FALSE,1", false},
      {"TRUE,2", false},
      {"TRUE,x", false},
      {"FALSE,x", true},
      {"TRUE,1,0", true},
      // Found, but it has not run yet.
      {"LATER,0", true},
      {"LATER,1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flag);
    SetUp();
    const Outcome outcome = Run(Msgbox(c.flag, "QUESTION", "text", "0,0"));
    EXPECT_TRUE(outcome.goesOn);
    EXPECT_EQ(c.shown, outcome.result);
    EXPECT_EQ(c.shown ? (std::vector<std::string>{"text", "after"})
                      : (std::vector<std::string>{"after"}),
              outcome.boxes);
  }
}

TEST_F(MsgboxTest, UnknownNamesAreReportedOnlyWhenTheBoxIsDue) {
  struct Case {
    const char* flag;
    const char* type;
    std::vector<std::string> boxes;
    bool goesOn;
  } cases[] = {
      {"NOPE, 1", "QUESTION", {Message(MSG_BAD_SYMBOL, "NOPE, 1")}, false},
      {"", "ASK", {Message(MSG_BAD_SYMBOL, "ASK")}, false},
      {"TRUE,1", "ASK", {Message(MSG_BAD_SYMBOL, "ASK")}, false},
      {"TRUE,0", "ASK", {"after"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flag + std::string(" / ") + c.type);
    SetUp();
    const Outcome outcome = Run(Msgbox(c.flag, c.type, "text", "0,0"));
    EXPECT_EQ(c.goesOn, outcome.goesOn);
    EXPECT_FALSE(outcome.result);
    EXPECT_EQ(c.boxes, outcome.boxes);
  }
}

TEST_F(MsgboxTest, TextEscapesBecomeLineBreakAndTab) {
  struct Case {
    const char* text;
    const char* shown;
  } cases[] = {
      {"Line1%nLine2%tX", "Line1\nLine2\tX"},
      {"a,b", "a,b"},
      {"%n%n%t", "\n\n\t"},
      {"100% %N %T %%n", "100% %N %T %\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SetUp();
    const Outcome outcome = Run(Msgbox("", "INFORMATION", c.text, "0,0"));
    ASSERT_EQ(2u, outcome.boxes.size());
    EXPECT_EQ(c.shown, outcome.boxes[0]);
  }
}

// Inside a branch list, FLAG sees only that list.
TEST_F(MsgboxTest, FlagInsideABranchListSeesOnlyThatList) {
  WriteSettings(std::string(kOthers) +
                "[S]\nMODE=SWITCH\nPROC=TRUE\n0=\n1=M\n" +
                Msgbox("TRUE,1", "INFORMATION", "text", "0,0"));
  UpdaterProc.Set("TRUE,S,AFTER");
  EXPECT_FALSE(RunUpdater());
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_SYMBOL, "TRUE,1")},
            BoxTexts());
  EXPECT_EQ(2, ProcListCount);
}

TEST_F(MsgboxTest, EveryKeyIsRequired) {
  const char* keys[] = {"FLAG", "TYPE", "TEXT", "ISABORT"};
  for (const char* missing : keys) {
    SCOPED_TRACE(missing);
    SetUp();
    std::string section = "[M]\nMODE=MSGBOX\n";
    for (const char* key : keys)
      if (key != missing) section += std::string(key) + "=\n";
    const Outcome outcome = Run(section);
    EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_FORMAT, "M", missing)},
              outcome.boxes);
    EXPECT_EQ(0x20u, fake::Attributes("C:\\d\\a.txt"));
  }
}

}  // namespace
