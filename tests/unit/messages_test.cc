// The error box and message loading against the real string table.
#include <string>

#include "app/process_state.h"
#include "base/text_string.h"
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

}  // namespace
