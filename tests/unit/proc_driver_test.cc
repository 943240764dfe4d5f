// Loading and running procedure lists, and the ProcListArray as a stack.
#include <string>
#include <vector>

#include "app/proc_driver.h"
#include "app/process_state.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

// Three ATTR sections that make C:\d\a.txt, b.txt and c.txt read-only, and
// one whose file is missing.
const char kAttrSections[] =
    "[A]\nMODE=ATTR\nFILE=C:\\d\\a.txt\nARG=0x1\n"
    "[B]\nMODE=attr\nFILE=C:\\d\\b.txt\nARG=0x1\n"
    "[C]\nMODE=Attr\nFILE=C:\\d\\c.txt\nARG=0x1\n"
    "[BAD]\nMODE=ATTR\nFILE=C:\\d\\missing.txt\nARG=0x1\n"
    "[MOVE]\nMODE=MOVE\nFILE=x\n";

class ProcDriverTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    WriteSettings(kAttrSections);
    fake::AddFile("C:\\d\\a.txt");
    fake::AddFile("C:\\d\\b.txt");
    fake::AddFile("C:\\d\\c.txt");
  }

  bool ReadOnly(const char* path) { return fake::Attributes(path) == 0x1; }

  bool Run(const char* proc) {
    UpdaterProc.Set(proc);
    return RunUpdater();
  }
};

TEST_F(ProcDriverTest, RunsEveryProcedureInListOrderAndReleasesTheList) {
  EXPECT_TRUE(Run(" A , B ,C"));
  EXPECT_TRUE(ReadOnly("C:\\d\\a.txt"));
  EXPECT_TRUE(ReadOnly("C:\\d\\b.txt"));
  EXPECT_TRUE(ReadOnly("C:\\d\\c.txt"));
  EXPECT_TRUE(BoxTexts().empty());
  EXPECT_EQ(0, ProcListCount);
}

TEST_F(ProcDriverTest, LoadKeepsListOrderAndTrimsOnlyBlanks) {
  TextString text(" A , B ");
  ProcList list = LoadProcList(text, text.ItemCount(","));
  ASSERT_TRUE(list != 0);
  EXPECT_STREQ("A", list[0]->name.Text());
  EXPECT_STREQ("B", list[1]->name.Text());
  EXPECT_TRUE(list[2] == 0);
  EXPECT_EQ(list, CurrentProcList());
  EXPECT_EQ(0, FreeProcList(list));
}

TEST_F(ProcDriverTest, BadListsAreAbandonedBeforeAnythingRuns) {
  struct Case {
    const char* proc;
    std::string message;
  } cases[] = {
      {"A,,B", Message(MSG_BAD_FORMAT, "", "MODE")},
      {"A,B,", Message(MSG_BAD_FORMAT, "", "MODE")},
      {"A,MOVE,B", Message(MSG_BAD_SYMBOL, "MOVE")},
      {"A,NOSECTION", Message(MSG_BAD_FORMAT, "NOSECTION", "MODE")},
      {"", Message(MSG_BAD_ITEM_COUNT, "UPDATER", "PROC")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.proc);
    SetUp();
    EXPECT_FALSE(Run(c.proc));
    EXPECT_EQ(std::vector<std::string>{c.message}, BoxTexts());
    EXPECT_FALSE(ReadOnly("C:\\d\\a.txt"));
    EXPECT_EQ(0, ProcListCount);
  }
}

TEST_F(ProcDriverTest, FailureStopsTheRunKeepingEarlierEffects) {
  EXPECT_FALSE(Run("A,BAD,C"));
  EXPECT_TRUE(ReadOnly("C:\\d\\a.txt"));
  EXPECT_FALSE(ReadOnly("C:\\d\\c.txt"));
  EXPECT_EQ(std::vector<std::string>{Message(MSG_ATTR_FAILED,
                                             "C:\\d\\missing.txt", 1u)},
            BoxTexts());
  // The failed list stays loaded until the end of the process.
  EXPECT_EQ(1, ProcListCount);
  FreeAllProcLists();
  EXPECT_EQ(0, ProcListCount);
}

TEST_F(ProcDriverTest, SameSectionTwiceGivesTwoRecords) {
  TextString text("A,a");
  ProcList list = LoadProcList(text, 2);
  ASSERT_TRUE(list != 0);
  ASSERT_TRUE(list[0] != list[1]);
  EXPECT_EQ(list[0], FindProcRecord(list, "A"));
  EXPECT_EQ(list[0], FindProcRecord(list, "a"));
  EXPECT_TRUE(FindProcRecord(list, "B") == 0);
  EXPECT_TRUE(RunProcList(list));
  EXPECT_TRUE(list[0]->result);
  EXPECT_TRUE(list[1]->result);
}

TEST_F(ProcDriverTest, ZeroCountIsReportedWithoutArguments) {
  TextString text("A");
  EXPECT_TRUE(LoadProcList(text, 0) == 0);
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_PROC_COUNT)}, BoxTexts());
}

TEST_F(ProcDriverTest, RecordWithUnknownModeStopsTheRunWhenItIsReached) {
  TextString text("A,B");
  ProcList list = LoadProcList(text, 2);
  ASSERT_TRUE(list != 0);
  list[1]->mode.Set("MOVE");
  EXPECT_FALSE(RunProcList(list));
  EXPECT_TRUE(ReadOnly("C:\\d\\a.txt"));
  EXPECT_FALSE(ReadOnly("C:\\d\\b.txt"));
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_SYMBOL, "MOVE")},
            BoxTexts());
}

// What a branching procedure does with the driver: the nested list becomes
// current while it runs, sees only its own records, and the enclosing list
// is current again after it is released.
TEST_F(ProcDriverTest, NestedListIsCurrentWhileItRuns) {
  TextString outerText("A,B");
  ProcList outer = LoadProcList(outerText, 2);
  ASSERT_TRUE(outer != 0);
  TextString innerText("C");
  ProcList inner = LoadProcList(innerText, 1);
  ASSERT_TRUE(inner != 0);
  EXPECT_EQ(inner, CurrentProcList());
  EXPECT_EQ(2, ProcListCount);
  EXPECT_TRUE(FindProcRecord(CurrentProcList(), "A") == 0);
  EXPECT_TRUE(FindProcRecord(CurrentProcList(), "C") != 0);
  EXPECT_TRUE(RunProcList(CurrentProcList()));
  EXPECT_EQ(1, FreeProcList(CurrentProcList()));
  EXPECT_EQ(outer, CurrentProcList());
  EXPECT_EQ(outer[0], FindProcRecord(CurrentProcList(), "a"));
}

// A record that notes when it is destroyed.
std::vector<std::string>* destroyed = 0;
struct TracedRecord : ProcRecord {
  ~TracedRecord() override { destroyed->push_back(name.Text()); }
};

ProcList TracedList(const char* name) {
  ProcList list = new ProcRecord*[2]();
  list[0] = new TracedRecord;
  list[0]->name.Set(name);
  return list;
}

TEST_F(ProcDriverTest, ListsAreReleasedNewestFirst) {
  std::vector<std::string> order;
  destroyed = &order;
  ASSERT_TRUE(AddProcList(TracedList("first")));
  ASSERT_TRUE(AddProcList(TracedList("second")));
  ASSERT_TRUE(AddProcList(TracedList("third")));
  FreeAllProcLists();
  EXPECT_EQ((std::vector<std::string>{"third", "second", "first"}), order);
  EXPECT_EQ(0, ProcListCount);
  destroyed = 0;
}

TEST_F(ProcDriverTest, RemovingFromTheMiddleKeepsTheOthersInOrder) {
  std::vector<std::string> order;
  destroyed = &order;
  ProcList a = TracedList("a"), b = TracedList("b"), c = TracedList("c");
  ASSERT_TRUE(AddProcList(a) && AddProcList(b) && AddProcList(c));
  EXPECT_EQ(2, FreeProcList(b));
  EXPECT_EQ(a, ProcListAt(0));
  EXPECT_EQ(c, ProcListAt(1));
  EXPECT_TRUE(ProcListAt(-1) == 0);
  EXPECT_FALSE(AddProcList(0));
  // A list that is not in the array leaves the count as it is.
  ProcList stray = TracedList("stray");
  EXPECT_EQ(2, FreeProcList(stray));
  FreeAllProcLists();
  EXPECT_EQ((std::vector<std::string>{"b", "stray", "c", "a"}), order);
  destroyed = 0;
}

}  // namespace
