// The command line's switches and the caption word beside them.
#include "app/command_switches.h"

#include <string>

#include "app/process_state.h"
#include "app/startup.h"
#include "platform/program_main.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

class CommandSwitchesTest : public UpdaterTest {};

TEST_F(CommandSwitchesTest, OnlyTheListedSwitchesAreRecognised) {
  struct Case {
    const char* commandLine;
    bool silent;
    bool log;
    const char* logPath;
    bool firstIsSwitch;
  } cases[] = {
      {"", false, false, "", false},
      {"Setup /s", false, false, "", false},
      {"/SILENT", true, false, "", true},
      {"x /verysilent", true, false, "", false},
      {"x  /SuppressMsgBoxes ", true, false, "", false},
      {"/Log", false, true, "", true},
      {"x /log=C:\\a.log", false, true, "C:\\a.log", false},
      {"/LOG=\"C:\\My Logs\\a.log\" /SILENT", true, true, "C:\\My Logs\\a.log",
       true},
      {"\"/LOG=C:\\a b.log\"", false, true, "C:\\a b.log", true},
      {"\"/SILENT\"", true, false, "", true},
      {"x /LOG=C:\\a.log /LOG", false, true, "", false},  // the last one
      {"/LOGX /SILENTS -SILENT /S /LOG: SILENT", false, false, "", false},
      {"\"My Tool\" /SILENT", true, false, "", false},
      {"\"My /SILENT Tool\"", false, false, "", false},
      // "表" ends in the byte of a backslash; the path stays whole.
      {"/LOG=C:\\\x95\x5C\\a.log", false, true, "C:\\\x95\x5C\\a.log", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    CommandSwitches switches;
    ReadCommandSwitches(c.commandLine, &switches);
    EXPECT_EQ(c.silent, switches.silent);
    EXPECT_EQ(c.log, switches.log);
    EXPECT_STREQ(c.logPath, switches.logPath.Text());
    EXPECT_EQ(c.firstIsSwitch, FirstWordIsSwitch(c.commandLine));
  }
}

TEST_F(CommandSwitchesTest, LangTakesJaOrEnOnly) {
  struct Case {
    const char* commandLine;
    MessageLanguage language;
    bool firstIsSwitch;
  } cases[] = {
      {"/LANG=ja", kMessagesJapanese, true},
      {"x /lang=EN", kMessagesEnglish, false},
      {"\"/LANG=en\" /LANG=ja", kMessagesJapanese, true},  // the last one
      {"/LANG=fr /LANG /LANG= /LANG=english", kMessagesBySystem, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    CommandSwitches switches;
    ReadCommandSwitches(c.commandLine, &switches);
    EXPECT_EQ(c.language, switches.language);
    EXPECT_EQ(c.firstIsSwitch, FirstWordIsSwitch(c.commandLine));
  }
}

TEST_F(CommandSwitchesTest, WaitTakesDecimalSecondsUpToADay) {
  struct Case {
    const char* commandLine;
    unsigned seconds;
    bool firstIsSwitch;
  } cases[] = {
      {"", 60, false},
      {"/WAIT=3", 3, true},
      {"/wait=0 /SILENT", 0, true},
      {"/WAIT=86400", 86400, true},
      {"/WAIT=5 /WAIT=7", 7, true},  // the last one
      // Anything but decimal seconds up to a day is no switch.
      {"/WAIT=86401", 60, false},
      {"/WAIT=99999999999", 60, false},
      {"/WAIT=", 60, false},
      {"/WAIT=-1", 60, false},
      {"/WAIT=0x10", 60, false},
      {"/WAIT=3s", 60, false},
      {"/WAIT", 60, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    CommandSwitches switches;
    ReadCommandSwitches(c.commandLine, &switches);
    EXPECT_EQ(c.seconds, switches.waitSeconds);
    EXPECT_EQ(c.firstIsSwitch, FirstWordIsSwitch(c.commandLine));
  }
}

TEST_F(CommandSwitchesTest, ASwitchInTheCaptionsPlaceLeavesTheDefaultCaption) {
  // The missing settings file shows its box with the caption of the command
  // line; /LOG into a folder that does not exist changes nothing else.
  struct Case {
    const char* commandLine;
    const char* caption;  // null: the default caption
  } cases[] = {
      {"\"My Tool\" /LOG=C:\\no\\a.log", "My Tool"},
      {"Setup /s", "Setup"},
      {"/LOG=C:\\no\\a.log Setup", 0},
      {"/log=\"C:\\no\\a b.log\" Setup", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    SetUp();
    EXPECT_EQ(1, UpdaterMain(c.commandLine));
    ASSERT_EQ(1u, fake::MessageBoxes().size());
    EXPECT_EQ(std::string(c.caption ? c.caption : DefaultCaption),
              fake::MessageBoxes()[0].caption);
  }
}

}  // namespace
