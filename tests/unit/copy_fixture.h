// The files every COPY test starts from: the new a.dll, b.dll and c.dll in
// C:\new, and the old a.dll and b.dll in C:\app (c.dll is a new
// destination unless the test adds it).
#ifndef UPDATER_TESTS_UNIT_COPY_FIXTURE_H_
#define UPDATER_TESTS_UNIT_COPY_FIXTURE_H_

#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

class CopyFilesTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    fake::AddFile("C:\\new\\a.dll", "new a");
    fake::AddFile("C:\\new\\b.dll", "new b");
    fake::AddFile("C:\\new\\c.dll", "new c");
    fake::AddFile("C:\\app\\a.dll", "old a");
    fake::AddFile("C:\\app\\b.dll", "old b");
  }
};

#endif  // UPDATER_TESTS_UNIT_COPY_FIXTURE_H_
