// TextString over Shift-JIS texts (the fake platform answers for code page
// 932): the second byte of a double-byte character is never a separator, a
// bracket or a letter of its own.
#include <gtest/gtest.h>

#include "base/text_string.h"

namespace {

// Characters whose second byte imitates an ASCII character that matters.
#define SO "\x83\x5C"    // katakana so: second byte "\"
#define HYO "\x95\x5C"   // "table": second byte "\"
#define HON "\x96\x7B"   // "book": second byte "{"
#define MA "\x83\x7D"    // katakana ma: second byte "}"
#define KA "\x83\x4A"    // katakana ka: second byte "J"
#define NI "\x83\x6A"    // katakana ni: second byte "j"
#define A_ "\x83\x41"    // katakana a: second byte "A"
#define DI "\x83\x61"    // katakana di: second byte "a"
#define KAI "\x8A\x43"   // "sea": second byte "C"
#define KAKU "\x8A\x63"  // "stroke": second byte "c"
#define LEAD "\x83"      // a lead byte right before the terminator
#define HALF_A "\xB1"    // half-width katakana a: one byte

TEST(TextStringDoubleByteTest, PathsSplitOnlyAtBackslashesOfTheirOwn) {
  struct Case {
    const char* path;
    int items;
    const char* folder;  // Items(0, -2, "\") and DirectoryOf
    const char* name;    // Item(-1, "\")
  } cases[] = {
      {"C:\\" SO ".exe", 2, "C:", SO ".exe"},
      {"C:\\" A_ "\\" SO "\\x.exe", 4, "C:\\" A_ "\\" SO, "x.exe"},
      {"C:\\" HYO "\\..\\x", 4, "C:\\" HYO "\\..", "x"},
      {"C:\\" SO SO, 2, "C:", SO SO},
      {"C:\\a" LEAD, 2, "C:", "a" LEAD},
      {"C:\\" LEAD, 2, "C:", LEAD},
      {"C:\\" HALF_A "\\b", 3, "C:\\" HALF_A, "b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const TextString path(c.path);
    EXPECT_EQ(c.items, path.ItemCount("\\"));
    EXPECT_EQ(c.items - 1, path.CountOf("\\"));
    EXPECT_STREQ(c.folder, path.Items(0, -2, "\\").Text());
    EXPECT_STREQ(c.name, path.Item(-1, "\\").Text());
    TextString folder("keep");
    EXPECT_TRUE(DirectoryOf(c.path, &folder));
    EXPECT_STREQ(c.folder, folder.Text());
  }
  // Without a backslash of its own a path has no folder.
  TextString folder("keep");
  EXPECT_FALSE(DirectoryOf(SO "x.exe", &folder));
  EXPECT_STREQ("keep", folder.Text());

  // A broken character (a lead byte before a byte below 0x40) never hides
  // a comma, an "=" or a line feed.
  EXPECT_EQ(2, TextString("a" LEAD ",b" LEAD "=\n").ItemCount(","));
  EXPECT_STREQ("b" LEAD,
               TextString("a" LEAD "=b" LEAD "=").Item(1, "=").Text());
  EXPECT_EQ(2, TextString("<" KA ">=" LEAD "\n<x>").ItemCount("\n"));

  TextString slashes("C:\\" SO "\\x" LEAD);
  EXPECT_TRUE(slashes.ReplaceAll("\\", "/"));
  EXPECT_STREQ("C:/" SO "/x" LEAD, slashes.Text());
  EXPECT_TRUE(slashes.ReplaceItems(-1, -1, "/", HYO));
  EXPECT_STREQ("C:/" SO "/" HYO, slashes.Text());
}

TEST(TextStringDoubleByteTest, BracesInsideCharactersOpenAndCloseNothing) {
  struct Case {
    const char* text;
    int count;
    const char* group0;
  } cases[] = {
      {MA NI " {?App\\e.exe}", 1, "{?App\\e.exe}"},
      {"{?App\\e.exe} " MA NI, 1, "{?App\\e.exe}"},
      {"{?App\\" MA ".exe}", 1, "{?App\\" MA ".exe}"},
      {"{" HON "}x{y}", 2, "{" HON "}"},
      {HON "x}", 0, ""},
      {"{a}" LEAD, 1, "{a}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const TextString text(c.text);
    EXPECT_EQ(c.count, text.GroupCount("{", "}"));
    EXPECT_STREQ(c.group0, text.Group(0, "{", "}").Text());
  }
  TextString value("x{?App\\" MA "}" MA);
  EXPECT_TRUE(value.ReplaceGroup(0, "{", "}", "C:\\" SO));
  EXPECT_STREQ("xC:\\" SO MA, value.Text());
}

TEST(TextStringDoubleByteTest, TrimLeavesSecondBytesAlone) {
  struct Case {
    const char* text;
    const char* lead;
    const char* trail;
    const char* after;
  } cases[] = {
      {"C:\\" SO, "", "\\", "C:\\" SO},
      {"C:\\" SO "\\\\", "", "\\", "C:\\" SO},
      {"{?App\\" MA "}}", "{", "}", "?App\\" MA},
      {"x" LEAD, "", LEAD, "x"},
      {" " KA " ", " ", " ", KA},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TextString s(c.text);
    s.Trim(c.lead, c.trail);
    EXPECT_STREQ(c.after, s.Text());
  }
}

TEST(TextStringDoubleByteTest, SecondBytesAreNeverFolded) {
  struct Case {
    const char* a;
    const char* b;
    bool equal;
  } cases[] = {
      {"<" KA ">", "<" NI ">", false},
      {A_, DI, false},
      {KAI, KAKU, false},
      {"x" KA, "X" KA, true},
      {KA "abc", KA "ABC", true},
      {"a" LEAD, "A" LEAD, true},
      {KA, KA "a", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a);
    EXPECT_EQ(c.equal, TextString(c.a).Equals(c.b));
    EXPECT_EQ(c.equal, TextString(c.b).Equals(c.a));
    EXPECT_EQ(c.equal, SpanEquals(c.a, TextString(c.a).Length(), c.b));
  }
}

}  // namespace
