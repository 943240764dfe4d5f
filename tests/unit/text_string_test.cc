#include "base/text_string.h"

#include <climits>
#include <cstring>

#include <gtest/gtest.h>

namespace {

TEST(TextStringTest, StorageAndCopies) {
  TextString empty;
  EXPECT_EQ(0, empty.Length());
  ASSERT_NE(static_cast<const char*>(NULL), empty.Text());
  EXPECT_STREQ("", empty.Text());

  TextString original("abc");
  TextString copy(original);
  copy.Add("d");
  EXPECT_STREQ("abc", original.Text());
  EXPECT_STREQ("abcd", original.Concat(TextString("d")).Text());
  EXPECT_STREQ("abc", original.Text());

  // A system call writes into a reserved, zero-filled block.
  TextString path;
  ASSERT_TRUE(path.Reserve(16));
  EXPECT_EQ(0, path.Length());
  std::memcpy(path.Buffer(), "C:\\x", 4);
  path.Compact();
  EXPECT_STREQ("C:\\x", path.Text());
}

TEST(TextStringTest, ArgumentsMayPointIntoOwnBuffer) {
  TextString s("abcdef");
  s.Set(s.Text() + 2);
  EXPECT_STREQ("cdef", s.Text());
  s.Add(s.Text() + 3);
  EXPECT_STREQ("cdeff", s.Text());
  s.Add(s);
  EXPECT_STREQ("cdeffcdeff", s.Text());
  s.SetText(s.Text() + 5);
  EXPECT_STREQ("cdeff", s.Text());
  EXPECT_TRUE(s.ReplaceAll(s.Text() + 4, s.Text() + 3));  // "f" -> "ff"
  EXPECT_STREQ("cdeffff", s.Text());
}

TEST(TextStringTest, EqualsFoldsOnlyAsciiLetters) {
  struct Case { const char* a; const char* b; bool equal; } cases[] = {
      {"abc", "ABC", true},        {"Question", "QUESTION", true},
      {"abc", "abc ", false},      {"abc ", "abc", false},
      {"", "", true},              {"[", "{", false},  // 0x5B vs 0x7B
      {"@", "`", false},           {"\xC0", "\xE0", false},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    TextString a(cases[i].a);
    EXPECT_EQ(cases[i].equal, a.Equals(cases[i].b)) << i;
    EXPECT_EQ(cases[i].equal, a.Equals(TextString(cases[i].b))) << i;
    EXPECT_NE(cases[i].equal, a.Differs(cases[i].b)) << i;
  }
}

TEST(TextStringTest, MidAndReplaceMidStayInsideText) {
  struct Case { const char* text; int first, last; const char* mid; } cases[] = {
      {"abcdef", 1, 3, "bcd"}, {"abcdef", -2, -1, "ef"},
      {"abcdef", 4, 99, "ef"}, {"abcdef", 6, 6, ""},
      {"abcdef", 99, 99, ""},  {"abcdef", -9, -1, ""},
      {"abcdef", 3, 2, ""},    {"", -1, -1, ""},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    EXPECT_STREQ(cases[i].mid,
                 TextString(cases[i].text).Mid(cases[i].first, cases[i].last)
                     .Text()) << i;
  }
  EXPECT_STREQ("f", TextString("abcdef").CharAt(-1).Text());

  struct Edit { const char* text; int first, last; bool ok; const char* after; }
  edits[] = {
      {"abcdef", 1, 2, true, "aXdef"}, {"abcdef", -1, -1, true, "abcdeX"},
      {"abcdef", 4, 99, true, "abcdX"}, {"abcdef", 6, 6, false, "abcdef"},
      {"abcdef", 3, 2, false, "abcdef"}, {"abcdef", -9, 0, false, "abcdef"},
      {"", 0, 0, false, ""},
  };
  for (size_t i = 0; i < sizeof(edits) / sizeof(edits[0]); ++i) {
    TextString s(edits[i].text);
    EXPECT_EQ(edits[i].ok, s.ReplaceMid(edits[i].first, edits[i].last, "X"))
        << i;
    EXPECT_STREQ(edits[i].after, s.Text()) << i;
  }
}

TEST(TextStringTest, Items) {
  struct Count { const char* text; const char* sep; int count; } counts[] = {
      {"", ",", 0},   {"a", ",", 1},     {"a,", ",", 2}, {",a", ",", 2},
      {"a,,b", ",", 3}, {"a, b,c, d", ", ", 3}, {"a,b", "", 0},
  };
  for (size_t i = 0; i < sizeof(counts) / sizeof(counts[0]); ++i) {
    EXPECT_EQ(counts[i].count,
              TextString(counts[i].text).ItemCount(counts[i].sep)) << i;
  }
  struct Span { const char* text; int first, last; const char* sep;
                const char* items; } spans[] = {
      {"a,,b", 1, 1, ",", ""},  {"a,", 1, 1, ",", ""},   {"a,b", 5, 5, ",", ""},
      {"a,b,c", -1, -1, ",", "c"}, {"a,b,c", 1, 9, ",", "b,c"},
      {"a,b,c", 2, 1, ",", ""},  {",a", 0, 0, ",", ""},   {"a,b", 0, 0, "", ""},
      {"a, b,c", 1, 1, ", ", "b,c"}, {"C:\\UPD.EXE", 0, -2, "\\", "C:"},
  };
  for (size_t i = 0; i < sizeof(spans) / sizeof(spans[0]); ++i) {
    TextString s(spans[i].text);
    EXPECT_STREQ(spans[i].items,
                 s.Items(spans[i].first, spans[i].last, spans[i].sep).Text())
        << i;
  }
  struct Edit { const char* text; int first, last; const char* sep;
                const char* with; bool ok; const char* after; } edits[] = {
      {"C:\\x\\app.exe", -1, -1, ".", "ini", true, "C:\\x\\app.ini"},
      {"app", -1, -1, ".", "ini", true, "ini"},
      {"C:\\a.b\\app", -1, -1, ".", "ini", true, "C:\\a.ini"},
      {"a,b,c", 1, 1, ",", "X", true, "a,X,c"},
      {"a,", 1, 1, ",", "b", true, "a,b"},
      {"a,b", 3, 3, ",", "X", false, "a,b"},
      {"a,b", 0, 0, "", "X", false, "a,b"},
      {"", -1, -1, ",", "X", false, ""},
  };
  for (size_t i = 0; i < sizeof(edits) / sizeof(edits[0]); ++i) {
    TextString s(edits[i].text);
    EXPECT_EQ(edits[i].ok, s.ReplaceItems(edits[i].first, edits[i].last,
                                          edits[i].sep, edits[i].with)) << i;
    EXPECT_STREQ(edits[i].after, s.Text()) << i;
  }
}

TEST(TextStringTest, WordsHonourLeadingQuotes) {
  struct Count { const char* text; int count; } counts[] = {
      {"", 0}, {"a b", 2}, {"a  b", 3}, {"a ", 2}, {"\"x y\" z", 2},
      {"\"x y\"", 1}, {"a\tb", 1},
  };
  for (size_t i = 0; i < sizeof(counts) / sizeof(counts[0]); ++i) {
    EXPECT_EQ(counts[i].count, TextString(counts[i].text).WordCount()) << i;
  }
  struct Span { const char* text; int first, last; const char* words; }
  spans[] = {
      {"a b", 0, 0, "a"},  {"a  b", 1, 1, ""},  {"a b c", -1, -1, "c"},
      {"a b c d", 1, 2, "b c"}, {"\"x y", 0, 0, "\"x y"},
      {"\"C:\\Program Files\\u.exe\" -o", 0, 0, "\"C:\\Program Files\\u.exe\""},
      {"\"C:\\Program Files\\u.exe\" -o", 1, 1, "-o"},
      {"a \"b c\" d", 1, 1, "\"b c\""},
  };
  for (size_t i = 0; i < sizeof(spans) / sizeof(spans[0]); ++i) {
    EXPECT_STREQ(spans[i].words,
                 TextString(spans[i].text).Words(spans[i].first, spans[i].last)
                     .Text()) << i;
  }
  TextString line("\"x y\" q");
  EXPECT_TRUE(line.ReplaceWord(0, "z"));
  EXPECT_STREQ("z q", line.Text());
  EXPECT_FALSE(line.ReplaceWord(2, "z"));
}

TEST(TextStringTest, GroupsCountOnlyTopLevelAfterStrayCloses) {
  struct Count { const char* text; const char* open; const char* close;
                 int count; } counts[] = {
      {"<a><b>", "<", ">", 2}, {"<a<b>>", "<", ">", 1}, {"<a", "<", ">", 0},
      {"><a>", "<", ">", 0},   {"a>b<X>", "<", ">", 0},
      {"a>b<X<Y>>", "<", ">", 1}, {"|a|b|", "|", "|", 0}, {"<a>", "", ">", 0},
  };
  for (size_t i = 0; i < sizeof(counts) / sizeof(counts[0]); ++i) {
    EXPECT_EQ(counts[i].count, TextString(counts[i].text)
                                   .GroupCount(counts[i].open, counts[i].close))
        << i;
  }
  struct Span { const char* text; int first, last; const char* open;
                const char* close; const char* groups; } spans[] = {
      {"{x}{y{z}}", 1, 1, "{", "}", "{y{z}}"},
      {"{a{b}", 0, 0, "{", "}", "{a{b}"},
      {"{x", 0, 0, "{", "}", ""},
      {"a<Win>\\b", 0, 0, "<", ">", "<Win>"},
      {"a>b<X<Y>>", 0, 0, "<", ">", "<Y>"},
      {"<a>x<b>y", 0, 1, "<", ">", "<a>x<b>"},
      {"<a><b>", -1, -1, "<", ">", "<b>"},
      {"x[[a]]y[[b]]", 1, 1, "[[", "]]", "[[b]]"},
      {"|a|b|", 0, 0, "|", "|", ""},
  };
  for (size_t i = 0; i < sizeof(spans) / sizeof(spans[0]); ++i) {
    TextString s(spans[i].text);
    EXPECT_STREQ(spans[i].groups, s.Groups(spans[i].first, spans[i].last,
                                           spans[i].open, spans[i].close)
                                      .Text()) << i;
  }
  TextString value("a<Win>\\b");
  EXPECT_TRUE(value.ReplaceGroup(0, "<", ">", "C:\\WINDOWS"));
  EXPECT_STREQ("aC:\\WINDOWS\\b", value.Text());
  EXPECT_FALSE(value.ReplaceGroup(0, "<", ">", "x"));
  EXPECT_STREQ("aC:\\WINDOWS\\b", value.Text());
}

TEST(TextStringTest, TrimStripsWholeOccurrencesFoldingCase) {
  struct Case { const char* text; const char* lead; const char* trail;
                const char* after; } cases[] = {
      {"  a b  ", " ", " ", "a b"}, {"   ", " ", " ", ""},
      {"\"\"a\"", "\"", "\"", "a"}, {"\ta\t", " ", " ", "\ta\t"},
      {"<<a>>", "<", ">", "a"},     {"XaX", "x", "x", "a"},
      {"ababXab", "ab", "ab", "X"}, {"aba", "ab", "ab", "a"},
      {" a ", "", " ", " a"},       {"", " ", " ", ""},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    TextString s(cases[i].text);
    s.Trim(cases[i].lead, cases[i].trail);
    EXPECT_STREQ(cases[i].after, s.Text()) << i;
  }
}

TEST(TextStringTest, ReplaceAllAndCountOf) {
  struct Case { const char* text; const char* find; const char* with; bool ok;
                const char* after; } cases[] = {
      {"a%nb%n", "%n", "\n", true, "a\nb\n"}, {"ab", "%n", "\n", false, "ab"},
      {"aXa", "a", "aa", true, "aaXaa"},      {"aaa", "aa", "b", true, "ba"},
      {"%t%n", "%t", "", true, "%n"},         {"abc", "", "x", false, "abc"},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    TextString s(cases[i].text);
    EXPECT_EQ(cases[i].ok, s.ReplaceAll(cases[i].find, cases[i].with)) << i;
    EXPECT_STREQ(cases[i].after, s.Text()) << i;
  }
  EXPECT_EQ(2, TextString("aaaa").CountOf("aa"));
  EXPECT_EQ(1, TextString("aaa").CountOf("aa"));
  EXPECT_EQ(0, TextString("abc").CountOf(""));
}

TEST(TextStringTest, Numbers) {
  struct Case { const char* text; int value; } decimals[] = {
      {" 42", 42},  {"-7", -7},   {"x", 0},  {"12abc", 12}, {"+5", 5},
      {"\t\n\v\f\r 9", 9}, {"-", 0}, {"- 5", 0}, {"", 0},
      {"2147483647", INT_MAX}, {"99999999999", INT_MAX},
      {"-2147483648", INT_MIN}, {"-99999999999", INT_MIN},
  };
  for (size_t i = 0; i < sizeof(decimals) / sizeof(decimals[0]); ++i) {
    EXPECT_EQ(decimals[i].value, TextString(decimals[i].text).ToInt()) << i;
  }
  int untouched = 5;
  EXPECT_FALSE(ParseDecimal("  z1", &untouched));
  EXPECT_EQ(5, untouched);
  EXPECT_TRUE(ParseDecimal("0", &untouched));
  EXPECT_EQ(0, untouched);

  Case hex[] = {
      {"0x1F", 31}, {"0X1F", 0}, {"1F", 0},   {"0x", 0},   {" 0x1F", 0},
      {"0xff", 255}, {"0x20 ", 32}, {"0x 20", 0}, {"0xFFFFFFFF", -1},
      {"0x123456789", -1}, {"0x80000000", INT_MIN},
  };
  for (size_t i = 0; i < sizeof(hex) / sizeof(hex[0]); ++i) {
    EXPECT_EQ(hex[i].value, TextString(hex[i].text).HexToInt()) << i;
  }
}

TEST(TextStringTest, FormatCutsAtAreaSize) {
  TextString s;
  s.Format("%s-%d-%08X", "a", 5, 0x20u);
  EXPECT_STREQ("a-5-00000020", s.Text());

  char big[2000];
  std::memset(big, 'x', sizeof(big) - 1);
  big[sizeof(big) - 1] = '\0';
  s.Format("%s", big);
  EXPECT_EQ(1023, s.Length());
}

TEST(TextStringTest, DirectoryOf) {
  struct Case { const char* path; bool ok; const char* out; } cases[] = {
      {"C:\\dir\\a.exe", true, "C:\\dir"}, {"C:\\a.exe", true, "C:"},
      {"\\\\srv\\a", true, "\\\\srv"},     {"a.exe", false, "keep"},
      {"\\a.exe", false, "keep"},          {"", false, "keep"},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    TextString out("keep");
    EXPECT_EQ(cases[i].ok, DirectoryOf(cases[i].path, &out)) << i;
    EXPECT_STREQ(cases[i].out, out.Text()) << i;
  }
  TextString self("C:\\d\\e\\f.txt");
  EXPECT_TRUE(DirectoryOf(self.Text(), &self));
  EXPECT_STREQ("C:\\d\\e", self.Text());
}

}  // namespace
