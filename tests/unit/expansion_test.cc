#include "settings/expansion.h"

#include <string>

#include <gtest/gtest.h>

#include "settings/app_paths.h"
#include "app/process_state.h"
#include "settings/messages.h"
#include "settings/param_reader.h"
#include "settings/settings_reader.h"
#include "settings/symbol_table.h"
#include "tests/fake/fake_world.h"

namespace {

const char kIni[] = "C:\\Tools\\updater.ini";
const std::string kAppPaths = kAppPathsKey;

class ExpansionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    ResetProcessState();
  }

  // Symbols as start-up leaves them: [DEFINE] lines, <Win> and <Src>,
  // then one expansion of the table.
  static void StartUp(const std::string& defineLines) {
    fake::AddFile(kIni, "[DEFINE]\r\n" + defineLines);
    const TextString builtins[kBuiltinSymbolCount] = {
        TextString("C:\\WINNT"), TextString(), TextString("D:\\setup"),
        TextString(), TextString()};
    ASSERT_TRUE(LoadSymbolTable(kIni, builtins));
  }

  static void AddApp(const std::string& program, const std::string& path,
                     const std::string& dirs) {
    fake::SetRegistryString(fake::kView32, kAppPaths + program, "", path);
    fake::SetRegistryString(fake::kView32, kAppPaths + program, "PATH", dirs);
  }

  struct Case {
    const char* written;
    const char* expanded;
  };

  template <size_t N>
  static void ExpectAll(const Case (&cases)[N],
                        ExpansionResult (*pass)(TextString*)) {
    for (size_t i = 0; i < N; ++i) {
      TextString text(cases[i].written);
      const ExpansionResult result = pass(&text);
      EXPECT_STREQ(cases[i].expanded, text.Text()) << cases[i].written;
      EXPECT_EQ(std::string(cases[i].written) != cases[i].expanded
                    ? kExpansionChanged
                    : kExpansionUnchanged,
                result)
          << cases[i].written;
    }
  }
};

TEST_F(ExpansionTest, WorkedExamples) {
  StartUp("<Tools>=<Src>\\tools\r\n");
  AddApp("editor.exe", "C:\\Program Files\\Editor\\editor.exe",
         "C:\\Program Files\\Editor;");
  const Case cases[] = {
      {"<Src>\\data\\new.dat", "D:\\setup\\data\\new.dat"},
      {"<src>\\x.txt", "D:\\setup\\x.txt"},
      {"<Tools>\\..\\readme.txt", "D:\\setup\\readme.txt"},
      {"<Win>\\..\\Temp", "C:\\Temp"},
      {"<Nothing>\\x.txt", "<Nothing>\\x.txt"},
      {"{?App\\editor.exe}", "C:\\Program Files\\Editor\\editor.exe"},
      {"{?AppPath\\editor.exe}\\plugins", "C:\\Program Files\\Editor\\plugins"},
      {"{?App\\missing.exe}", "{?App\\missing.exe}"},
      {"{00021401-0000}", "{00021401-0000}"},
      {"C:\\a\\b\\..\\..\\c", "C:\\c"},
      {"C:\\a\\..\\b\\..\\c", "C:\\b\\..\\c"},
      {"C:\\..\\x", "C:\\..\\x"},
  };
  ExpectAll(cases, ExpandValue);
}

TEST_F(ExpansionTest, SymbolTurnsAreCountedBeforeThePass) {
  StartUp(
      "<P>=<Q>\r\n"  // one turn in the table: stored as <R>
      "<Q>=<R>\r\n"
      "<R>=end\r\n"
      "<Empty>\r\n"
      "<Gt>=a>b\r\n");
  const Case cases[] = {
      // One group, one turn: what the inserted value brings stays.
      {"<P>", "<R>"},
      // Two turns on position 0: <P> gives <R>, then <R> gives end.
      {"<P><P>", "end<P>"},
      {"<Nothing><Src>", "<Nothing>D:\\setup"},
      {"<Empty>\\x", "\\x"},
      // A lone ">" first drives the depth below zero.
      {"5 > 3 <Src>", "5 > 3 <Src>"},
      {"<Src> > 3 <Src>", "D:\\setup > 3 <Src>"},
      // Nested brackets are one name, looked up whole.
      {"<a<Src>>", "<a<Src>>"},
      {"<Src", "<Src"},
      // An inserted lone ">" hides the groups after it.
      {"<Gt><Src>", "a>b<Src>"},
      {"", ""},
  };
  ExpectAll(cases, ExpandSymbols);
}

TEST_F(ExpansionTest, AppPathGroups) {
  AddApp("editor.exe", "C:\\Program Files\\Editor\\editor.exe",
         "C:\\Program Files\\Editor;");
  AddApp("tool.exe", "", "C:\\Tool\\;");
  AddApp("lib.exe", "C:\\Lib\\lib.exe", "C:\\Lib\\;;\\\\");
  AddApp("nest.exe", "{?App\\editor.exe}<Src>", "C:\\Nest");
  DefineSymbol("<Src>", TextString("D:\\setup"));
  const Case cases[] = {
      {"{?APP\\EDITOR.EXE}", "C:\\Program Files\\Editor\\editor.exe"},
      {"{?apppath\\editor.exe}", "C:\\Program Files\\Editor"},
      // Backslashes go first, then semicolons: one before a ";" stays.
      {"{?AppPath\\tool.exe}", "C:\\Tool\\"},
      {"{?AppPath\\lib.exe}", "C:\\Lib\\"},
      // A present but empty default replaces the group by nothing.
      {"{?App\\tool.exe}\\x", "\\x"},
      {"{{?App\\editor.exe}}", "C:\\Program Files\\Editor\\editor.exe"},
      {"{?App\\editor.exe\\more}", "C:\\Program Files\\Editor\\editor.exe"},
      {"{?App\\missing.exe}{?App\\tool.exe}", "{?App\\missing.exe}"},
      {"{?Apps\\editor.exe}", "{?Apps\\editor.exe}"},
      {"{?App}", "{?App}"},
      // The pass goes on after an inserted value: a group in it stays, with
      // turns to spare too; no symbols looked for here.
      {"{?App\\nest.exe}", "{?App\\editor.exe}<Src>"},
      {"{?App\\nest.exe}{x}", "{?App\\editor.exe}<Src>{x}"},
  };
  ExpectAll(cases, ExpandAppPaths);
}

// Shift-JIS: katakana so and "table" end in 0x5C ("\\"), katakana ma in
// 0x7D ("}"), "book" in 0x7B ("{").
#define SO "\x83\x5C"
#define HYO "\x95\x5C"
#define MA "\x83\x7D"
#define HON "\x96\x7B"

TEST_F(ExpansionTest, DoubleByteTextsAndBracedValues) {
  StartUp("<App>=<Src>\\" SO "\r\n");
  AddApp("editor.exe", "C:\\Editor\\editor.exe", "C:\\" SO ";");
  AddApp("guid.exe", "C:\\Data\\{3F2504E0-4F89}\\guid.exe", "x");
  AddApp(MA ".exe", "C:\\" HON "\\" MA ".exe", "x");
  const Case cases[] = {
      {"<App>\\..\\other.txt", "D:\\setup\\other.txt"},
      {"<Src>\\" HYO "\\..\\x", "D:\\setup\\x"},
      {"C:\\" SO "\\" HYO "\\..\\..\\x", "C:\\x"},
      {MA " {?App\\editor.exe}", MA " C:\\Editor\\editor.exe"},
      {"{?App\\" MA ".exe}\\..", "C:\\" HON},
      {"{?AppPath\\editor.exe}", "C:\\" SO},
      // Braces in an inserted value hide no later group.
      {"{?App\\guid.exe};{?App\\editor.exe}",
       "C:\\Data\\{3F2504E0-4F89}\\guid.exe;C:\\Editor\\editor.exe"},
  };
  ExpectAll(cases, ExpandValue);
}

TEST_F(ExpansionTest, ParentStepsFold) {
  const Case cases[] = {
      {"C:\\a\\..\\b\\..\\c", "C:\\b\\..\\c"},
      {"C:\\a\\b\\..\\..\\c", "C:\\c"},
      {"C:\\a\\b\\..\\..\\..\\c", "C:\\..\\c"},
      {"C:\\a\\b\\c\\..\\d\\..\\e", "C:\\a\\b\\e"},
      {"C:\\..\\x", "C:\\..\\x"},
      {"\\a\\..\\b", "\\b"},
      {"a\\..", "a\\.."},
      {"C:\\a\\..", "C:"},
      {"C:\\a\\...\\b", "C:\\a\\...\\b"},
      {"C:\\a\\..b", "C:\\a\\..b"},
      {"C:/a/../b", "C:/a/../b"},
      {"C:\\a\\b\\..", "C:\\a"},
      {"", ""},
  };
  ExpectAll(cases, FoldParentDirs);
}

TEST_F(ExpansionTest, PassesRunInOrderOnEachOthersResult) {
  StartUp("<Ed>={?App\\editor.exe}\r\n<Up>=..\r\n");
  AddApp("editor.exe", "C:\\Program Files\\Editor\\editor.exe", "x");
  AddApp("src.exe", "<Src>\\src.exe", "x");
  const Case cases[] = {
      // The group was unresolved when the table was expanded; the App
      // Paths pass after the symbol pass resolves it, then it is folded.
      {"<Ed>\\..\\other.exe", "C:\\Program Files\\Editor\\other.exe"},
      // Symbols may carry parent steps.
      {"C:\\a\\<Up>\\b", "C:\\b"},
      // App Paths values are folded but never searched for symbols.
      {"{?App\\editor.exe}\\..", "C:\\Program Files\\Editor"},
      {"{?App\\src.exe}", "<Src>\\src.exe"},
  };
  ExpectAll(cases, ExpandValue);
}

TEST_F(ExpansionTest, GrowthStopsAtTheLengthLimit) {
  // Each turn can add at most one symbol value to the text. In the table
  // <D> takes 10 turns of +9 references each: 100 references, 300 bytes.
  // Each replacement adds 297 bytes; the 27th would pass the limit, so it
  // and every later turn leave their reference as written.
  StartUp("<D>=<D><D><D><D><D><D><D><D><D><D>\r\n");
  std::string written;
  for (int i = 0; i < 86; ++i) written += "<D>";
  TextString text(written.c_str());
  EXPECT_EQ(kExpansionNotWhole, ExpandValue(&text));
  EXPECT_EQ(258 + 26 * 297, text.Length());
  EXPECT_LE(text.Length(), kMaxExpandedLength);
}

}  // namespace
