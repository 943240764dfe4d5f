#include "settings/app_paths.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/fake/fake_world.h"

namespace {

const std::string kAppPaths = kAppPathsKey;

class AppPathsTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
  void TearDown() override {
    // Every lookup closes what it opened.
    EXPECT_EQ(0, fake::OpenRegistryHandleCount());
  }
};

// The same table for a 32-bit and a 64-bit updater: each reads its native
// view first and the other view only for a key missing from it.
TEST_F(AppPathsTest, Lookups) {
  for (int bits = 32; bits <= 64; bits += 32) {
    fake::Reset();
    fake::SetProcessBits(bits);
    const fake::RegistryView native =
        bits == 32 ? fake::kView32 : fake::kView64;
    const fake::RegistryView other = bits == 32 ? fake::kView64 : fake::kView32;
    // Default value, then PATH, as the test arranges them; "-" for none.
    fake::SetRegistryString(native, kAppPaths + "Editor.EXE", "",
                            "C:\\Ed\\ed.exe");
    fake::SetRegistryString(native, kAppPaths + "Editor.EXE", "PATH",
                            "C:\\Ed;");
    fake::SetRegistryString(native, kAppPaths + "pathonly.exe", "Path",
                            "C:\\P");
    fake::SetRegistryString(native, kAppPaths + "empty.exe", "", "");
    fake::SetRegistryValue(native, kAppPaths + "raw.exe", "",
                           "C:\\Raw\\raw.exe");
    fake::SetRegistryValue(native, kAppPaths + "tail.exe", "",
                           std::string("C:\\t.exe\0junk", 13));
    fake::SetRegistryValue(native, kAppPaths + "zero.exe", "", "");
    fake::SetRegistryString(other, kAppPaths + "wide.exe", "",
                            "C:\\W\\wide.exe");
    fake::SetRegistryString(other, kAppPaths + "wide.exe", "PATH", "C:\\W");
    // Registered in the native view without a default: the other view's
    // default is not consulted.
    fake::SetRegistryString(native, kAppPaths + "split.exe", "PATH", "C:\\S32");
    fake::SetRegistryString(other, kAppPaths + "split.exe", "",
                            "C:\\S64\\s.exe");
    fake::SetRegistryString(other, kAppPaths + "split.exe", "PATH", "C:\\S64");
    fake::SetRegistryString(native, kAppPaths + "sub\\nested.exe", "",
                            "C:\\n.exe");
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
        const char* expected =
            want ? cases[i].defaultValue : cases[i].pathValue;
        TextString out("before");
        bool found = AppPathLookup(cases[i].program, &out, want != 0);
        EXPECT_EQ(expected != NULL, found)
            << bits << " " << cases[i].program << " " << want;
        if (expected != NULL) {
          EXPECT_STREQ(expected, out.Text())
              << bits << " " << cases[i].program << " " << want;
        }
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
  EXPECT_FALSE(key.QueryValue("", &out));
  EXPECT_STREQ("before", out.Text());

  ASSERT_TRUE(key.Open(platform::kKeyRead));
  EXPECT_EQ(1, fake::OpenRegistryHandleCount());
  EXPECT_EQ(13u, key.QueryValueSize(""));  // 12 characters and the zero
  EXPECT_EQ(0u, key.QueryValueSize("PATH"));
  ASSERT_TRUE(key.Open(platform::kKeyRead));  // reopening closes first
  EXPECT_EQ(1, fake::OpenRegistryHandleCount());
  EXPECT_TRUE(key.QueryValue("", &out));
  EXPECT_STREQ("C:\\Ed\\ed.exe", out.Text());
  key.Close();
  key.Close();
  EXPECT_EQ(0, fake::OpenRegistryHandleCount());

  // ReadString closes the key whatever happened.
  EXPECT_TRUE(key.ReadString("", &out, platform::kKeyRead));
  EXPECT_EQ(0, fake::OpenRegistryHandleCount());
  EXPECT_FALSE(key.ReadString("PATH", &out, platform::kKeyRead));
  EXPECT_EQ(0, fake::OpenRegistryHandleCount());

  {
    RegistryKey open(platform::kLocalMachine, path.c_str());
    ASSERT_TRUE(open.Open(platform::kKeyRead));
  }  // the destructor closes it
}

}  // namespace
