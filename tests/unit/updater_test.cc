#include "tests/unit/updater_test.h"

#include <stdio.h>

#include "app/proc_driver.h"
#include "app/process_state.h"
#include "settings/messages.h"
#include "settings/param_reader.h"
#include "platform/platform.h"
#include "settings/symbol_table.h"
#include "tests/fake/fake_world.h"

const char UpdaterTest::kSettingsPath[] = "C:\\Tools\\updater.ini";

void UpdaterTest::SetUp() {
  fake::Reset();
  ResetProcessState();
  AppCaption.Set("Test");
  ModulePath.Set("C:\\Tools\\updater.exe");
  SettingsPath.Set(kSettingsPath);
}

void UpdaterTest::TearDown() { FreeAllProcLists(); }

void UpdaterTest::WriteSettings(const std::string& text) {
  std::string crlf;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') crlf += '\r';
    crlf += text[i];
  }
  fake::AddFile(kSettingsPath, crlf);
}

std::vector<std::string> UpdaterTest::BoxTexts() const {
  std::vector<std::string> texts;
  for (size_t i = 0; i < fake::MessageBoxes().size(); ++i)
    texts.push_back(fake::MessageBoxes()[i].text);
  return texts;
}

namespace {

std::string Template(unsigned id) {
  char format[256] = {0};
  platform::LoadResourceString(id, format, sizeof format);
  return format;
}

}  // namespace

std::string Message(unsigned id) { return Template(id); }

std::string Message(unsigned id, const char* a) {
  char text[1024];
  snprintf(text, sizeof text, Template(id).c_str(), a);
  return text;
}

std::string Message(unsigned id, const char* a, const char* b) {
  char text[1024];
  snprintf(text, sizeof text, Template(id).c_str(), a, b);
  return text;
}

std::string Message(unsigned id, const char* a, unsigned b) {
  char text[1024];
  snprintf(text, sizeof text, Template(id).c_str(), a, b);
  return text;
}

std::string Message(unsigned id, const char* a, unsigned b, unsigned c) {
  char text[1024];
  snprintf(text, sizeof text, Template(id).c_str(), a, b, c);
  return text;
}
