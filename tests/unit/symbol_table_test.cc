#include "settings/symbol_table.h"

#include <string>

#include <gtest/gtest.h>

#include "app/process_state.h"
#include "settings/messages.h"
#include "settings/param_reader.h"
#include "settings/param_reader.h"
#include "settings/settings_reader.h"
#include "tests/fake/fake_world.h"

namespace {

const char kIni[] = "C:\\Tools\\updater.ini";

class SymbolTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    ResetProcessState();
    SettingsPath.Set(kIni);
    AppCaption.Set("Caption");
  }

  // The order start-up fills the table in: [DEFINE], two built-ins, one
  // expansion over everything.
  static void StartUp(const std::string& defineLines,
                      const std::string& otherSections) {
    fake::AddFile(kIni, "[DEFINE]\r\n" + defineLines + otherSections);
    Symbols.count = ReadSettingSection(kIni, "DEFINE", Symbols.text);
    DefineSymbol("<Win>", TextString("C:\\WINNT"));
    DefineSymbol("<Src>", TextString("D:\\setup"));
    ExpandSymbolTable();
  }

  static std::string Lookup(const char* name) {
    TextString value("(none)");
    LookupSymbol(name, value);
    return value.Text();
  }
};

TEST_F(SymbolTableTest, DefineAppendsThenReplacesFirstOfName) {
  TextString missing("kept");
  EXPECT_FALSE(LookupSymbol("<Win>", missing));
  EXPECT_STREQ("kept", missing.Text());

  DefineSymbol("<Win>", TextString("C:\\WINNT"));
  EXPECT_STREQ("<Win>=C:\\WINNT", Symbols.text.Text());
  DefineSymbol("<Src>", TextString("D:\\setup"));
  DefineSymbol("<SRC>", TextString("E:\\other"));  // same name, other case
  EXPECT_STREQ("<Win>=C:\\WINNT\n<Src>=E:\\other", Symbols.text.Text());
  EXPECT_EQ(2, Symbols.count);

  DefineSymbol("<Empty>", TextString());
  EXPECT_STREQ("<Win>=C:\\WINNT\n<Src>=E:\\other\n<Empty>=",
               Symbols.text.Text());
  EXPECT_EQ(3, Symbols.count);

  TextString value("before");
  EXPECT_TRUE(LookupSymbol("<empty>", value));
  EXPECT_STREQ("", value.Text());
  EXPECT_EQ("C:\\WINNT", Lookup("<win>"));
  EXPECT_EQ("(none)", Lookup("Win"));
}

TEST_F(SymbolTableTest, OnlyCountedEntriesAreSeen) {
  Symbols.text.Set("<A>=1\n<B>=2");
  Symbols.count = 1;
  EXPECT_EQ("1", Lookup("<A>"));
  EXPECT_EQ("(none)", Lookup("<B>"));
  // An uncounted entry is not replaced either: the definition is new.
  DefineSymbol("<B>", TextString("3"));
  EXPECT_EQ(2, Symbols.count);
  EXPECT_EQ("2", Lookup("<B>"));

  // With no counted entry the new one becomes the whole text.
  Symbols.text.Set("<A>=1");
  Symbols.count = 0;
  DefineSymbol("<B>", TextString("3"));
  EXPECT_STREQ("<B>=3", Symbols.text.Text());
  EXPECT_EQ(1, Symbols.count);
}

TEST_F(SymbolTableTest, DefineLinesAsStartUpStoresThem) {
  StartUp(
      "<Tools>=<Src>\\tools\r\n"
      "<src>=X\r\n"            // cannot override a built-in
      "<Win>\r\n"              // nor can a bare name
      "Bare=C:\\x\r\n"         // no brackets: no reference reaches it
      "<Dir> = C:\\x=y\r\n"    // value ends before the second "="
      "<Empty>\r\n"
      ";<Hidden>=1\r\n"
      "<Tools>=second\r\n",    // duplicates stay; the first one counts
      "");
  EXPECT_EQ(7, Symbols.count);
  EXPECT_EQ("D:\\setup\\tools", Lookup("<Tools>"));
  EXPECT_EQ("D:\\setup", Lookup("<Src>"));
  EXPECT_EQ("C:\\WINNT", Lookup("<Win>"));
  EXPECT_EQ("C:\\x", Lookup("Bare"));
  EXPECT_EQ("(none)", Lookup("<Bare>"));
  EXPECT_EQ("C:\\x", Lookup("<Dir>"));
  EXPECT_EQ("", Lookup("<Empty>"));
  EXPECT_EQ("(none)", Lookup("<Hidden>"));
  // The built-ins took the places of the [DEFINE] lines of their names.
  EXPECT_STREQ(
      "<Tools>=D:\\setup\\tools\n<src>=D:\\setup\n<Win>=C:\\WINNT\n"
      "Bare=C:\\x\n<Dir>=C:\\x=y\n<Empty>\n<Tools>=second",
      Symbols.text.Text());
}

TEST_F(SymbolTableTest, ValuesAreExpandedOnceInTableOrder) {
  const std::string params = "[P]\r\nV=<A>\\z\r\n";
  struct Case {
    const char* define;
    const char* a;
    const char* b;
    const char* param;  // <A>\z read through ReadParam
  } cases[] = {
      // <B> was unexpanded when <A> took it in, and <A>'s single turn was
      // spent on <B>: "<Src>" survives into <A> and into the parameter.
      {"<A>=<B>\\x\r\n<B>=<Src>\\y\r\n", "<Src>\\y\\x", "D:\\setup\\y",
       "<Src>\\y\\x\\z"},
      {"<B>=<Src>\\y\r\n<A>=<B>\\x\r\n", "D:\\setup\\y\\x", "D:\\setup\\y",
       "D:\\setup\\y\\x\\z"},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    SetUp();
    StartUp(cases[i].define, params);
    EXPECT_EQ(cases[i].a, Lookup("<A>")) << i;
    EXPECT_EQ(cases[i].b, Lookup("<B>")) << i;
    TextString value;
    EXPECT_TRUE(ReadParam("P", "V", value)) << i;
    EXPECT_STREQ(cases[i].param, value.Text()) << i;
  }
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

}  // namespace
