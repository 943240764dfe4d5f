#include "settings/param_reader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/process_state.h"
#include "settings/messages.h"
#include "settings/param_reader.h"
#include "settings/symbol_table.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

const char kIni[] = "C:\\Tools\\updater.ini";

std::string BadFormat(const std::string& section, const std::string& key) {
  return Message(MSG_BAD_FORMAT, section.c_str(), key.c_str());
}

class ParamReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    ResetProcessState();
    DefineSymbol("<Src>", TextString("D:\\setup"));
    DefineSymbol("<N>", TextString("42"));
    SettingsPath.Set(kIni);
    AppCaption.Set("My Tool");
    fake::AddFile(kIni,
                  "[COPY1]\r\n"
                  "Upper=NO_DATA\r\nLower=no_data\r\nMixed=No_Data\r\n"
                  "Empty=\r\n"
                  "Unknown=<Nothing>\\x\r\n"
                  "Path=<Src>\\a\\..\\b\r\n"
                  "Count=12abc\r\nWord=abc\r\nRef=<N>\r\n");
  }
};

TEST_F(ParamReaderTest, AbsentKeysShowBadFormat) {
  const char* keys[] = {"Upper", "Lower", "Mixed", "Missing"};
  for (size_t i = 0; i < sizeof(keys) / sizeof(keys[0]); ++i) {
    TextString text("before");
    EXPECT_FALSE(ReadParam("COPY1", keys[i], &text)) << keys[i];
    EXPECT_STREQ("before", text.Text()) << keys[i];
    int number = 5;
    EXPECT_FALSE(ReadIntParam("COPY1", keys[i], &number)) << keys[i];
    EXPECT_EQ(5, number) << keys[i];

    const std::vector<fake::MessageBoxCall>& boxes = fake::MessageBoxes();
    ASSERT_EQ(2 * (i + 1), boxes.size());
    for (size_t b = boxes.size() - 2; b < boxes.size(); ++b) {
      // Section and key as the caller wrote them.
      EXPECT_EQ(BadFormat("COPY1", keys[i]), boxes[b].text) << keys[i];
      EXPECT_EQ("My Tool", boxes[b].caption);
      EXPECT_EQ(0x10u, boxes[b].style);
    }
  }
  // The caption is read when the box is shown.
  AppCaption.Set("Later");
  TextString text;
  EXPECT_FALSE(ReadParam("NOSECTION", "FILE", &text));
  EXPECT_EQ(BadFormat("NOSECTION", "FILE"), fake::MessageBoxes().back().text);
  EXPECT_EQ("Later", fake::MessageBoxes().back().caption);
}

TEST_F(ParamReaderTest, PresentKeysAreReadSilently) {
  struct Case {
    const char* key;
    const char* text;  // ReadParam: expanded
    int number;        // ReadIntParam: -1 for "left as it was"
  } cases[] = {
      {"Empty", "", -1},
      {"Unknown", "<Nothing>\\x", -1},
      {"Path", "D:\\setup\\b", -1},
      {"Count", "12abc", 12},
      {"Word", "abc", -1},
      // Integers are never expanded.
      {"Ref", "42", -1},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    TextString text("before");
    EXPECT_TRUE(ReadParam("copy1", cases[i].key, &text)) << cases[i].key;
    EXPECT_STREQ(cases[i].text, text.Text()) << cases[i].key;
    int number = -1;
    EXPECT_TRUE(ReadIntParam("COPY1", cases[i].key, &number)) << cases[i].key;
    EXPECT_EQ(cases[i].number, number) << cases[i].key;
  }
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

// A long list whose items each start with a symbol is expanded whole; a
// value that would pass the limit is refused, never used in part.
TEST_F(ParamReaderTest, LongListsExpandWholeOrNotAtAll) {
  DefineSymbol("<Dir>", TextString(std::string(50, 'd').c_str()));
  std::string list;
  for (int i = 0; i < 600; ++i) list += (i ? "," : "") + std::string("<Dir>\\f.dat");
  const std::string big(60000, 'b');
  DefineSymbol("<Big>", TextString(big.c_str()));
  fake::AddFile(kIni, "[L]\r\nList=" + list + "\r\nBig=<Big><Big>\r\n");
  TextString text("before");
  ASSERT_TRUE(ReadParam("L", "List", &text));
  EXPECT_EQ(600 * 57 - 1, text.Length());
  EXPECT_EQ(std::string::npos, std::string(text.Text()).find('<'));
  EXPECT_FALSE(ReadParam("L", "Big", &text));
  EXPECT_EQ(600 * 57 - 1, text.Length());  // unchanged
  ASSERT_EQ(1u, fake::MessageBoxes().size());
  EXPECT_EQ(BadFormat("L", "Big"), fake::MessageBoxes()[0].text);
}

}  // namespace
