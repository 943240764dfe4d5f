#include "settings/symbol_table.h"

#include <string>

#include <gtest/gtest.h>

#include "app/process_state.h"
#include "settings/messages.h"
#include "settings/param_reader.h"
#include "settings/settings_reader.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

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

  // The table as start-up fills it: [DEFINE], the built-ins, one
  // expansion over everything.
  static void StartUp(const std::string& defineLines,
                      const std::string& otherSections) {
    fake::AddFile(kIni, "[DEFINE]\r\n" + defineLines + otherSections);
    const TextString builtins[kBuiltinSymbolCount] = {
        TextString("C:\\WINNT"), TextString("C:\\WINNT\\system32"),
        TextString("D:\\setup"), TextString("C:\\Desktop"),
        TextString("C:\\Programs")};
    ASSERT_TRUE(LoadSymbolTable(kIni, builtins));
  }

  static std::string Lookup(const char* name) {
    TextString value("(none)");
    LookupSymbol(name, &value);
    return value.Text();
  }
};

TEST_F(SymbolTableTest, DefineAppendsThenReplacesFirstOfName) {
  TextString missing("kept");
  EXPECT_FALSE(LookupSymbol("<Win>", &missing));
  EXPECT_STREQ("kept", missing.Text());

  DefineSymbol("<Win>", TextString("C:\\WINNT"));
  DefineSymbol("<Src>", TextString("D:\\setup"));
  DefineSymbol("<SRC>", TextString("E:\\other"));  // same name, other case
  DefineSymbol("<Empty>", TextString());
  EXPECT_EQ(3, SymbolCount());

  TextString value("before");
  EXPECT_TRUE(LookupSymbol("<empty>", &value));
  EXPECT_STREQ("", value.Text());
  EXPECT_EQ("C:\\WINNT", Lookup("<win>"));
  EXPECT_EQ("E:\\other", Lookup("<Src>"));
  EXPECT_EQ("(none)", Lookup("Win"));
  // The second byte of a double-byte character is no letter to fold: ソ and
  // its neighbour with a lower-case second byte are two names.
  DefineSymbol("<\x83\x5C>", TextString("so"));
  DefineSymbol("<\x83\x7C>", TextString("other"));
  EXPECT_EQ("so", Lookup("<\x83\x5C>"));
  EXPECT_EQ(5, SymbolCount());
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
  // Seven lines, and the three built-ins no line names.
  EXPECT_EQ(10, SymbolCount());
  EXPECT_EQ("D:\\setup\\tools", Lookup("<Tools>"));
  EXPECT_EQ("D:\\setup", Lookup("<Src>"));
  EXPECT_EQ("C:\\WINNT", Lookup("<Win>"));
  EXPECT_EQ("C:\\x", Lookup("Bare"));
  EXPECT_EQ("(none)", Lookup("<Bare>"));
  EXPECT_EQ("C:\\x", Lookup("<Dir>"));
  EXPECT_EQ("", Lookup("<Empty>"));
  EXPECT_EQ("(none)", Lookup("<Hidden>"));
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
    EXPECT_TRUE(ReadParam("P", "V", &value)) << i;
    EXPECT_STREQ(cases[i].param, value.Text()) << i;
  }
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

// A value that cannot be expanded whole, written directly or through a
// symbol, is refused where it is used; a large [DEFINE] is expanded whole.
TEST_F(SymbolTableTest, ValuesPastTheLimitsAreRefusedWhereUsed) {
  const std::string b(5000, 'b');
  std::string chain = "<S0>=0123456789\r\n";
  for (int i = 1; i <= 39; ++i) {
    chain += "<S" + std::to_string(i) + ">=<S" + std::to_string(i - 1) +
             "><S" + std::to_string(i - 1) + ">\r\n";
  }
  StartUp("<Filler>=" + std::string(70000, 'f') + "\r\n<B>=" + b +
              "\r\n<A>=<B><B>\r\n<Tool>=<Src>\\sub\r\n" + chain,
          "[P]\r\nTOOL=<Tool>\\x.exe\r\nA=<A>\r\nBB=<B><B>\r\n"
          "S9=<S9>\r\nS39=x<S39>\r\n");
  struct Case {
    const char* key;
    int length;  // of the value read; -1: refused
  } cases[] = {
      {"TOOL", 18},  // "D:\setup\sub\x.exe", after 70,000 characters
      {"A", -1},     // <B><B> through a symbol
      {"BB", -1},    // <B><B> written directly
      {"S9", 5120},  // 2^9 copies of ten digits: whole
      {"S39", -1},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    TextString value("before");
    EXPECT_EQ(cases[i].length >= 0, ReadParam("P", cases[i].key, &value))
        << cases[i].key;
    EXPECT_EQ(cases[i].length >= 0 ? cases[i].length : 6, value.Length())
        << cases[i].key;
  }
  // Each refusal is the box of a key that cannot be read.
  ASSERT_EQ(3u, fake::MessageBoxes().size());
  EXPECT_EQ(Message(MSG_BAD_FORMAT, "P", "A"), fake::MessageBoxes()[0].text);

  // A cut entry is told apart from a missing one, and gives no value.
  const struct {
    const char* name;
    SymbolLookupResult result;
  } lookups[] = {
      {"<a>", kSymbolCut}, {"<B>", kSymbolFound}, {"<None>", kSymbolMissing}};
  for (size_t i = 0; i < sizeof lookups / sizeof lookups[0]; ++i) {
    TextString value("kept");
    EXPECT_EQ(lookups[i].result, FindSymbol(lookups[i].name, &value))
        << lookups[i].name;
    EXPECT_EQ(lookups[i].result == kSymbolFound ? 5000 : 4, value.Length())
        << lookups[i].name;
  }
}

}  // namespace
