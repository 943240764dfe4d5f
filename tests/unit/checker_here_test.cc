// updater-check --here on the fake Windows world: what a run would meet,
// found without changing anything; and the --graph picture of a flow.
#include <string>
#include <utility>
#include <vector>

#include "checker/checker.h"
#include "checker/graph.h"
#include "settings/app_paths.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

class CheckerHereTest : public UpdaterTest {
 protected:
  // The report on the settings `text` (line feeds become CR LF), findings as
  // "line code" texts.
  std::vector<std::string> Check(const std::string& text, bool here) {
    std::vector<std::string> found;
    const std::vector<checker::Finding> sorted = Report(text, here);
    for (size_t i = 0; i < sorted.size(); ++i) {
      found.push_back(std::to_string(sorted[i].line) + " " +
                      checker::InfoOf(sorted[i].code).id);
    }
    return found;
  }
  // The findings on the settings `text`, sorted.
  std::vector<checker::Finding> Report(const std::string& text, bool here) {
    WriteSettings(text);
    checker::Findings findings;
    checker::CheckOptions options;
    options.here = here;
    checker::CheckSettings(kSettingsPath, fake::Contents(kSettingsPath),
                           options, &findings, &flow_);
    return findings.Sorted();
  }
  checker::Flow flow_;
};

const char kHere[] =
    "[UPDATER]\n"
    "NAME=Here\n"
    "PROC=MK, CP, DEL, RUN, LNK, OLD, NEW, HAS, LACKS, OS, AP\n"
    "[MK]\n"  // 4
    "MODE=MAKEDIR\n"
    "DIR=C:\\App, C:\\App\\Data, C:\\Gone\\Sub\n"  // 6
    "[CP]\n"
    "MODE=COPY\n"
    "FROM=<Src>\\new\\a.dll, <Src>\\new\\b.dll, <Src>\\new\\no.dll, "
    "<Src>\\new\\d.dll, <Src>\\new\\e.dll\n"  // 9
    "TO=C:\\Old\\ro.dll, C:\\Old\\held.dll, C:\\App\\c.dll, "
    "C:\\NoFolder\\d.dll, C:\\App\\Data\\e.dll\n"  // 10
    "[DEL]\n"
    "MODE=DELETE\n"
    "FILE=C:\\Old\\gone.txt, C:\\Old\\held.dll, C:\\App\\c.dll\n"  // 13
    "[RUN]\n"
    "MODE=LAUNCH\n"
    "FILE=<Src>\\updater.exe, C:\\Missing\\x.exe\n"  // 16
    "PARAM=\n"
    "ISWAIT=1\n"
    "[LNK]\n"
    "MODE=LINK\n"
    "SRC=C:\\App\\tool.exe\n"
    "PARAM=\n"
    "SHOWCMD=1\n"
    "DST=C:\\NoMenu\\Tool\n"  // 24
    "[OLD]\n"
    "MODE=DATE\n"
    "FILE=C:\\Old\\ro.dll, C:\\Old\\old.dll\n"  // 27
    "DATE=2001/04/25\n"
    "[NEW]\n"
    "MODE=DATE\n"
    "FILE=C:\\Old\\ro.dll\n"  // 31
    "DATE=2001/04/25\n"
    "[HAS]\n"
    "MODE=EXIST\n"
    "FILE=C:\\Old\\*.dll\n"  // 35
    "[LACKS]\n"
    "MODE=EXIST\n"
    "FILE=C:\\Old\\ro.dll, C:\\Old\\none.dll\n"  // 38
    "[OS]\n"
    "MODE=OSVER\n"  // 40
    "[AP]\n"
    "MODE=EXIST\n"
    "FILE={?App\\editor.exe}, {?AppPath\\absent.exe}\\x\n";  // 43

TEST_F(CheckerHereTest, ReportsWhatTheRunWouldMeetAndChangesNothing) {
  fake::AddFile("C:\\Tools\\new\\a.dll", "a");
  fake::AddFile("C:\\Tools\\new\\b.dll", "b");
  fake::AddFile("C:\\Tools\\new\\d.dll", "d");
  fake::AddFile("C:\\Tools\\new\\e.dll", "e");
  fake::AddFile("C:\\Old\\ro.dll", "r", 0x21);
  fake::AddFile("C:\\Old\\held.dll", "h");
  fake::SetHeld("C:\\Old\\held.dll", true);
  fake::AddFile("C:\\Old\\old.dll", "o");
  fake::SetFileDate("C:\\Old\\old.dll", 2000, 1, 1);
  fake::SetRegistryString(fake::kView32,
                          std::string(kAppPathsKey) + "editor.exe", "",
                          "C:\\Editor\\editor.exe");
  const std::vector<std::string> before = fake::List("C:\\");

  const std::vector<std::string> found = Check(kHere, true);
  const std::vector<std::string> expected = {
      "6 U104",              // C:\Gone is missing and not made
      "9 U101",              // no.dll
      "10 U102", "10 U103",  // ro.dll read-only, held.dll held
      "10 U104",             // C:\NoFolder
      "13 U105", "13 U103",  // gone.txt missing, held.dll held
      "16 U106",             // C:\Missing\x.exe
      "24 U107",             // C:\NoMenu
      "27 U108", "31 U108",  // old.dll is older; ro.dll is current
      "35 U109", "38 U109",  // a match; none.dll missing
      "40 U111",             // the fake is of the NT family
      "43 U109", "43 U110",  // absent.exe has no App Paths key
  };
  EXPECT_EQ(expected, found);

  EXPECT_TRUE(fake::MessageBoxes().empty());
  EXPECT_TRUE(fake::Launches().empty());
  EXPECT_EQ(0, fake::ShortcutSaveCount());
  EXPECT_EQ(before, fake::List("C:\\"));
  EXPECT_EQ(0x21u, fake::Attributes("C:\\Old\\ro.dll"));
  EXPECT_EQ("h", fake::Contents("C:\\Old\\held.dll"));
  EXPECT_EQ(0, fake::OpenSearchCount());
  EXPECT_EQ(0, fake::OpenRegistryHandleCount());
}

// U112: what a COPY cut off by a killed run left, the journal beside the
// settings file and staged files in a destination's folder (each folder
// once); an author's file of a like name is not taken for one.
TEST_F(CheckerHereTest, FindsWhatACutOffCopyLeft) {
  const std::string settings =
      "[UPDATER]\nNAME=Here\nPROC=CP\n[CP]\nMODE=COPY\n"  // PROC: line 3
      "FROM=C:\\Tools\\a.dll, C:\\Tools\\b.dll\n"
      "TO=C:\\App\\a.dll, C:\\App\\b.dll\n";  // 7
  fake::AddFile("C:\\Tools\\a.dll", "a");
  fake::AddFile("C:\\Tools\\b.dll", "b");
  fake::AddFile("C:\\App\\~up12ab.TMP", "");
  fake::AddFile("C:\\App\\~up12ab.bak", "");
  fake::AddFile("C:\\App\\~upnote.txt", "");
  EXPECT_EQ(std::vector<std::string>{"7 U112"}, Check(settings, true));
  EXPECT_NE(std::string::npos,
            Report(settings, true)[0].message.find(
                "'C:\\App' holds '~up12ab.bak', '~up12ab.TMP'"));
  fake::AddFile("C:\\Tools\\updater.ini.~upj", "");
  EXPECT_EQ((std::vector<std::string>{"3 U112", "7 U112"}),
            Check(settings, true));
  EXPECT_EQ(std::vector<std::string>{}, Check(settings, false));
}

TEST_F(CheckerHereTest, AHeldFileNamesTheProgramsHoldingIt) {
  const std::string settings =
      "[UPDATER]\nNAME=Here\nPROC=DEL\n[DEL]\nMODE=DELETE\n"
      "FILE=C:\\Old\\held.dll\n";
  struct Case {
    std::vector<fake::FileHolderEntry> holders;
    bool restartManager;
    std::string message;
  } cases[] = {
      {{{"tool.exe", 120}, {"setup.exe", 96}},
       true,
       ": tool.exe (PID 120), setup.exe (PID 96)"},
      {{}, true, ""},
      {{{"tool.exe", 120}}, false, ""},  // nobody can tell
  };
  for (const Case& c : cases) {
    SetUp();
    fake::AddFile("C:\\Old\\held.dll", "h");
    fake::SetHeld("C:\\Old\\held.dll", true);
    fake::SetFileHolders("C:\\Old\\held.dll", c.holders);
    fake::SetRestartManagerMissing(!c.restartManager);
    const std::vector<checker::Finding> found = Report(settings, true);
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ("item 1 'C:\\Old\\held.dll' is held open by another program" +
                  c.message,
              found[0].message);
  }
}

TEST_F(CheckerHereTest, WithoutHereNothingOfThePcIsAsked) {
  fake::AddFile("C:\\Old\\ro.dll", "r", 0x21);
  for (const std::string& finding : Check(kHere, false)) {
    EXPECT_LT(finding.substr(finding.find(' ')), " U100") << finding;
  }
}

TEST_F(CheckerHereTest, GraphShowsBranchesTestsExitsAndUnreachedProcedures) {
  Check(
      "[UPDATER]\nNAME=G\nPROC=CHK, ASK, GO\n"
      "[CHK]\nMODE=EXIST\nFILE=C:\\a.txt\n"
      "[ASK]\nMODE=MSGBOX\nFLAG=CHK, 1\nTYPE=QUESTION\nTEXT=Go?\n"
      "ISABORT=0, 1\n"
      "[GO]\nMODE=SWITCH\nPROC=CHK\n1=CHK, GO\n0=UPD\n"
      "[UPD]\nMODE=OSVER\n"
      "[UNUSED]\nMODE=OSVER\n",
      false);
  const std::string dot = checker::FlowGraph(flow_);
  const char* const edges[] = {
      "start -> n0_0;",
      "n0_0 -> n0_1 [style=dotted, constraint=false, label=\"FLAG 1\"];",
      "n0_1 -> end [style=dashed, label=\"No: end\"];",
      "n0_0 -> n0_2 [style=dotted, constraint=false, label=\"tested\"];",
      "n1_0 -> end [style=dashed, color=grey];",
      "n0_2 -> n2_0 [label=\"1\"];",
      "n2_1 -> n2_0 [label=\"1 (again)\", color=red, style=dashed];",
      "n0_2 -> n1_0 [label=\"0\"];",
      "n2_1 -> n1_0 [label=\"0\"];",
      "n0_2 -> end;",
      "u0 [label=\"UNUSED\"];",
  };
  for (const char* edge : edges) {
    EXPECT_NE(std::string::npos, dot.find(edge)) << edge << "\n" << dot;
  }
}

// Names are settings text: a lead byte before a quote, a byte that is no
// character, a second byte that is a backslash. The picture is UTF-8 and
// every string in it ends where it should.
TEST_F(CheckerHereTest, GraphOfAnyNameIsValidDot) {
  Check(
      "[UPDATER]\nNAME=G\nPROC=\x83\", \xFF\x80X, \x83\x5C\n"
      "[\x83\"]\nMODE=OSVER\n[\xFF\x80X]\nMODE=OSVER\n"
      "[\x83\x5C]\nMODE=OSVER\n",
      false);
  const std::string dot = checker::FlowGraph(flow_);
  EXPECT_NE(std::string::npos, dot.find("\"\xE3\x82\xBD\\nOSVER\""))  // ソ
      << dot;
  size_t line = 0;
  for (size_t begin = 0; begin < dot.size(); begin = line + 1) {
    line = dot.find('\n', begin);
    const std::string text = dot.substr(begin, line - begin);
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (quoted && c == '\\') {
        ++i;  // an escape takes the next byte, which is ASCII
        ASSERT_LT(i, text.size()) << text;
        EXPECT_LT(static_cast<unsigned char>(text[i]), 0x80) << text;
      } else if (c == '"') {
        quoted = !quoted;
      } else if (c >= 0x80) {
        // A UTF-8 lead and its continuation bytes.
        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        ASSERT_NE(0, length) << text;
        for (int k = 1; k < length; ++k) {
          ASSERT_EQ(0x80, static_cast<unsigned char>(text[i + k]) & 0xC0)
              << text;
        }
        i += length - 1;
      }
    }
    EXPECT_FALSE(quoted) << text;
  }
}

}  // namespace
