// LINK procedures on the fake world: the fields of the saved shortcuts, the
// show commands, and the quiet failure.
#include <string>
#include <vector>

#include "app/proc_driver.h"
#include "app/process_state.h"
#include "commands/link.h"
#include "platform/platform.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/section_run.h"
#include "tests/unit/updater_test.h"

namespace {

class LinkTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    // Start-up does this in the updater; the link object needs it.
    platform::ComInitialize();
    fake::AddFile("C:\\App\\app.exe");
    fake::AddDirectory("C:\\x");
  }

  SectionRun RunLinkSection(const std::string& src, const std::string& param,
                            const std::string& showcmd,
                            const std::string& dst) {
    WriteSettings("[S]\nMODE=LINK\nSRC=" + src + "\nPARAM=" + param +
                  "\nSHOWCMD=" + showcmd + "\nDST=" + dst + "\n");
    return LoadAndRun(LoadLink, RunLink, "S");
  }
};

TEST_F(LinkTest, ShortcutGetsTargetArgumentsFolderAndShowCommand) {
  SectionRun run = RunLinkSection(" C:\\App\\app.exe ", " -q ", "3",
                                  " C:\\Users\\User\\Desktop\\App ");
  EXPECT_TRUE(run.goesOn);
  EXPECT_TRUE(run.result);
  EXPECT_TRUE(BoxTexts().empty());
  ASSERT_TRUE(fake::HasShortcut("C:\\Users\\User\\Desktop\\App.LNK"));
  const fake::Shortcut saved =
      fake::ShortcutAt("C:\\Users\\User\\Desktop\\App.LNK");
  EXPECT_EQ("C:\\App\\app.exe", saved.target);
  EXPECT_EQ("-q", saved.arguments);
  EXPECT_EQ("C:\\App", saved.workingDirectory);
  EXPECT_EQ(platform::kSwShowMaximized, saved.showCommand);
}

TEST_F(LinkTest, ItemsPairUpAndMissingOnesAreEmpty) {
  struct Case {
    const char* target;
    const char* link;  // the file saved
    const char* arguments;
    const char* folder;
    int show;
  } cases[] = {
      {"C:\\App\\app.exe", "C:\\x\\A.LNK", "-a", "C:\\App",
       platform::kSwShowNormal},
      // ".LNK" is appended whatever the name ends with.
      {"C:\\App\\app.exe", "C:\\x\\B.lnk.LNK", "", "C:\\App",
       platform::kSwShowMinNoActive},
      // No folder in the target: no working directory; at a drive's root
      // the root itself.
      {"app.exe", "C:\\x\\C.LNK", "", "", platform::kSwShowNormal},
      {"C:\\app.exe", "C:\\x\\D.LNK", "", "C:\\", platform::kSwShowNormal},
  };
  SectionRun run = RunLinkSection(
      "C:\\App\\app.exe,C:\\App\\app.exe,app.exe,C:\\app.exe", "-a", "1,2",
      "C:\\x\\A,C:\\x\\B.lnk,C:\\x\\C,C:\\x\\D");
  EXPECT_TRUE(run.result);
  EXPECT_EQ(4, fake::ShortcutSaveCount());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    ASSERT_TRUE(fake::HasShortcut(c.link));
    const fake::Shortcut saved = fake::ShortcutAt(c.link);
    EXPECT_EQ(c.target, saved.target);
    EXPECT_EQ(c.arguments, saved.arguments);
    EXPECT_EQ(c.folder, saved.workingDirectory);
    EXPECT_EQ(c.show, saved.showCommand);
  }
}

TEST_F(LinkTest, ShowCommandNumbersMapToShowCommands) {
  struct Case {
    const char* showcmd;
    int stored;  // kSwShowNormal also where none is set: the default
  } cases[] = {
      {"1", platform::kSwShowNormal},      {"2", platform::kSwShowMinNoActive},
      {"3", platform::kSwShowMaximized},   {"02", platform::kSwShowMinNoActive},
      {"0", platform::kSwShowNormal},      {"4", platform::kSwShowNormal},
      {"7", platform::kSwShowNormal},      {"-2", platform::kSwShowNormal},
      {"max", platform::kSwShowNormal},    {"", platform::kSwShowNormal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.showcmd);
    SetUp();
    SectionRun run = RunLinkSection("C:\\App\\app.exe", "", c.showcmd,
                                    "C:\\x\\App");
    EXPECT_TRUE(run.result);
    EXPECT_EQ(c.stored, fake::ShortcutAt("C:\\x\\App.LNK").showCommand);
  }
}

TEST_F(LinkTest, FailingItemEndsTheProcedureQuietlyAndTheRunGoesOn) {
  // A target (and folder) of more than 259 characters: the link object
  // would cut it.
  const std::string longTarget = "C:\\" + std::string(257, 'd') + "\\app.exe";
  struct Case {
    std::string target;  // SRC of the second of three items
    std::string middle;  // DST of the second of three items
  } cases[] = {
      {"C:\\App\\app.exe", "C:\\missing\\B"},
      {"C:\\App\\app.exe", "C:\\x\\bad|name"},
      {"C:\\App\\app.exe", ""},  // ".LNK" alone is no full path
      {longTarget, "C:\\x\\B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.middle);
    SetUp();
    WriteSettings("[L]\nMODE=LINK\nSRC=C:\\App\\app.exe," + c.target +
                  ",C:\\App\\app.exe\nPARAM=\nSHOWCMD=\nDST=C:\\x\\A," +
                  c.middle +
                  ",C:\\x\\C\n"
                  "[T]\nMODE=SWITCH\nPROC=L\n0=FAILED\n1=DONE\n"
                  "[FAILED]\nMODE=MAKEDIR\nDIR=C:\\x\\failed\n"
                  "[DONE]\nMODE=MAKEDIR\nDIR=C:\\x\\done\n");
    UpdaterProc.Set("L,T");
    EXPECT_TRUE(RunUpdater());
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_TRUE(fake::HasShortcut("C:\\x\\A.LNK"));
    EXPECT_FALSE(fake::HasShortcut("C:\\x\\C.LNK"));
    EXPECT_EQ(1, fake::ShortcutSaveCount());
    // The SWITCH saw the result false.
    EXPECT_TRUE(fake::IsDirectory("C:\\x\\failed"));
    EXPECT_FALSE(fake::IsDirectory("C:\\x\\done"));
  }
}

TEST_F(LinkTest, PathMustFitTheWideBufferWhole) {
  // MAX_PATH wide characters, terminator included: 259 characters fit.
  const std::string folder = "C:\\" + std::string(200, 'd');
  fake::AddDirectory(folder);
  const size_t room = 259 - folder.size() - 1 - 4;  // "\" and ".LNK"
  const std::string fits = folder + "\\" + std::string(room, 'n') + ".LNK";
  const std::string over = folder + "\\" + std::string(room + 1, 'n') + ".LNK";
  ASSERT_EQ(259u, fits.size());
  EXPECT_TRUE(CreateShortcut("C:\\App\\app.exe", fits.c_str(), "", 1));
  EXPECT_FALSE(CreateShortcut("C:\\App\\app.exe", over.c_str(), "", 1));
  // Nothing was saved under a cut name either.
  EXPECT_EQ(std::vector<std::string>{fits.substr(folder.size() + 1)},
            fake::List(folder));
}

TEST_F(LinkTest, EmptySourceListAndMissingKeys) {
  SectionRun run = RunLinkSection("", "", "", "C:\\x\\App");
  EXPECT_FALSE(run.goesOn);
  // The message names the kind, not the key.
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_ITEM_COUNT, "S", "LINK")},
            BoxTexts());

  const char* keys[] = {"SRC", "PARAM", "SHOWCMD", "DST"};
  for (size_t missing = 0; missing < 4; ++missing) {
    SCOPED_TRACE(keys[missing]);
    SetUp();
    std::string section = "[S]\nMODE=LINK\n";
    for (size_t k = 0; k < 4; ++k)
      if (k != missing) section += std::string(keys[k]) + "=x\n";
    WriteSettings(section);
    EXPECT_TRUE(LoadLink("S") == 0);
    EXPECT_EQ(
        std::vector<std::string>{Message(MSG_BAD_FORMAT, "S", keys[missing])},
        BoxTexts());
  }
}

}  // namespace
