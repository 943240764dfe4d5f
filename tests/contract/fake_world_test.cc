// The fake world's own side: its control API (queued answers, recorded
// boxes, launches and shortcuts, registry views, scripted failures) and the
// misuse it refuses. What the real layer must match is pinned in
// platform_contract_test.cc, which runs against both.
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "settings/app_paths.h"
#include "tests/fake/fake_world.h"

namespace {

class FakeWorld : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
  void TearDown() override { fake::Reset(); }
};

// ---- Message boxes -------------------------------------------------------

TEST_F(FakeWorld, UnscriptedBoxesAnswerWithTheirDefaultButton) {
  const struct {
    unsigned style;
    int answer;
  } cases[] = {
      {platform::kMbOk | platform::kMbIconError, platform::kIdOk},
      {platform::kMbYesNo | platform::kMbIconQuestion, platform::kIdYes},
      {platform::kMbYesNo | platform::kMbDefButton2, platform::kIdNo},
  };
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(cases[i].answer, platform::ShowMessageBox("t", "c", cases[i].style))
        << i;
  }
  ASSERT_EQ(3u, fake::MessageBoxes().size());
  EXPECT_EQ(platform::kIdNo, fake::MessageBoxes()[2].answer);
  // An OK box has no second button to be the default.
  EXPECT_DEATH(platform::ShowMessageBox("t", "c",
                                        platform::kMbOk | platform::kMbDefButton2),
               "default button it does not have");
}

TEST_F(FakeWorld, ScriptedAnswersAreUsedInOrderAndBoxesRecorded) {
  fake::QueueAnswer(platform::kIdNo);
  fake::QueueAnswer(platform::kIdYes);
  EXPECT_EQ(platform::kIdNo,
            platform::ShowMessageBox("first", "Cap", platform::kMbYesNo));
  EXPECT_EQ(1, fake::PendingAnswers());
  EXPECT_EQ(platform::kIdYes,
            platform::ShowMessageBox("second", "Cap2", platform::kMbYesNo | 0x20));
  EXPECT_EQ(platform::kIdOk, platform::ShowMessageBox("third", "", 0x10));

  const std::vector<fake::MessageBoxCall>& boxes = fake::MessageBoxes();
  ASSERT_EQ(3u, boxes.size());
  EXPECT_EQ("second", boxes[1].text);
  EXPECT_EQ("Cap2", boxes[1].caption);
  EXPECT_EQ(platform::kMbYesNo | 0x20, boxes[1].style);
  EXPECT_EQ(platform::kIdOk, boxes[2].answer);
}

TEST_F(FakeWorld, AnswerWithoutThatButtonStopsTheRun) {
  EXPECT_DEATH(
      {
        fake::QueueAnswer(platform::kIdYes);
        platform::ShowMessageBox("t", "c", platform::kMbOk);
      },
      "without that button");
}

// ---- Program starts ------------------------------------------------------

platform::LaunchResult Start(const std::string& commandLine,
                             const char* directory = "C:\\") {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  return platform::Launch(&line[0], directory, platform::kWaitForExit, NULL);
}

TEST_F(FakeWorld, UnquotedPathWithBlanksStartsThePlantedProgram) {
  fake::AddFile("C:\\Program Files\\Tool\\setup.exe");
  EXPECT_EQ(platform::kLaunchDone,
            Start("C:\\Program Files\\Tool\\setup.exe /s "));
  fake::AddFile("C:\\Program.exe");
  EXPECT_EQ(platform::kLaunchDone,
            Start("C:\\Program Files\\Tool\\setup.exe /s "));
  EXPECT_EQ(platform::kLaunchDone,
            Start("\"C:\\Program Files\\Tool\\setup.exe\" /s"));

  const std::vector<fake::LaunchCall>& calls = fake::Launches();
  ASSERT_EQ(3u, calls.size());
  EXPECT_EQ("C:\\Program Files\\Tool\\setup.exe", calls[0].program);
  EXPECT_EQ("C:\\Program Files\\Tool\\setup.exe /s ", calls[0].commandLine);
  EXPECT_EQ("C:\\", calls[0].directory);
  EXPECT_EQ(platform::kWaitForExit, calls[0].wait);
  EXPECT_EQ("C:\\Program.exe", calls[1].program);
  EXPECT_EQ("C:\\Program Files\\Tool\\setup.exe", calls[2].program);
}

TEST_F(FakeWorld, ProgramNameWithoutExtensionGetsExe) {
  fake::AddFile("C:\\Tools\\run.exe");
  fake::AddFile("C:\\Tools\\run");
  EXPECT_EQ(platform::kLaunchDone, Start("C:\\Tools\\run -x"));
  EXPECT_EQ("C:\\Tools\\run.exe", fake::Launches().back().program);
  fake::AddDirectory("C:\\Tools\\dir.exe");
  EXPECT_EQ(platform::kLaunchNotStarted, Start("C:\\Tools\\dir.exe"));
  EXPECT_EQ("", fake::Launches().back().program);
}

TEST_F(FakeWorld, ScriptedResultsAndActionsApplyToStartedProgramsOnly) {
  fake::AddFile("C:\\A\\a.exe");
  int runs = 0;
  fake::OnLaunch("c:\\a\\A.EXE", [&runs] {
    ++runs;
    fake::AddFile("C:\\A\\done.txt");
  });
  fake::SetLaunchResult("C:\\A\\a.exe", platform::kLaunchWaitFailed);
  EXPECT_EQ(platform::kLaunchWaitFailed, Start("C:\\A\\a.exe "));
  EXPECT_EQ(1, runs);
  EXPECT_TRUE(fake::Exists("C:\\A\\done.txt"));

  // Not started: a missing working directory, or a scripted failed start.
  EXPECT_EQ(platform::kLaunchNotStarted, Start("C:\\A\\a.exe ", "C:\\Nowhere"));
  fake::SetLaunchResult("C:\\A\\a.exe", platform::kLaunchNotStarted);
  EXPECT_EQ(platform::kLaunchNotStarted, Start("C:\\A\\a.exe "));
  EXPECT_EQ(1, runs);
  EXPECT_EQ(3u, fake::Launches().size());
}

// ---- Shortcuts -----------------------------------------------------------

TEST_F(FakeWorld, ShortcutsNeedComAndRecordTheirFields) {
  platform::ShortcutFields fields = {"C:\\App\\app.exe", "C:\\App", "-q", 0};
  const char link[] = "C:\\Users\\Public\\Desktop\\App.LNK";
  EXPECT_FALSE(platform::SaveShortcut(fields, link));  // COM not initialised

  platform::ComInitialize();
  ASSERT_TRUE(platform::SaveShortcut(fields, link));
  EXPECT_TRUE(fake::Exists(link));
  ASSERT_TRUE(fake::HasShortcut("c:\\users\\public\\desktop\\app.lnk"));
  fake::Shortcut saved = fake::ShortcutAt(link);
  EXPECT_EQ("C:\\App\\app.exe", saved.target);
  EXPECT_EQ("C:\\App", saved.workingDirectory);
  EXPECT_EQ("-q", saved.arguments);
  EXPECT_EQ(platform::kSwShowNormal, saved.showCommand);  // none set

  fields.showCommand = platform::kSwShowMinNoActive;
  ASSERT_TRUE(platform::SaveShortcut(fields, link));
  EXPECT_EQ(platform::kSwShowMinNoActive, fake::ShortcutAt(link).showCommand);
  EXPECT_EQ(2, fake::ShortcutSaveCount());

  EXPECT_FALSE(platform::SaveShortcut(fields, "C:\\Missing\\App.LNK"));
  ASSERT_TRUE(platform::RemoveFile(link));
  EXPECT_FALSE(fake::HasShortcut(link));
  platform::ComUninitialize();
  EXPECT_EQ(0, fake::ComDepth());
}

// ---- Registry views ------------------------------------------------------

TEST_F(FakeWorld, RegistryViewsAreSeparateAndHandlesCounted) {
  const std::string key = std::string(kAppPathsKey) + "x.exe";
  fake::SetRegistryString(fake::kView64, key, "", "C:\\x\\x.exe");
  platform::RegistryHandle handle = NULL;
  EXPECT_FALSE(platform::RegistryOpen(platform::kLocalMachine, key.c_str(),
                                      platform::kKeyRead, &handle));
  ASSERT_TRUE(platform::RegistryOpen(
      platform::kLocalMachine, "SOFTWARE\\microsoft\\windows\\currentversion",
      platform::kKeyRead | platform::kKeyWow64_64Key, &handle));
  EXPECT_EQ(1, fake::OpenRegistryHandleCount());
  platform::RegistryClose(handle);
  EXPECT_EQ(0, fake::OpenRegistryHandleCount());
  EXPECT_DEATH(platform::RegistryClose(handle), "not open");
}

// ---- Scripted failures and world state ---------------------------------

TEST_F(FakeWorld, ScriptedFailuresOfFoldersAndFileTimes) {
  char buffer[platform::kMaxPath] = "unchanged";
  fake::FailSpecialFolder(platform::kCsidlCommonDesktopDirectory);
  EXPECT_FALSE(platform::SpecialFolderPath(
      platform::kCsidlCommonDesktopDirectory, buffer));
  EXPECT_STREQ("unchanged", buffer);
  fake::SetSpecialFolder(platform::kCsidlCommonDesktopDirectory, "D:\\Desk");
  ASSERT_TRUE(platform::SpecialFolderPath(
      platform::kCsidlCommonDesktopDirectory, buffer));
  EXPECT_STREQ("D:\\Desk", buffer);

  fake::AddFile("C:\\d\\f.txt");
  fake::SetFileTimeUnreadable("C:\\d\\f.txt", true);
  platform::FileDate date;
  EXPECT_EQ(platform::kFileDateNotRead, platform::LastWriteDate("C:\\d\\f.txt", &date));

  fake::SetPlatformId(platform::kPlatformWin32Windows);
  EXPECT_EQ(platform::kPlatformWin32Windows, platform::PlatformId());
}

TEST_F(FakeWorld, ResetGivesTheDocumentedWorld) {
  char path[platform::kMaxPath];
  ASSERT_EQ(20u, platform::ModuleFileName(path, sizeof(path)));
  EXPECT_STREQ("C:\\Tools\\updater.exe", path);
  EXPECT_TRUE(fake::Exists(path));
  const int folders[] = {platform::kCsidlPrograms,
                         platform::kCsidlDesktopDirectory,
                         platform::kCsidlCommonPrograms,
                         platform::kCsidlCommonDesktopDirectory};
  for (size_t i = 0; i < 4; ++i) {
    ASSERT_TRUE(platform::SpecialFolderPath(folders[i], path));
    EXPECT_TRUE(fake::IsDirectory(path)) << path;
  }
  EXPECT_FALSE(fake::DllSearchHardened());
  EXPECT_EQ(2024, fake::DateOf("C:\\Tools\\updater.exe").year);
}

TEST_F(FakeWorld, PathsFoldDotsAndIgnoreCase) {
  fake::AddFile("C:\\Dir\\Sub\\File.TXT", "x");
  const char* same[] = {"c:\\dir\\sub\\file.txt", "C:\\Dir\\.\\Sub\\..\\Sub\\File.TXT",
                        "C:/Dir/Sub/File.TXT", "C:\\Dir\\Sub\\File.TXT."};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ("x", fake::Contents(same[i])) << same[i];
  }
  EXPECT_FALSE(fake::Exists("Dir\\Sub\\File.TXT"));  // relative names
  std::vector<std::string> names = fake::List("C:\\DIR");
  ASSERT_EQ(1u, names.size());
  EXPECT_EQ("Sub", names[0]);
  fake::RemovePath("C:\\dir");
  EXPECT_FALSE(fake::Exists("C:\\Dir\\Sub\\File.TXT"));
}

TEST_F(FakeWorld, SectionHeaderEndsAtTheFirstBracket) {
  fake::AddFile("C:\\s.ini", "[a]b]\r\nk=1\r\n");
  char buffer[16];
  EXPECT_EQ(1u, platform::ProfileString("a", "k", "d", buffer, 16, "C:\\s.ini"));
  EXPECT_STREQ("1", buffer);
  // A bare file name is looked up in the Windows directory.
  fake::AddFile("C:\\Windows\\w.ini", "[s]\r\nk=w\r\n");
  EXPECT_EQ(1u, platform::ProfileString("s", "k", "d", buffer, 16, "w.ini"));
  EXPECT_STREQ("w", buffer);
}

}  // namespace
