// Whole runs with Japanese file, folder, symbol and procedure names (Shift-
// JIS bytes whose second byte is "\", "}" or a capital letter), and with
// system paths that hold "=" or dots.
#include <string>
#include <vector>

#include "app/startup.h"
#include "platform/program_main.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

#define SO "\x83\x5C"                     // katakana so: second byte "\"
#define HYO "\x95\x5C"                    // "table": second byte "\"
#define KA "\x83\x4A"                     // katakana ka: second byte "J"
#define NI "\x83\x6A"                     // katakana ni: second byte "j"
#define APURI "\x83\x41\x83\x76\x83\x8A"  // "apuri": starts with "A"
// "koushin sofuto": an updater's name with katakana so in it.
#define UPDATER_NAME "\x8D\x58\x90\x56" SO "\x83\x74\x83\x67"

class JapaneseNamesTest : public UpdaterTest {
 protected:
  // Runs the updater saved as `module` with `settings` written to
  // `settingsPath` (line feeds become CR LF); the boxes it showed.
  std::vector<std::string> Run(const std::string& module,
                               const std::string& settingsPath,
                               const std::string& settings,
                               int exitCode = 0) {
    std::string crlf;
    for (char c : settings) crlf += c == '\n' ? "\r\n" : std::string(1, c);
    fake::SetModulePath(module);
    fake::AddFile(settingsPath, crlf);
    EXPECT_EQ(exitCode, UpdaterMain(""));
    return BoxTexts();
  }

  // A MSGBOX section named `name` that shows `text`.
  static std::string Box(const std::string& name, const std::string& text) {
    return "[" + name +
           "]\nMODE=MSGBOX\nFLAG=\nTYPE=INFORMATION\nTEXT=" + text +
           "\nISABORT=0,0\n";
  }
};

TEST_F(JapaneseNamesTest, SrcAndFoldedPathsOfAnUpdaterWithAJapaneseName) {
  fake::AddFile("C:\\Tools\\data.txt", "new");
  const std::vector<std::string> boxes = Run(
      "C:\\Tools\\" UPDATER_NAME ".exe", "C:\\Tools\\" UPDATER_NAME ".ini",
      "[UPDATER]\nNAME=x\nPROC=C,M\n"
      "[DEFINE]\n<App>=<Src>\\" SO
      "\n"
      "[C]\nMODE=COPY\nFROM=<Src>\\data.txt\nTO=C:\\out.txt\n"
      "[M]\nMODE=MSGBOX\nFLAG=\nTYPE=INFORMATION\n"
      "TEXT=<Src>|<App>\\..\\other.txt|<Src>\\" HYO "\\..\\x\nISABORT=0,0\n");
  EXPECT_EQ(std::vector<std::string>{"C:\\Tools|C:\\Tools\\other.txt|"
                                     "C:\\Tools\\x"},
            boxes);
  EXPECT_EQ("new", fake::Contents("C:\\out.txt"));
}

TEST_F(JapaneseNamesTest, NamesDifferingInASecondByteStayApart) {
  // KA (OSVER) is true, NI (EXIST of a missing file) is false.
  const std::vector<std::string> boxes =
      Run("C:\\Tools\\updater.exe", kSettingsPath,
          "[UPDATER]\nNAME=x\nPROC=" KA "," NI
          ",S,F\n"
          "[DEFINE]\n<" KA ">=first\n<" NI
          ">=second\n"
          "[" KA
          "]\nMODE=OSVER\n"
          "[" NI
          "]\nMODE=EXIST\nFILE=C:\\missing.txt\n"
          "[S]\nMODE=SWITCH\nPROC=" NI
          "\n1=Y\n0=N\n"
          "[F]\nMODE=MSGBOX\nFLAG=" NI
          ",1\nTYPE=INFORMATION\nTEXT=flag\n"
          "ISABORT=0,0\n" +
              Box("Y", "Y <" KA ">") + Box("N", "N <" NI ">"));
  EXPECT_EQ(std::vector<std::string>{"N second"}, boxes);
}

TEST_F(JapaneseNamesTest, ProgramsShortcutsAndWildcardsInJapaneseFolders) {
  // The folder ends at the backslash before the file name, not at the
  // second byte of katakana so.
  const std::string program = "C:\\" APURI "\\" SO ".exe";
  fake::AddFile(program);
  fake::AddFile("C:\\" HYO "\\a.txt");
  fake::AddDirectory("C:\\x");
  const std::vector<std::string> boxes =
      Run("C:\\Tools\\updater.exe", kSettingsPath,
          "[UPDATER]\nNAME=x\nPROC=L,R,T\n"
          "[L]\nMODE=LINK\nSRC=" +
              program +
              "\nPARAM=\nSHOWCMD=1\nDST=C:\\x\\p\n"
              "[R]\nMODE=LAUNCH\nFILE=" +
              program +
              "\nPARAM=-q\nISWAIT=1\n"
              "[T]\nMODE=ATTR\nFILE=C:\\" HYO "\\*.*\nARG=0x1\n");
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ("C:\\" APURI, fake::ShortcutAt("C:\\x\\p.LNK").workingDirectory);
  ASSERT_EQ(1u, fake::Launches().size());
  EXPECT_EQ("C:\\" APURI, fake::Launches()[0].directory);
  EXPECT_EQ(0x1u, fake::Attributes("C:\\" HYO "\\a.txt"));
}

TEST_F(JapaneseNamesTest, SystemPathsArriveWhole) {
  struct Case {
    const char* module;
    const char* settingsPath;
    const char* define;
    const char* text;
    const char* shown;
  } cases[] = {
      // "=" in a built-in's value is the system's, not a value's end; a
      // [DEFINE] line keeps ending its value at a second "=".
      {"C:\\eq=folder\\updater.exe", "C:\\eq=folder\\updater.ini",
       "<App>=<Src>\\app\n<Two>=a=b\n", "<Src>|<App>|<Two>",
       "C:\\eq=folder|C:\\eq=folder\\app|a"},
      // Only the file name's dot starts the extension.
      {"C:\\v1.2\\tools\\upd", "C:\\v1.2\\tools\\upd.ini", "", "<Src>",
       "C:\\v1.2\\tools"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.module);
    SetUp();
    const std::vector<std::string> boxes =
        Run(c.module, c.settingsPath,
            std::string("[UPDATER]\nNAME=x\nPROC=M\n[DEFINE]\n") + c.define +
                "[M]\nMODE=MSGBOX\nFLAG=\nTYPE=INFORMATION\nTEXT=" + c.text +
                "\nISABORT=0,0\n");
    EXPECT_EQ(std::vector<std::string>{c.shown}, boxes);
  }
}

TEST_F(JapaneseNamesTest, EmptyProcedureNameIsRefusedBeforeAnythingRuns) {
  // Lines before the first header would make a procedure of the empty name
  // wherever the profile functions hand them out for it.
  const std::vector<std::string> boxes =
      Run("C:\\Tools\\updater.exe", kSettingsPath,
          "MODE=MSGBOX\nFLAG=\nTYPE=INFORMATION\nTEXT=headless\nISABORT=0,0\n"
          "[UPDATER]\nNAME=x\nPROC=A,,A\n" + Box("A", "A"),
          2);  // a list that could not be loaded
  EXPECT_EQ(std::vector<std::string>{Message(MSG_BAD_FORMAT, "", "MODE")},
            boxes);
}

}  // namespace

// A settings file saved as UTF-8 with a byte-order mark runs as its
// Shift-JIS twin; a name with a character code page 932 lacks is refused,
// never changed into another name.
TEST_F(JapaneseNamesTest, Utf8FileWithAMarkRunsAsItsShiftJisTwin) {
  struct Case {
    const char* destination;  // UTF-8
    const char* copied;       // code page 932; null: nothing is copied
  };
  const Case cases[] = {
      {"C:\\\xE3\x82\xBD\\\xE8\xA1\xA8.txt", "C:\\" SO "\\" HYO ".txt"},
      {"C:\\\xE3\x82\xBD\\\xED\x95\x9C.txt", NULL},  // Korean
      {"C:\\\xE3\x82\xBD\\\xC2\xA5.txt", NULL},      // yen sign, not "\"
  };
  for (const Case& c : cases) {
    fake::Reset();
    fake::AddDirectory("C:\\" SO);
    fake::AddFile("C:\\Tools\\data.txt", "new");
    const std::vector<std::string> boxes =
        Run("C:\\Tools\\updater.exe", kSettingsPath,
            std::string("\xEF\xBB\xBF[UPDATER]\nNAME=x\nPROC=C\n"
                        "[C]\nMODE=COPY\nFROM=<Src>\\data.txt\nTO=") +
                c.destination + "\n",
            c.copied ? 0 : 3);  // 3: a procedure failed
    if (c.copied) {
      EXPECT_TRUE(boxes.empty()) << c.destination;
      EXPECT_EQ("new", fake::Contents(c.copied)) << c.destination;
    } else {
      EXPECT_EQ(1u, boxes.size()) << c.destination;
      EXPECT_TRUE(fake::List("C:\\" SO).empty()) << c.destination;
    }
  }
}
