#include "settings/app_paths.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/fake/fake_world.h"

namespace {

const std::string kAppPaths =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

class AppPathsTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
  void TearDown() override {
    // Every lookup closes what it opened.
    EXPECT_EQ(0, fake::OpenRegistryHandleCount());
  }
};

TEST_F(AppPathsTest, Lookups) {
  const fake::RegistryView v32 = fake::kView32;
  const fake::RegistryView v64 = fake::kView64;
  // Default value, then PATH, as the test arranges them; "-" for none.
  fake::SetRegistryString(v32, kAppPaths + "Editor.EXE", "", "C:\\Ed\\ed.exe");
  fake::SetRegistryString(v32, kAppPaths + "Editor.EXE", "PATH", "C:\\Ed;");
  fake::SetRegistryString(v32, kAppPaths + "pathonly.exe", "Path", "C:\\P");
  fake::SetRegistryString(v32, kAppPaths + "empty.exe", "", "");
  fake::SetRegistryValue(v32, kAppPaths + "raw.exe", "", "C:\\Raw\\raw.exe");
  fake::SetRegistryValue(v32, kAppPaths + "tail.exe", "",
                         std::string("C:\\t.exe\0junk", 13));
  fake::SetRegistryValue(v32, kAppPaths + "zero.exe", "", "");
  fake::SetRegistryString(v64, kAppPaths + "wide.exe", "", "C:\\W\\wide.exe");
  fake::SetRegistryString(v64, kAppPaths + "wide.exe", "PATH", "C:\\W");
  // Registered in the 32-bit view without a default: the 64-bit default is
  // not consulted.
  fake::SetRegistryString(v32, kAppPaths + "split.exe", "PATH", "C:\\S32");
  fake::SetRegistryString(v64, kAppPaths + "split.exe", "", "C:\\S64\\s.exe");
  fake::SetRegistryString(v64, kAppPaths + "split.exe", "PATH", "C:\\S64");
  fake::SetRegistryString(v32, kAppPaths + "sub\\nested.exe", "", "C:\\n.exe");
  struct Case {
    const char* program;
    const char* defaultValue;
    const char* pathValue;
  } cases[] = {
      {"missing.exe", NULL, NULL},
      {"editor.exe", "C:\\Ed\\ed.exe", "C:\\Ed;"},
      {"EDITOR.exe", "C:\\Ed\\ed.exe", "C:\\Ed;"},
      {"pathonly.exe", NULL, "C:\\P"},
      {"empty.exe", "", NULL},
      // Stored without a terminating zero: still a terminated text.
      {"raw.exe", "C:\\Raw\\raw.exe", NULL},
      {"tail.exe", "C:\\t.exe", NULL},
      // A value of size 0 counts as missing.
      {"zero.exe", NULL, NULL},
      {"wide.exe", "C:\\W\\wide.exe", "C:\\W"},
      {"split.exe", NULL, "C:\\S32"},
      {"sub", NULL, NULL},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    for (int want = 0; want < 2; ++want) {
      const char* expected = want ? cases[i].defaultValue : cases[i].pathValue;
      TextString out("before");
      bool found = AppPathLookup(cases[i].program, out, want != 0);
      EXPECT_EQ(expected != NULL, found) << cases[i].program << " " << want;
      if (expected != NULL) {
        EXPECT_STREQ(expected, out.Text()) << cases[i].program << " " << want;
      }
    }
  }
}

TEST_F(AppPathsTest, RegistryKeyOperations) {
  const std::string path = kAppPaths + "editor.exe";
  fake::SetRegistryString(fake::kView32, path, "", "C:\\Ed\\ed.exe");

  RegistryKey none(platform::kNoRoot, path.c_str());
  EXPECT_FALSE(none.Open(platform::kKeyRead));

  RegistryKey key(platform::kLocalMachine, path.c_str());
  TextString out("before");
  // Closed: no size, no value.
  EXPECT_EQ(0u, key.QueryValueSize(""));
  EXPECT_FALSE(key.QueryValue("", out));
  EXPECT_STREQ("before", out.Text());

  ASSERT_TRUE(key.Open(platform::kKeyRead));
  EXPECT_EQ(1, fake::OpenRegistryHandleCount());
  EXPECT_EQ(13u, key.QueryValueSize(""));  // 12 characters and the zero
  EXPECT_EQ(0u, key.QueryValueSize("PATH"));
  ASSERT_TRUE(key.Open(platform::kKeyRead));  // reopening closes first
  EXPECT_EQ(1, fake::OpenRegistryHandleCount());
  EXPECT_TRUE(key.QueryValue("", out));
  EXPECT_STREQ("C:\\Ed\\ed.exe", out.Text());
  key.Close();
  key.Close();
  EXPECT_EQ(0, fake::OpenRegistryHandleCount());

  // ReadString closes the key whatever happened.
  EXPECT_TRUE(key.ReadString("", out, platform::kKeyRead));
  EXPECT_EQ(0, fake::OpenRegistryHandleCount());
  EXPECT_FALSE(key.ReadString("PATH", out, platform::kKeyRead));
  EXPECT_EQ(0, fake::OpenRegistryHandleCount());

  {
    RegistryKey open(platform::kLocalMachine, path.c_str());
    ASSERT_TRUE(open.Open(platform::kKeyRead));
  }  // the destructor closes it
}

}  // namespace
