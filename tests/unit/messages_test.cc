// The error box and message loading against the real string table.
#include <stdio.h>

#include <map>
#include <string>

#include "app/process_state.h"
#include "base/text_string.h"
#include "platform/program_main.h"
#include "settings/messages.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

class MessagesTest : public UpdaterTest {};

TEST_F(MessagesTest, AttrFailureShowsEightUpperCaseHexDigits) {
  AppCaption.Set("Caption");
  ShowError(MSG_ATTR_FAILED, "C:\\a.txt", 0x2Fu);
  ASSERT_EQ(1u, fake::MessageBoxes().size());
  const fake::MessageBoxCall& box = fake::MessageBoxes()[0];
  EXPECT_EQ(Message(MSG_ATTR_FAILED, "C:\\a.txt", 0x2Fu), box.text);
  EXPECT_NE(std::string::npos, box.text.find("\"C:\\a.txt\"\n"));
  EXPECT_EQ("0x0000002F", box.text.substr(box.text.size() - 10));
  EXPECT_EQ("Caption", box.caption);
  EXPECT_EQ(0x10u, box.style);
}

TEST_F(MessagesTest, ProcCountMessageHasNoDetailLines) {
  ShowError(MSG_BAD_PROC_COUNT);
  ASSERT_EQ(1u, fake::MessageBoxes().size());
  EXPECT_EQ(fake::StringTable().at(MSG_BAD_PROC_COUNT),
            fake::MessageBoxes()[0].text);
}

TEST_F(MessagesTest, LoadFormatOfAnIdTheTableLacksIsEmpty) {
  TextString text("before");
  text.LoadFormat(7, "x");
  EXPECT_STREQ("", text.Text());
  text.LoadFormat(MSG_DELETE_FAILED, "C:\\x");
  EXPECT_EQ(Message(MSG_DELETE_FAILED, "C:\\x"), text.Text());
}

// The printf conversions of a template, in order ("%s%s", "%s%u%08X").
std::string Conversions(const std::string& text) {
  std::string found;
  for (size_t at = text.find('%'); at != std::string::npos;
       at = text.find('%', at)) {
    const size_t end = text.find_first_of("sudXx%", at + 1);
    found += text.substr(at, end - at + 1);
    at = end + 1;
  }
  return found;
}

TEST_F(MessagesTest, EveryMessageHasAnEnglishTwinTakingTheSameArguments) {
  const std::map<unsigned, std::string>& table = fake::StringTable();
  for (unsigned id = 0; id <= table.rbegin()->first + 1; ++id) {
    SCOPED_TRACE(id);
    const char* english = EnglishTemplate(id);
    ASSERT_EQ(table.count(id) != 0, english != 0);
    if (english == 0) continue;
    EXPECT_EQ(Conversions(table.at(id)), Conversions(english));
    for (const char* c = english; *c; ++c)
      EXPECT_LT(static_cast<unsigned char>(*c), 0x80);
  }
  EXPECT_EQ("%s%u%08X", Conversions(EnglishTemplate(MSG_LAUNCH_EXIT_CODE)));
}

TEST_F(MessagesTest, BoxesAreEnglishWhereTheSystemIsNotJapaneseOrLangSaysSo) {
  char english[256];
  snprintf(english, sizeof english, EnglishTemplate(MSG_FILE_NOT_FOUND),
           kSettingsPath);
  const std::string japanese = Message(MSG_FILE_NOT_FOUND, kSettingsPath);
  struct Case {
    bool systemJapanese;
    const char* commandLine;
    bool inJapanese;
  } cases[] = {
      {true, "Setup", true},
      {false, "Setup", false},
      {true, "Setup /LANG=en", false},
      {false, "Setup /lang=JA", true},
      {false, "Setup /LANG=ja /LANG=en", false},
      {true, "Setup /LANG=fr", true},  // no switch
      {false, "Setup /LANG=", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    SetUp();
    fake::SetUserInterfaceJapanese(c.systemJapanese);
    EXPECT_EQ(1, UpdaterMain(c.commandLine));
    ASSERT_EQ(1u, fake::MessageBoxes().size());
    EXPECT_EQ(c.inJapanese ? japanese : english, fake::MessageBoxes()[0].text);
  }
}

struct SunkMessage {
  MessageId id;
  std::string text;
  std::string path;
  unsigned attributes;
};
SunkMessage g_sunk;

void RecordMessage(MessageId id, const char* text, va_list args) {
  g_sunk.id = id;
  g_sunk.text = text;
  g_sunk.path = va_arg(args, const char*);
  g_sunk.attributes = va_arg(args, unsigned);
}

TEST_F(MessagesTest, SinkReceivesTextAndArgumentsInsteadOfTheBox) {
  SetErrorSink(RecordMessage);
  ShowError(MSG_ATTR_FAILED, "C:\\a.txt", 0x21u);
  EXPECT_TRUE(fake::MessageBoxes().empty());
  EXPECT_EQ(MSG_ATTR_FAILED, g_sunk.id);
  EXPECT_EQ(Message(MSG_ATTR_FAILED, "C:\\a.txt", 0x21u), g_sunk.text);
  EXPECT_EQ("C:\\a.txt", g_sunk.path);
  EXPECT_EQ(0x21u, g_sunk.attributes);
  SetErrorSink(0);
  ShowError(MSG_BAD_PROC_COUNT);
  EXPECT_EQ(1u, fake::MessageBoxes().size());
}

}  // namespace
