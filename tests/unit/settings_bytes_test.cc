// A settings file's bytes made settings text: code page 932 as it is, UTF-8
// after the byte-order mark converted.
#include "platform/settings_bytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SettingsBytesTest, MarkedUtf8BecomesCodePage932) {
  struct Case {
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"[A]\r\nK=\x83\x5C", "[A]\r\nK=\x83\x5C"},  // no mark: as it is
      {"\xEF\xBB\xBF", ""},
      {"\xEF\xBB\xBF[A]\r\nK=v", "[A]\r\nK=v"},
      {"\xEF\xBB\xBFK=\xE3\x82\xBD\xEF\xBD\xB1", "K=\x83\x5C\xB1"},
      {"\xEF\xBB\xBFK=\xED\x95\x9C\xC2\xA5.txt", "K=\x80\x80.txt"},
      {"\xEF\xBB\xBF\xEF\xBB\xBF"
       "K",
       "\x80K"},                       // a second mark is text
      {"\xEF\xBB[A]", "\xEF\xBB[A]"},  // no whole mark: code page 932 bytes
      {std::string("\xFF\xFE[\0A\0]\0", 8),  // UTF-16: not converted
       std::string("\xFF\xFE[\0A\0]\0", 8)},
  };
  for (const Case& c : cases) {
    std::string bytes = c.bytes;
    unsigned length = static_cast<unsigned>(bytes.size());
    ASSERT_TRUE(platform::SettingsTextInPlace(&bytes[0], &length)) << c.bytes;
    EXPECT_EQ(c.text, bytes.substr(0, length)) << c.bytes;
  }
}

}  // namespace
