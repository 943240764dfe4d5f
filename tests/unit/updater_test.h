// A fixture for tests of the updater's core on the fake platform: a fresh
// fake world, empty process-wide state, and helpers to write the settings
// file and to read back the boxes shown.
#ifndef UPDATER_TESTS_UNIT_UPDATER_TEST_H_
#define UPDATER_TESTS_UNIT_UPDATER_TEST_H_

#include <string>
#include <vector>

#include <gtest/gtest.h>

class UpdaterTest : public ::testing::Test {
 protected:
  // The executable is C:\Tools\updater.exe, its settings C:\Tools\updater.ini.
  static const char kSettingsPath[];

  void SetUp() override;
  void TearDown() override;

  // Writes the settings file (line feeds become CR LF).
  void WriteSettings(const std::string& text);

  // Texts of the boxes shown so far, in order.
  std::vector<std::string> BoxTexts() const;
};

// The text of message `id` formatted with the arguments, as the error box
// shows it (code page 932 bytes from the string table).
std::string Message(unsigned id);
std::string Message(unsigned id, const char* a);
std::string Message(unsigned id, const char* a, const char* b);
std::string Message(unsigned id, const char* a, unsigned b);
std::string Message(unsigned id, const char* a, unsigned b, unsigned c);

#endif  // UPDATER_TESTS_UNIT_UPDATER_TEST_H_
