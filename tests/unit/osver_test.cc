// OSVER procedures, tested through the SWITCH that reads their answer.
#include <string>
#include <vector>

#include "app/proc_driver.h"
#include "app/process_state.h"
#include "platform/platform.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

namespace {

// Keys other than MODE are ignored.
const char kSections[] =
    "[OS]\nMODE=osver\nFILE=ignored\nDIR=ignored\n"
    "[S]\nMODE=SWITCH\nPROC=OS\n0=NINE\n1=NT\n"
    "[NINE]\nMODE=MSGBOX\nFLAG=\nTYPE=INFORMATION\nTEXT=95\nISABORT=0,0\n"
    "[NT]\nMODE=MSGBOX\nFLAG=\nTYPE=INFORMATION\nTEXT=NT\nISABORT=0,0\n";

class OsverTest : public UpdaterTest {
 protected:
  bool Run(const char* proc) {
    WriteSettings(kSections);
    UpdaterProc.Set(proc);
    return RunUpdater();
  }
};

TEST_F(OsverTest, ResultIsTrueOnTheNtFamilyOnly) {
  struct Case {
    unsigned platformId;
    const char* shown;
  } cases[] = {
      {platform::kPlatformWin32Nt, "NT"},
      {platform::kPlatformWin32Windows, "95"},
      {0, "95"},  // GetVersionExA failed
      {3, "95"},  // VER_PLATFORM_WIN32_CE
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.platformId);
    SetUp();
    fake::SetPlatformId(c.platformId);
    EXPECT_TRUE(Run("OS,S"));
    EXPECT_EQ(std::vector<std::string>{c.shown}, BoxTexts());
  }
}

TEST_F(OsverTest, SwitchBeforeTheOsverSeesFalse) {
  EXPECT_TRUE(Run("S,OS"));
  EXPECT_EQ(std::vector<std::string>{"95"}, BoxTexts());
}

}  // namespace
