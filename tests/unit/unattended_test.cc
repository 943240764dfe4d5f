// Unattended runs on the fake platform: the exit code of every ending, one
// run per folder, silent mode and the log.
#include <string>
#include <vector>

#include "app/process_state.h"
#include "app/single_run.h"
#include "app/startup.h"
#include "platform/program_main.h"
#include "res/version.h"
#include "settings/messages.h"
#include "settings/run_log.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

const char kHeader[] = "[UPDATER]\nNAME=Tool\nPROC=P\n";

class UnattendedTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    fake::AddFile("C:\\new\\a.dll", "new");
    fake::AddFile("C:\\app\\a.dll", "old");
  }

  // The log's lines without their time and process id, which the fake world
  // fixes at "2024-06-15 12:00:00.000 [4242] ".
  std::vector<std::string> LogLines(const std::string& path) {
    const std::string prefix = "2024-06-15 12:00:00.000 [4242] ";
    std::string text = fake::Contents(path);
    EXPECT_EQ(0u, text.find("\xEF\xBB\xBF")) << "no UTF-8 mark";
    std::vector<std::string> lines;
    size_t at = 3;
    while (at < text.size()) {
      size_t end = text.find("\r\n", at);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(at, end - at);
      if (line.compare(0, prefix.size(), prefix) == 0)
        lines.push_back(line.substr(prefix.size()));
      else
        lines.push_back("?" + line);  // a line without its stamp
      at = end + 2;
    }
    return lines;
  }
};

TEST_F(UnattendedTest, ExitCodeTellsHowTheRunEnded) {
  const std::string copyFails =
      "[P]\nMODE=COPY\nFROM=C:\\new\\missing.dll\nTO=C:\\app\\a.dll\n";
  const std::string question =
      "[P]\nMODE=MSGBOX\nFLAG=\nTYPE=QUESTION\nTEXT=Go?\nISABORT=0,1\n";
  // T is true on NT, and P's branch list for it holds B.
  const std::string branch =
      "[UPDATER]\nNAME=Tool\nPROC=T,P\n[T]\nMODE=OSVER\n"
      "[P]\nMODE=SWITCH\nPROC=T\n0=\n1=B\n";
  struct Case {
    const char* what;
    std::string settings;  // "" for none
    int answer;            // for the box, -1: its default button
    int code;
  } cases[] = {
      {"done",
       std::string(kHeader) + "[P]\nMODE=ATTR\nFILE=C:\\app\\a.dll\n"
                              "ARG=0x20\n",
       -1, 0},
      {"Yes goes on", kHeader + question, platform::kIdYes, 0},
      {"no settings file", "", -1, 1},
      {"no PROC", "[UPDATER]\nNAME=x\n", -1, 1},
      {"empty PROC", "[UPDATER]\nNAME=x\nPROC=\n", -1, 1},
      {"unknown MODE", kHeader + std::string("[P]\nMODE=MOVE\n"), -1, 2},
      {"missing key", kHeader + std::string("[P]\nMODE=COPY\nFROM=x\n"), -1, 2},
      {"branch list not loaded", branch + "[B]\nMODE=MOVE\n", -1, 2},
      {"copy failed", kHeader + copyFails, -1, 3},
      {"copy failed in a branch",
       branch + "[B]\nMODE=DELETE\nFILE=C:\\app\\missing.dll\n", -1, 3},
      {"no box could be shown", kHeader + question, 0, 3},
      {"No ends the run", kHeader + question, platform::kIdNo, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    if (!c.settings.empty()) WriteSettings(c.settings);
    if (c.answer >= 0) fake::QueueAnswer(c.answer);
    EXPECT_EQ(c.code, UpdaterMain(""));
  }
}

// A restart asked for by a program reaches the exit code only of a run that
// ended normally, and only as /RESTARTEXITCODE says.
TEST_F(UnattendedTest, RestartCodeOfARunThatEndedNormally) {
  const std::string restarts =
      "[UPDATER]\nNAME=Tool\nPROC=R,P\n[R]\nMODE=LAUNCH\n"
      "FILE=C:\\new\\setup.exe\nPARAM=\nISWAIT=1\nRESTART=3010\n";
  const std::string done = "[P]\nMODE=MAKEDIR\nDIR=C:\\app\n";
  const std::string fails = "[P]\nMODE=DELETE\nFILE=C:\\app\\missing\n";
  struct Case {
    const char* commandLine;
    std::string settings;
    unsigned setupCode;
    int code;
  } cases[] = {
      {"/RESTARTEXITCODE=3010", restarts + done, 3010, 3010},
      {"/restartexitcode=0x0BC2 /SILENT", restarts + done, 3010, 3010},
      {"", restarts + done, 3010, 0},
      {"/RESTARTEXITCODE=3010", restarts + done, 0, 0},
      {"/RESTARTEXITCODE=3010", restarts + fails, 3010, 3},
      // No exit code after the "=": no switch.
      {"/RESTARTEXITCODE=x /RESTARTEXITCODE=", restarts + done, 3010, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    SetUp();
    fake::AddFile("C:\\new\\setup.exe");
    fake::SetLaunchExitCode("C:\\new\\setup.exe", c.setupCode);
    WriteSettings(c.settings);
    EXPECT_EQ(c.code, UpdaterMain(c.commandLine));
  }
}

TEST_F(UnattendedTest, ASecondRunOfTheSameFolderEndsWithCodeFive) {
  const std::string settings =
      std::string(kHeader) +
      "[P]\nMODE=LAUNCH\nFILE=C:\\Tools\\tool.exe\nPARAM=\nISWAIT=1\n";
  WriteSettings(settings);
  fake::AddFile("C:\\Tools\\tool.exe", "MZ");
  std::vector<std::string> heldWhileRunning;
  fake::OnLaunch("C:\\Tools\\tool.exe",
                 [&] { heldWhileRunning = fake::MutexesHeld(); });
  const std::string name =
      "Global\\" + std::string(SingleRunName("C:\\Tools\\updater.exe").Text());
  EXPECT_EQ(0, UpdaterMain(""));
  EXPECT_EQ(std::vector<std::string>{name}, heldWhileRunning);
  EXPECT_TRUE(fake::MutexesHeld().empty());

  SetUp();
  WriteSettings(settings);
  fake::AddFile("C:\\Tools\\tool.exe", "MZ");
  fake::HoldMutexElsewhere(name);
  EXPECT_EQ(5, UpdaterMain(""));
  EXPECT_TRUE(fake::Launches().empty());
  EXPECT_EQ(std::vector<std::string>{Message(MSG_ALREADY_RUNNING, "C:\\Tools")},
            BoxTexts());
  EXPECT_EQ("Tool", fake::MessageBoxes()[0].caption);
  EXPECT_EQ(0, fake::OpenKernelObjectCount());
}

TEST_F(UnattendedTest, TheRunsNameBelongsToTheFolder) {
  const std::string base = SingleRunName("C:\\Tools\\updater.exe").Text();
  EXPECT_EQ(0u, base.find("updater-run-"));
  EXPECT_EQ(28u, base.size());
  const char* const sameFolder[] = {
      "C:\\Tools\\setup.exe", "c:\\TOOLS\\UPDATER.EXE",
      // "表" ends in the byte of a backslash: it is no folder.
      "C:\\Tools\\\x95\x5C.exe"};
  for (const char* path : sameFolder)
    EXPECT_EQ(base, SingleRunName(path).Text()) << path;
  // Each its own folder. In UTF-8 the Japanese names (さくら, テスト, 日本語,
  // 設定, 製品, ドキュメント, あ) hold bytes of 0x81-0x9F (テ is E3 83 86),
  // which code page 932 reads as lead bytes. Full-width Ａ and ａ have no
  // case.
  const char* const folders[] = {
      "C:\\Tools",
      "D:\\Tools",
      "C:\\Tools\\x",
      "C:\\\x95\x5C",
      "C:\\Apps",
      "C:\\Apps\\\x82\xB3\x82\xAD\x82\xE7",
      "C:\\Apps\\\x83\x65\x83\x58\x83\x67",
      "C:\\Apps\\\x93\xFA\x96\x7B\x8C\xEA",
      "C:\\Apps\\\x90\xDD\x92\xE8",
      "C:\\Apps\\\x90\xBB\x95\x69",
      "C:\\Apps\\\x83\x68\x83\x4C\x83\x85\x83\x81\x83\x93\x83\x67",
      "C:\\mx",
      "C:\\mx\\\x82\xA0",
      "C:\\\x82\x60",
      "C:\\\x82\x81"};
  std::vector<std::string> names;
  for (const char* folder : folders) {
    names.push_back(
        SingleRunName((std::string(folder) + "\\updater.exe").c_str()).Text());
    // Another letter case of A to Z is the same folder.
    std::string upper = std::string(folder) + "\\UPDATER.EXE";
    for (size_t i = 0; i < upper.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(upper[i]);
      if (c >= 0x80)
        ++i;  // a lead byte: the second byte stays
      else if (c >= 'a' && c <= 'z')
        upper[i] = static_cast<char>(c - 32);
    }
    EXPECT_EQ(names.back(), SingleRunName(upper.c_str()).Text()) << folder;
    for (size_t i = 0; i + 1 < names.size(); ++i)
      EXPECT_NE(names[i], names.back()) << folders[i] << " / " << folder;
  }
}

TEST_F(UnattendedTest, SilentModeTakesTheDefaultButtonAndShowsNothing) {
  struct Case {
    const char* type;
    const char* isabort;
    int code;  // 4: the default answer ended the run
  } cases[] = {
      {"QUESTION", "0,1", 0},                             // Yes
      {"QUESTION", "1,0", 4}, {"WARNING", "0,1", 4},      // No
      {"WARNING", "1,0", 0},  {"INFORMATION", "1,1", 4},  // OK
      {"ERROR", "0,1", 0},
  };
  const char* const switches[] = {"/SILENT", "/verysilent",
                                  "x /SuppressMsgBoxes"};
  for (const Case& c : cases) {
    for (const char* commandLine : switches) {
      SCOPED_TRACE(std::string(c.type) + " " + c.isabort + " " + commandLine);
      SetUp();
      // Q's result decides whether the copy runs.
      WriteSettings(
          "[UPDATER]\nNAME=Tool\nPROC=Q,S\n"
          "[Q]\nMODE=MSGBOX\nFLAG=\nTYPE=" +
          std::string(c.type) + "\nTEXT=t\nISABORT=" + c.isabort +
          "\n[S]\nMODE=SWITCH\nPROC=Q\n0=\n1=C\n"
          "[C]\nMODE=COPY\nFROM=C:\\new\\a.dll\nTO=C:\\app\\a.dll\n");
      EXPECT_EQ(c.code, UpdaterMain(commandLine));
      EXPECT_TRUE(fake::MessageBoxes().empty());
      const bool yesOrOk = std::string(c.type) != "WARNING";
      EXPECT_EQ(c.code == 0 && yesOrOk ? "new" : "old",
                fake::Contents("C:\\app\\a.dll"));
    }
  }
  // An error ends the run with its code, without a box.
  SetUp();
  WriteSettings(std::string(kHeader) +
                "[P]\nMODE=DELETE\nFILE=C:\\app\\missing.dll\n");
  EXPECT_EQ(3, UpdaterMain("/SILENT"));
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(UnattendedTest, LogRecordsEveryEventInUtf8) {
  // NAME "ツール" (its second bytes are a backslash and a brace).
  WriteSettings(
      "[UPDATER]\nNAME=\x83\x63\x81\x5B\x83\x8B\nPROC=MK,ASK,CP,HELD\n"
      "[DEFINE]\n<App>=C:\\app\n"
      "[MK]\nMODE=MAKEDIR\nDIR=<App>, C:\\app\\sub\n"
      "[ASK]\nMODE=MSGBOX\nFLAG=\nTYPE=QUESTION\nTEXT=Go?%nNow\nISABORT=0,1\n"
      "[CP]\nMODE=COPY\nFROM=C:\\new\\a.dll\nTO=<App>\\b.dll\n"
      "[HELD]\nMODE=COPY\nFROM=C:\\new\\a.dll\nTO=<App>\\a.dll\n");
  // Read-only: refused at once, without the retries of a held file.
  fake::SetAttributesOf("C:\\app\\a.dll", 0x21);
  fake::AddDirectory("C:\\logs");
  EXPECT_EQ(3, UpdaterMain("\"My Tool\" /LOG=\"C:\\logs\\run.log\""));
  const char* const name = "\xE3\x83\x84\xE3\x83\xBC\xE3\x83\xAB";  // UTF-8
  const std::string failed =
      "stage C:\\\\new\\\\a.dll -> C:\\\\app\\\\a.dll: failed, error 5: Access "
      "is "
      "denied.";
  const std::vector<std::string> expected = {
      std::string("updater ") + UPDATER_VERSION_TEXT + ", " +
          (sizeof(void*) == 8 ? "64" : "32") +
          "-bit build, arguments: \"My Tool\" /LOG=\"C:\\\\logs\\\\run.log\"",
      "Windows 10.0.19045 (NT family), elevated: yes",
      "settings: C:\\\\Tools\\\\updater.ini",
      "start [MK] MODE=MAKEDIR DIR=\"C:\\\\app, C:\\\\app\\\\sub\"",
      "make directory C:\\\\app: there already",
      "make directory C:\\\\app\\\\sub: done",
      "end [MK] result true",
      "start [ASK] MODE=MSGBOX FLAG=\"\" TYPE=\"QUESTION\" "
      "TEXT=\"Go?%nNow\" ISABORT=\"0,1\"",
      std::string("MSGBOX box \"") + name + "\": Go?\\nNow -> Yes",
      "end [ASK] result true",
      "start [CP] MODE=COPY FROM=\"C:\\\\new\\\\a.dll\" "
      "TO=\"C:\\\\app\\\\b.dll\"",
      "stage C:\\\\new\\\\a.dll -> C:\\\\app\\\\b.dll: done",
      "copy C:\\\\new\\\\a.dll -> C:\\\\app\\\\b.dll: done",
      "end [CP] result true",
      "start [HELD] MODE=COPY FROM=\"C:\\\\new\\\\a.dll\" "
      "TO=\"C:\\\\app\\\\a.dll\"",
      failed,
      std::string("error box \"") + name + "\": " +
          // The message, as its box shows it, in UTF-8.
          "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x81\xAE"
          "\xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC\xE3\x81\xAB\xE5\xA4\xB1"
          "\xE6\x95\x97\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F"
          "\xE3\x80\x82\\n\\n\xE8\xBB\xA2\xE9\x80\x81\xE5\x85\x83\xEF\xBC"
          "\x9A\"C:\\\\new\\\\a.dll\"\\n\xE8\xBB\xA2\xE9\x80\x81\xE5\x85\x88"
          "\xEF\xBC\x9A\"C:\\\\app\\\\a.dll\" -> OK",
      "end [HELD] result false, the run stops",
      "exit code 3",
  };
  EXPECT_EQ(expected, LogLines("C:\\logs\\run.log"));

  // A second run appends to the same file, silently.
  ResetProcessState();
  fake::SetAttributesOf("C:\\app\\a.dll", 0x20);
  EXPECT_EQ(0, UpdaterMain("/LOG=C:\\logs\\run.log /SILENT"));
  const std::vector<std::string> lines = LogLines("C:\\logs\\run.log");
  ASSERT_EQ(expected.size() + 19, lines.size());
  EXPECT_EQ(std::string("MSGBOX box \"") + name +
                "\": Go?\\nNow -> Yes (silent mode: the default button)",
            lines[expected.size() + 8]);
  EXPECT_EQ("exit code 0", lines.back());
}

TEST_F(UnattendedTest, LogLinesShowEveryByteOneWayOnly) {
  const struct {
    const char* text;  // code page 932
    const char* line;  // UTF-8
  } cases[] = {
      // テスト, a backslash before n and t, the three named breaks.
      {"C:\\new\\\x83\x65\x83\x58\x83\x67\\tab",
       "C:\\\\new\\\\\xE3\x83\x86"
       "\xE3\x82\xB9\xE3\x83\x88\\\\tab"},
      {"a\r\nb\tc\\n", "a\\r\\nb\\tc\\\\n"},
      // A terminal colour, BEL, DEL and another control character.
      {"\x1B[31mred\x07\x7F\x01", "\\x1B[31mred\\x07\\x7F\\x01"},
      // No character of the code page: the rest of the line still converts.
      {"\x85\x40\x83\x65", "\\x85@\xE3\x83\x86"},
      {"\x83\n\x83\x65", "\\x83\\n\xE3\x83\x86"},
      {"\x80\xA0\xFD\xB1", "\\x80\\xA0\\xFD\xEF\xBD\xB1"},  // ｱ converts
      {"\x83\x65\x83", "\xE3\x83\x86\\x83"},                // cut at the end
  };
  fake::AddDirectory("C:\\logs");
  ASSERT_TRUE(OpenRunLog("C:\\logs\\run.log"));
  std::vector<std::string> expected;
  for (const auto& c : cases) {
    LogText(TextString(c.text));
    expected.push_back(c.line);
  }
  CloseRunLog();
  EXPECT_EQ(expected, LogLines("C:\\logs\\run.log"));
}

TEST_F(UnattendedTest, ALogThatCannotBeOpenedChangesNothing) {
  const std::string settings =
      std::string(kHeader) + "[P]\nMODE=DELETE\nFILE=C:\\app\\missing.dll\n";
  WriteSettings(settings);
  EXPECT_EQ(3, UpdaterMain("Cap"));
  const std::vector<std::string> boxes = BoxTexts();
  SetUp();
  WriteSettings(settings);
  EXPECT_EQ(3, UpdaterMain("Cap /LOG=C:\\missing\\run.log"));
  EXPECT_EQ(boxes, BoxTexts());
  EXPECT_FALSE(fake::Exists("C:\\missing"));
}

TEST_F(UnattendedTest, LogWithoutAPathIsANewFileInTheTemporaryFolder) {
  const std::string temp = "C:\\Users\\User\\AppData\\Local\\Temp\\";
  fake::AddFile(temp + "updater 2024-06-15 #001.log", "older");
  WriteSettings(std::string(kHeader) +
                "[P]\nMODE=ATTR\nFILE=C:\\app\\a.dll\nARG=0x20\n");
  EXPECT_EQ(0, UpdaterMain("/LOG"));
  ResetProcessState();
  EXPECT_EQ(0, UpdaterMain("/log"));
  EXPECT_EQ("older", fake::Contents(temp + "updater 2024-06-15 #001.log"));
  EXPECT_EQ("exit code 0",
            LogLines(temp + "updater 2024-06-15 #002.log").back());
  EXPECT_EQ("exit code 0",
            LogLines(temp + "updater 2024-06-15 #003.log").back());
  // No temporary folder: no log, the same run.
  ResetProcessState();
  fake::SetTempDirectory("");
  EXPECT_EQ(0, UpdaterMain("/LOG"));
  EXPECT_EQ(3u, fake::List(temp).size());
}

TEST_F(UnattendedTest, HeaderTellsTheSystemAndTheLogItsDate) {
  struct Case {
    unsigned platformId;
    unsigned major, minor, build;
    platform::Elevation elevation;
    const char* line;
  } cases[] = {
      {platform::kPlatformWin32Nt, 6, 1, 7601, platform::kNotElevated,
       "Windows 6.1.7601 (NT family), elevated: no"},
      {platform::kPlatformWin32Windows, 4, 10, 2222,
       platform::kElevationUnknown,
       "Windows 4.10.2222 (95 family), elevated: unknown"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    SetUp();
    fake::SetPlatformId(c.platformId);
    fake::SetSystemVersion(c.major, c.minor, c.build);
    fake::SetElevation(c.elevation);
    const platform::LocalTimeFields newYear = {2025, 1, 2, 3, 4, 5, 6};
    fake::SetLocalTime(newYear);
    EXPECT_EQ(1, UpdaterMain("/LOG /SILENT"));
    const std::string log = fake::Contents(
        "C:\\Users\\User\\AppData\\Local\\Temp\\updater 2025-01-02 #001.log");
    EXPECT_NE(std::string::npos, log.find("2025-01-02 03:04:05.006 [4242] " +
                                          std::string(c.line) + "\r\n"))
        << log;
  }
}

}  // namespace
