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
      // "表" ends in the byte of a backslash; the path stays whole, and so
      // does the switch after it.
      {"/LOG=C:\\\x95\x5C\\a.log /SILENT", true, true, "C:\\\x95\x5C\\a.log",
       true},
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

// The switches that take a value: /LANG takes ja or en, /WAIT decimal
// seconds up to a day; anything else makes the word no switch, and the last
// one of a kind counts.
TEST_F(CommandSwitchesTest, ValuedSwitchesTakeOnlyTheirValues) {
  const MessageLanguage kSystem = kMessagesBySystem;
  struct Case {
    const char* commandLine;
    MessageLanguage language;
    unsigned seconds;
    bool firstIsSwitch;
  } cases[] = {
      {"", kSystem, 60, false},
      {"/LANG=ja", kMessagesJapanese, 60, true},
      {"x /lang=EN", kMessagesEnglish, 60, false},
      {"\"/LANG=en\" /LANG=ja", kMessagesJapanese, 60, true},
      {"/LANG=fr /LANG /LANG= /LANG=english", kSystem, 60, false},
      {"/WAIT=3", kSystem, 3, true},
      {"/wait=0 /SILENT", kSystem, 0, true},
      {"/WAIT=86400", kSystem, 86400, true},
      {"/WAIT=5 /WAIT=7", kSystem, 7, true},
      {"/WAIT=86401", kSystem, 60, false},
      {"/WAIT=99999999999", kSystem, 60, false},
      {"/WAIT= /WAIT=-1 /WAIT=0x10 /WAIT=3s /WAIT", kSystem, 60, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    CommandSwitches switches;
    ReadCommandSwitches(c.commandLine, &switches);
    EXPECT_EQ(c.language, switches.language);
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
