// LAUNCH procedures on the fake world: command lines, working directories,
// the wait chosen, failures and the exit codes of waited programs.
#include <string>
#include <vector>

#include "commands/exit_code_list.h"
#include "commands/launch.h"
#include "settings/exit_code.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/section_run.h"
#include "tests/unit/updater_test.h"

namespace {

class LaunchTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    fake::AddFile("C:\\A\\a.exe");
    fake::AddFile("C:\\B\\b.exe");
  }

  SectionRun RunLaunchSection(const std::string& file, const std::string& param,
                              const std::string& iswait = "1") {
    WriteSettings("[S]\nMODE=LAUNCH\nFILE=" + file + "\nPARAM=" + param +
                  "\nISWAIT=" + iswait + "\n");
    return LoadAndRun(LoadLaunch, RunLaunch, "S");
  }
};

TEST_F(LaunchTest, CommandLineAndWorkingDirectory) {
  struct Case {
    const char* file;
    const char* param;
    const char* commandLine;
    const char* directory;
    const char* program;  // what CreateProcessA runs
  } cases[] = {
      {"C:\\Tools\\setup.exe", "/s", "C:\\Tools\\setup.exe /s", "C:\\Tools",
       "C:\\Tools\\setup.exe"},
      // Empty parameters leave the blank at the end.
      {"C:\\Tools\\setup.exe", "", "C:\\Tools\\setup.exe ", "C:\\Tools",
       "C:\\Tools\\setup.exe"},
      {"C:\\Tools\\setup.exe", "-a  -b", "C:\\Tools\\setup.exe -a  -b",
       "C:\\Tools", "C:\\Tools\\setup.exe"},
      // A blank in the path: quoted, so the planted C:\Program.exe is passed
      // over; the folder is taken without the quotes.
      {"C:\\Program Files\\Tool\\setup.exe", "/s",
       "\"C:\\Program Files\\Tool\\setup.exe\" /s", "C:\\Program Files\\Tool",
       "C:\\Program Files\\Tool\\setup.exe"},
      {"C:\\Program Files\\Tool\\setup.exe", "",
       "\"C:\\Program Files\\Tool\\setup.exe\" ", "C:\\Program Files\\Tool",
       "C:\\Program Files\\Tool\\setup.exe"},
      // Quoted by the writer (inside a list; the settings reader drops the
      // quotes around a whole value): kept as written, quoted once.
      {"\"C:\\Program Files\\Tool\\setup.exe\"", "/s",
       "\"C:\\Program Files\\Tool\\setup.exe\" /s", "C:\\Program Files\\Tool",
       "C:\\Program Files\\Tool\\setup.exe"},
      {"\"C:\\Tools\\setup.exe\"", "/s", "\"C:\\Tools\\setup.exe\" /s",
       "C:\\Tools", "C:\\Tools\\setup.exe"},
      // A program at a drive's root runs in the root, not in whatever the
      // drive's current directory is.
      {"C:\\setup.exe", "", "C:\\setup.exe ", "C:\\", "C:\\setup.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    SetUp();
    fake::AddFile("C:\\Tools\\setup.exe");
    fake::AddFile("C:\\Program Files\\Tool\\setup.exe");
    fake::AddFile("C:\\Program.exe");
    fake::AddFile("C:\\setup.exe");
    EXPECT_TRUE(LaunchProcess(c.file, c.param, 1, NULL));
    ASSERT_EQ(1u, fake::Launches().size());
    const fake::LaunchCall& call = fake::Launches()[0];
    EXPECT_EQ(c.commandLine, call.commandLine);
    EXPECT_EQ(c.directory, call.directory);
    EXPECT_EQ(c.program, call.program);
  }
}

TEST_F(LaunchTest, ProgramsStartInOrderWithTheirOwnParameters) {
  SectionRun run = RunLaunchSection("C:\\A\\a.exe, C:\\B\\b.exe", "-x");
  EXPECT_TRUE(run.goesOn);
  EXPECT_TRUE(run.result);
  ASSERT_EQ(2u, fake::Launches().size());
  EXPECT_EQ("C:\\A\\a.exe -x", fake::Launches()[0].commandLine);
  EXPECT_EQ("C:\\B\\b.exe ", fake::Launches()[1].commandLine);
  EXPECT_EQ("C:\\B", fake::Launches()[1].directory);
}

TEST_F(LaunchTest, IsWaitChoosesTheWait) {
  struct Case {
    const char* iswait;
    platform::LaunchWait wait;
  } cases[] = {
      {"1", platform::kWaitForExit},
      {"0", platform::kWaitForInputIdle},
      {"-1", platform::kWaitForExit},
      {"7", platform::kWaitForExit},
      {"00", platform::kWaitForInputIdle},
      // Not a number: the start value, wait for the end.
      {"no", platform::kWaitForExit},
      {"", platform::kWaitForExit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.iswait);
    SetUp();
    SectionRun run =
        RunLaunchSection("C:\\A\\a.exe, C:\\B\\b.exe", "", c.iswait);
    EXPECT_TRUE(run.result);
    ASSERT_EQ(2u, fake::Launches().size());
    EXPECT_EQ(c.wait, fake::Launches()[0].wait);
    EXPECT_EQ(c.wait, fake::Launches()[1].wait);
  }
}

TEST_F(LaunchTest, FailingItemIsNamedTrimmedAndStopsTheRun) {
  struct Case {
    const char* file;  // the second item, between a.exe and b.exe
    const char* named;
    bool started;      // CreateProcessA was reached for it
    platform::LaunchResult scripted;
  } cases[] = {
      // No folder: nothing is started.
      {" notepad.exe ", "notepad.exe", false, platform::kLaunchDone},
      {"\\setup.exe", "\\setup.exe", false, platform::kLaunchDone},
      {"", "", false, platform::kLaunchDone},
      // No file name holds a double quote.
      {"C:\\B\\b\".exe", "C:\\B\\b\".exe", false, platform::kLaunchDone},
      {"\"C:\\B\\b.exe", "\"C:\\B\\b.exe", false, platform::kLaunchDone},
      // A tab splits an unquoted command line like a blank: quoted, the
      // name reaches no C:\B\b.exe (and, holding a tab, names no file).
      {"C:\\B\\b\tx.exe", "C:\\B\\b\tx.exe", true, platform::kLaunchDone},
      {"C:\\B\\missing.exe", "C:\\B\\missing.exe", true,
       platform::kLaunchNotStarted},
      {"C:\\Nowhere\\b.exe", "C:\\Nowhere\\b.exe", true,
       platform::kLaunchNotStarted},
      {"C:\\B\\b.exe", "C:\\B\\b.exe", true, platform::kLaunchWaitFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    SetUp();
    fake::SetLaunchResult("C:\\B\\b.exe", c.scripted);
    fake::AddFile("C:\\C\\c.exe");
    SectionRun run = RunLaunchSection(
        std::string("C:\\A\\a.exe,") + c.file + ",C:\\C\\c.exe", "-a, -q ,-c");
    EXPECT_FALSE(run.goesOn);
    EXPECT_FALSE(run.result);
    EXPECT_EQ(
        std::vector<std::string>{Message(MSG_LAUNCH_FAILED, c.named, "-q")},
        BoxTexts());
    // The first program ran; the third was never started.
    ASSERT_EQ(c.started ? 2u : 1u, fake::Launches().size());
    EXPECT_EQ("C:\\A\\a.exe -a", fake::Launches()[0].commandLine);
  }
}

TEST_F(LaunchTest, EmptyFileListAndMissingKeys) {
  SectionRun run = RunLaunchSection("", "-x");
  EXPECT_FALSE(run.goesOn);
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_ITEM_COUNT, "S", "FILE")},
            BoxTexts());

  const char* keys[] = {"PARAM", "ISWAIT"};
  for (const char* key : keys) {
    SCOPED_TRACE(key);
    SetUp();
    std::string section = "[S]\nMODE=LAUNCH\nFILE=C:\\A\\a.exe\n";
    if (std::string(key) != "PARAM") section += "PARAM=\n";
    WriteSettings(section);
    EXPECT_TRUE(LoadLaunch("S") == 0);
    EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_FORMAT, "S", key)},
              BoxTexts());
  }
  EXPECT_TRUE(fake::Launches().empty());
}

TEST_F(LaunchTest, ExitCodesAreReadInEitherBaseAndAsSignedNumbers) {
  struct Case {
    const char* item;
    bool read;
    unsigned code;
  } cases[] = {
      {"0", true, 0},
      {"3010", true, 3010},
      {"007", true, 7},
      {"4294967295", true, 0xFFFFFFFFu},
      {"3221225477", true, 0xC0000005u},
      {"-1073741819", true, 0xC0000005u},
      {"0xC0000005", true, 0xC0000005u},
      {"0Xc0000005", true, 0xC0000005u},
      {"-1", true, 0xFFFFFFFFu},
      {"-2147483648", true, 0x80000000u},
      {"-0", true, 0},
      {"4294967296", false, 0},
      {"-2147483649", false, 0},
      {"0x100000000", false, 0},
      {"0x", false, 0},
      {"-0x1", false, 0},
      {"+1", false, 0},
      {"-", false, 0},
      {"", false, 0},
      {"30 10", false, 0},
      {"1e3", false, 0},
      {"\x82\x50", false, 0},  // a full-width digit one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    unsigned code = 12345;
    EXPECT_EQ(c.read, ParseExitCode(TextString(c.item), &code));
    EXPECT_EQ(c.read ? c.code : 12345u, code);
  }
}

// SUCCESS and RESTART judge each waited program's exit code; where ISWAIT
// does not wait they are not read, whatever they hold.
TEST_F(LaunchTest, ExitCodeJudgedBySuccessAndRestart) {
  struct Case {
    const char* keys;
    unsigned code;  // of b.exe, the first of two programs
    bool goesOn;
    bool restart;
  } cases[] = {
      {"ISWAIT=1\n", 1603, true, false},  // no keys: every code as before
      {"ISWAIT=1\nSUCCESS=\n", 1603, true, false},
      {"ISWAIT=1\nSUCCESS= , ,\n", 1603, true, false},
      {"ISWAIT=1\nSUCCESS=0, 1638\n", 1638, true, false},
      {"ISWAIT=1\nSUCCESS=0, 1638\n", 1603, false, false},
      {"ISWAIT=1\nSUCCESS=0\nRESTART=3010,1641\n", 1641, true, true},
      {"ISWAIT=1\nRESTART=3010\n", 3010, true, true},
      {"ISWAIT=1\nRESTART=3010\n", 1603, true, false},
      {"ISWAIT=1\nSUCCESS=0,-1073741819\n", 0xC0000005u, true, false},
      {"ISWAIT=0\nSUCCESS=0\n", 1603, true, false},
      {"ISWAIT=0\nSUCCESS=not read\n", 1603, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    SetUp();
    fake::SetLaunchExitCode("C:\\B\\b.exe", c.code);
    WriteSettings(std::string("[S]\nMODE=LAUNCH\nFILE=C:\\B\\b.exe, "
                              "C:\\A\\a.exe\nPARAM=\n") +
                  c.keys);
    SectionRun run = LoadAndRun(LoadLaunch, RunLaunch, "S");
    EXPECT_EQ(c.goesOn, run.goesOn);
    EXPECT_EQ(c.goesOn, run.result);
    EXPECT_EQ(c.restart, RestartNeeded());
    // A failing code stops before the next program.
    EXPECT_EQ(c.goesOn ? 2u : 1u, fake::Launches().size());
    EXPECT_EQ(c.goesOn ? std::vector<std::string>()
                       : std::vector<std::string>{Message(
                             MSG_LAUNCH_EXIT_CODE, "C:\\B\\b.exe", c.code,
                             c.code)},
              BoxTexts());
  }
}

TEST_F(LaunchTest, AnItemThatIsNoExitCodeRefusesTheSection) {
  const char* values[] = {"0, x", "3010 1641", "0,+1", "0x1FFFFFFFF"};
  const char* keys[] = {"SUCCESS", "RESTART"};
  for (const char* key : keys) {
    for (const char* value : values) {
      SCOPED_TRACE(std::string(key) + "=" + value);
      SetUp();
      WriteSettings(std::string("[S]\nMODE=LAUNCH\nFILE=C:\\A\\a.exe\nPARAM=\n"
                                "ISWAIT=1\n") +
                    key + "=" + value + "\n");
      EXPECT_TRUE(LoadLaunch("S") == 0);
      EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_FORMAT, "S", key)},
                BoxTexts());
    }
  }
}

}  // namespace
