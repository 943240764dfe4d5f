// Start-up: caption, settings path, built-in symbols, [UPDATER], and the
// whole life of the process on the fake platform.
#include <string>
#include <utility>
#include <vector>

#include "app/proc_driver.h"
#include "app/process_state.h"
#include "platform/program_main.h"
#include "settings/param_reader.h"
#include "app/startup.h"
#include "platform/platform.h"
#include "settings/messages.h"
#include "settings/symbol_table.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

class StartupTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    AppCaption.Set("");
  }

  static void ExpectSymbols(
      const std::vector<std::pair<const char*, const char*> >& symbols) {
    for (size_t i = 0; i < symbols.size(); ++i) {
      TextString value("(none)");
      EXPECT_TRUE(LookupSymbol(symbols[i].first, &value)) << symbols[i].first;
      EXPECT_STREQ(symbols[i].second, value.Text()) << symbols[i].first;
    }
  }
};

TEST_F(StartupTest, FirstArgumentTakesTheCaptionWord) {
  struct Case {
    const char* commandLine;
    const char* expected;  // null: no first argument
  } cases[] = {
      {"", 0},
      {"Setup /s", "Setup"},
      {"\"My Tool\" /s", "My Tool"},
      {"\"A B", "A B"},
      {"\"\"", 0},
      {"\" x", 0},
      {" Setup", 0},
      {"Setup\t/s", "Setup\t/s"},
      {"a\"b\" c", "a\"b"},
      {"\"\"\"x\"\"\" y", "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    TextString out("unchanged");
    const bool found = FirstArgument(TextString(c.commandLine), &out);
    EXPECT_EQ(c.expected != 0, found);
    EXPECT_STREQ(c.expected ? c.expected : "unchanged", out.Text());
  }
}

const std::string kLongModule = "C:\\" + std::string(292, 'd') + "\\u.exe";
const std::string kLongSettings = "C:\\" + std::string(257, 'd') + ".ini";

TEST_F(StartupTest, MissingSettingsFileIsOneBoxAndExitCodeOne) {
  struct Case {
    const char* module;
    const char* settings;
  } cases[] = {
      {"C:\\Tools\\updater.exe", "C:\\Tools\\updater.ini"},
      {"C:\\Tools\\UPDATE.EXE", "C:\\Tools\\UPDATE.ini"},
      {"C:\\Tools\\upd.2001.exe", "C:\\Tools\\upd.2001.ini"},
      {"C:\\a.b\\app", "C:\\a.b\\app.ini"},
      // Longer than MAX_PATH: cut by the system, never read past its end.
      {kLongModule.c_str(), kLongSettings.c_str()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.module);
    SetUp();
    fake::SetModulePath(c.module);
    EXPECT_EQ(1, UpdaterMain("\"Cap tion\" /s"));
    EXPECT_STREQ(c.settings, SettingsPath.Text());
    ASSERT_EQ(1u, fake::MessageBoxes().size());
    EXPECT_EQ(Message(MSG_FILE_NOT_FOUND, c.settings),
              fake::MessageBoxes()[0].text);
    EXPECT_EQ("Cap tion", fake::MessageBoxes()[0].caption);
    EXPECT_EQ(0x10u, fake::MessageBoxes()[0].style);
    EXPECT_TRUE(fake::DllSearchHardened());
    EXPECT_EQ(0, fake::ComDepth());
  }
}

TEST_F(StartupTest, DefaultCaptionIsShiftJis) {
  EXPECT_EQ(1, UpdaterMain(""));
  ASSERT_EQ(1u, fake::MessageBoxes().size());
  EXPECT_EQ("\x83\x8D\x83\x55\x83\x6A\x83\x4A\x20\x83\x41\x83\x62\x83\x76"
            "\x83\x66\x81\x5B\x83\x5E",
            fake::MessageBoxes()[0].caption);
}

TEST_F(StartupTest, BuiltinSymbolsFollowTheDefineEntries) {
  WriteSettings("[DEFINE]\n<Tools>=<Src>\\tools\n<Src>=X\n;<C>=1\n");
  ASSERT_TRUE(DefineBuiltinSymbols());
  EXPECT_EQ(6, SymbolCount());
  ExpectSymbols({{"<Tools>", "C:\\Tools\\tools"},
                 {"<Src>", "C:\\Tools"},
                 {"<Win>", "C:\\Windows"},
                 {"<Sys>", "C:\\Windows\\system32"},
                 {"<Desktop>", "C:\\Users\\Public\\Desktop"},
                 {"<Programs>", "C:\\ProgramData\\Start Menu\\Programs"}});
}

TEST_F(StartupTest, BuiltinSymbolsOnWindows95AndWithFailingFolders) {
  fake::SetPlatformId(platform::kPlatformWin32Windows);
  fake::FailSpecialFolder(platform::kCsidlPrograms);
  fake::SetModulePath("C:\\UPD.EXE");
  ModulePath.Set("C:\\UPD.EXE");
  ASSERT_TRUE(DefineBuiltinSymbols());
  EXPECT_EQ(5, SymbolCount());
  ExpectSymbols({{"<Win>", "C:\\Windows"},
                 {"<Sys>", "C:\\Windows\\system32"},
                 {"<Src>", "C:"},
                 {"<Desktop>", "C:\\Users\\User\\Desktop"},
                 {"<Programs>", ""}});
}

// A [DEFINE] section past the first read's 32767 bytes: the symbol at its
// end is whole on the NT family; the 95 family cannot read it whole, and the
// run stops rather than use part of it.
TEST_F(StartupTest, LargeDefineSectionIsUsedWholeOrNotAtAll) {
  std::string settings =
      "[UPDATER]\nNAME=N\nPROC=M\n[M]\nMODE=MAKEDIR\nDIR=<Dir>\n";
  std::string define = "[DEFINE]\n";
  for (int i = 0; i < 400; ++i) {
    define += "<Pad" + std::to_string(i) + ">=" + std::string(90, 'p') + "\n";
  }
  define += "<Dir>=C:\\App\\sub\n";
  struct Case {
    unsigned platformId;
    std::vector<std::string> boxes;
    bool made;
    int exitCode;
  } cases[] = {
      {platform::kPlatformWin32Nt, {}, true, 0},
      {platform::kPlatformWin32Windows,
       {Message(MSG_BAD_FORMAT, "DEFINE", "")},
       false,
       1},  // start-up failed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.platformId);
    SetUp();
    fake::SetPlatformId(c.platformId);
    fake::AddDirectory("C:\\App");
    WriteSettings(settings + define);
    EXPECT_EQ(c.exitCode, UpdaterMain("Cmd"));
    EXPECT_EQ(c.boxes, BoxTexts());
    EXPECT_EQ(c.made, fake::IsDirectory("C:\\App\\sub"));
  }
}

TEST_F(StartupTest, NameBecomesTheCaptionUnlessEmpty) {
  struct Case {
    const char* settings;
    const char* caption;
    std::vector<std::string> boxes;
  } cases[] = {
      {"[UPDATER]\nNAME=<Src>\\x\nPROC=\n", "C:\\Tools\\x",
       {Message(MSG_BAD_ITEM_COUNT, "UPDATER", "PROC")}},
      {"[UPDATER]\nNAME=\nPROC=\n", "Cmd",
       {Message(MSG_BAD_ITEM_COUNT, "UPDATER", "PROC")}},
      {"[UPDATER]\nPROC=A\n", "Cmd",
       {Message(MSG_BAD_FORMAT, "UPDATER", "NAME")}},
      {"[UPDATER]\nNAME=No_Data\nPROC=A\n", "Cmd",
       {Message(MSG_BAD_FORMAT, "UPDATER", "NAME")}},
      {"[UPDATER]\nNAME=x\n", "Cmd",
       {Message(MSG_BAD_FORMAT, "UPDATER", "PROC")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    SetUp();
    WriteSettings(c.settings);
    EXPECT_EQ(1, UpdaterMain("Cmd"));
    EXPECT_EQ(c.boxes, BoxTexts());
    ASSERT_FALSE(fake::MessageBoxes().empty());
    EXPECT_EQ(c.caption, fake::MessageBoxes().back().caption);
  }
}

TEST_F(StartupTest, DirectoryNamedLikeTheSettingsFileCountsAsFound) {
  fake::AddDirectory(kSettingsPath);
  EXPECT_EQ(1, UpdaterMain(""));
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_FORMAT, "UPDATER", "NAME")},
            BoxTexts());
}

TEST_F(StartupTest, WholeRunCarriesOutTheProcListAndReleasesEverything) {
  WriteSettings(
      "[UPDATER]\nNAME=Tool\nPROC=A\n"
      "[A]\nMODE=ATTR\nFILE=<Src>\\a.txt\nARG=0x1\n");
  fake::AddFile("C:\\Tools\\a.txt");
  EXPECT_EQ(0, UpdaterMain(""));
  EXPECT_TRUE(BoxTexts().empty());
  EXPECT_EQ(0x1u, fake::Attributes("C:\\Tools\\a.txt"));
  EXPECT_EQ(0, ProcListCount);
  EXPECT_EQ(0, fake::ComDepth());
  EXPECT_STREQ("Tool", AppCaption.Text());
}

TEST_F(StartupTest, FailedRunLeavesNoListLoadedAfterExit) {
  WriteSettings(
      "[UPDATER]\nNAME=Tool\nPROC=A\n"
      "[A]\nMODE=ATTR\nFILE=<Src>\\missing.txt\nARG=0x1\n");
  EXPECT_EQ(3, UpdaterMain(""));
  EXPECT_EQ(std::vector<std::string>{Message(MSG_ATTR_FAILED,
                                             "C:\\Tools\\missing.txt", 1u)},
            BoxTexts());
  EXPECT_EQ(0, ProcListCount);
}

}  // namespace
