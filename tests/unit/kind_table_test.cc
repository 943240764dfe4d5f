// The loading every kind shares, with keys the kinds of today do not have
// yet: optional ones, and ones read only when an earlier number is not 0.
#include "commands/kind_table.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

struct TEST_INFO : ProcRecord {
  TEST_INFO() : WAIT(7) {}
  int WAIT;
  TextString CODES;  // read only when WAIT is not 0
  TextString NOTE;   // optional
};

const ProcKey kTestKeys[] = {
    {"WAIT", KeyField(static_cast<int ProcRecord::*>(&TEST_INFO::WAIT)),
     kLeadingNumber, kRequired, kWaitMode, kUnpaired, kAlwaysRead},
    {"CODES",
     KeyField(static_cast<TextString ProcRecord::*>(&TEST_INFO::CODES)),
     kExpandedText, kRequired, kNoForm, kUnpaired, 0},
    {"NOTE", KeyField(static_cast<TextString ProcRecord::*>(&TEST_INFO::NOTE)),
     kExpandedText, kOptional, kNoForm, kUnpaired, kAlwaysRead},
};

ProcRecord* LoadTest(const char* name) {
  TEST_INFO* record = new TEST_INFO;
  if (ReadProcKeys(record, name, kTestKeys, 3)) return record;
  delete record;
  return 0;
}

class KindTableTest : public UpdaterTest {};

TEST_F(KindTableTest, OptionalAndConditionalKeys) {
  struct Case {
    const char* section;
    bool loads;
    const char* codes;
    const char* note;
  } cases[] = {
      // No wait: CODES is not read, and may be missing.
      {"MODE=TEST\nWAIT=0\n", true, "", ""},
      {"MODE=TEST\nWAIT=0\nCODES=<Src>\n", true, "", ""},
      // A wait: CODES is required, read and expanded like any key.
      {"MODE=TEST\nWAIT=1\nCODES=<Src>\n", true, "C:\\Tools", ""},
      {"MODE=TEST\nWAIT=1\n", false, "", ""},
      // NOTE is read when present; NO_DATA is absent.
      {"MODE=TEST\nWAIT=0\nNOTE=n\n", true, "", "n"},
      {"MODE=TEST\nWAIT=0\nNOTE=no_data\n", true, "", ""},
  };
  ASSERT_TRUE(DefineBuiltinSymbols());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.section);
    WriteSettings(std::string("[P]\n") + c.section);
    ProcRecord* record = LoadTest("P");
    EXPECT_EQ(c.loads, record != 0);
    if (!record) continue;
    const TEST_INFO& info = *static_cast<TEST_INFO*>(record);
    EXPECT_STREQ(c.codes, info.CODES.Text());
    EXPECT_STREQ(c.note, info.NOTE.Text());
    delete record;
  }
  // The one refusal names the key.
  ASSERT_EQ(1u, fake::MessageBoxes().size());
  EXPECT_EQ(Message(MSG_BAD_FORMAT, "P", "CODES"),
            fake::MessageBoxes()[0].text);
}

}  // namespace
