// Fuzz target for the value language and the section reader.
//
// The input is a symbol-table part and a value part, split at the first
// zero byte. The whole input is also served as the settings file, so the
// section reader's walk over the profile buffer sees arbitrary lines.
// Built-in symbols and App Paths values carry Shift-JIS characters whose
// second byte is a backslash or a brace, and every expanded value is
// checked to be split only where a character starts. The linear bracket
// walk and passes are held to the ones that walked from the start every
// turn (reference_expansion.h).
#include <ctype.h>
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "base/text_string.h"
#include "platform/platform.h"
#include "settings/app_paths.h"
#include "settings/expansion.h"
#include "settings/settings_reader.h"
#include "settings/symbol_table.h"
#include "tests/fake/fake_world.h"
#include "tests/fuzz/reference_expansion.h"

namespace {

const char kIni[] = "C:\\Tools\\updater.ini";
const std::string kAppPaths = kAppPathsKey;

// The reference passes cost turns times length: beyond this a run would
// measure that known cost instead of looking for faults.
const size_t kMaxInput = 8192;

void Check(bool condition) {
  if (!condition) abort();
}

// What the section reader promises for a target that started empty.
void CheckSection(const TextString& lines, int count) {
  if (count == 0) {
    Check(lines.Length() == 0);
    return;
  }
  Check(lines.ItemCount("\n") == count);
  for (int i = 0; i < count; ++i) {
    TextString line = lines.Item(i, "\n");
    Check(line.Length() > 0 && line.Text()[0] != ';');
  }
}

// Katakana so (second byte "\\") and ma (second byte "}").
#define SO "\x83\x5C"
#define MA "\x83\x7D"

void AddAppPaths() {
  // Values that bring in further groups, symbols, parent steps, braces and
  // double-byte characters.
  fake::SetRegistryString(fake::kView32, kAppPaths + "a.exe", "",
                          "C:\\A\\..\\a.exe{?App\\a.exe}{?App\\a.exe}");
  fake::SetRegistryString(fake::kView32, kAppPaths + "a.exe", "PATH",
                          "C:\\A\\;\\;");
  fake::SetRegistryString(fake::kView64, kAppPaths + "b.exe", "",
                          "<Src>\\b.exe");
  fake::SetRegistryValue(fake::kView32, kAppPaths + "c.exe", "",
                         "C:\\unterminated");
  fake::SetRegistryString(fake::kView32, kAppPaths + MA ".exe", "",
                          "C:\\" SO "\\{" MA "}\\..\\" MA ".exe");
  fake::SetRegistryString(fake::kView32, kAppPaths + MA ".exe", "PATH",
                          "C:\\" SO ";\\" SO);
}

bool StartsChar(const TextString& text, int offset) {
  const char* p = text.Text();
  while (p < text.Text() + offset) p = platform::NextChar(p);
  return p == text.Text() + offset;
}

// Every separator and bracket the text operations find in `value` is a
// character of its own, and letter case is folded only in characters of
// their own.
void CheckCharacters(const TextString& value) {
  const char* text = value.Text();
  const int items = value.ItemCount("\\");
  for (int i = 0; i + 1 < items; ++i) {
    const char* begin;
    const char* end;
    Check(value.LocateItems(i, i, "\\", &begin, &end));
    Check(end[1] == '\\' &&
          StartsChar(value, static_cast<int>(end + 1 - text)));
  }
  const int groups = value.GroupCount("{", "}");
  for (int i = 0; i < groups; ++i) {
    const char* begin;
    const char* end;
    Check(value.LocateGroups(i, i, "{", "}", &begin, &end));
    Check(*begin == '{' && StartsChar(value, static_cast<int>(begin - text)));
  }
  TextString folder;
  if (DirectoryOf(text, &folder)) {
    Check(text[folder.Length()] == '\\' && StartsChar(value, folder.Length()));
  }
  // Swapping the case of every letter that is a character of its own keeps
  // the text equal; swapping a second byte's case makes it differ.
  std::string swapped(text);
  std::string trailSwapped(text);
  bool trailLetter = false;
  for (const char* p = text; *p; p = platform::NextChar(p)) {
    const size_t at = static_cast<size_t>(p - text);
    if (isalpha(static_cast<unsigned char>(*p))) swapped[at] ^= 0x20;
    if (platform::NextChar(p) == p + 2 &&
        isalpha(static_cast<unsigned char>(p[1]))) {
      trailSwapped[at + 1] ^= 0x20;
      trailLetter = true;
    }
  }
  Check(value.Equals(swapped.c_str()));
  if (trailLetter) Check(value.Differs(trailSwapped.c_str()));
}

// The group family's walk against the walk that started from the front for
// every group, for the brackets of both passes and a double-byte one.
void CheckGroups(const TextString& value) {
  static const char* const kBrackets[][2] = {{"<", ">"}, {"{", "}"}, {SO, MA}};
  for (size_t b = 0; b < sizeof kBrackets / sizeof kBrackets[0]; ++b) {
    const char* open = kBrackets[b][0];
    const char* close = kBrackets[b][1];
    const int count = value.GroupCount(open, close);
    Check(count == reference::GroupCount(value, open, close));
    // Both ends, and just past them.
    const int firsts[] = {-2, -1, 0, 1, count - 1, count, count + 1};
    for (size_t f = 0; f < sizeof firsts / sizeof firsts[0]; ++f) {
      const int first = firsts[f];
      for (int last = first - 1; last <= first + 2; ++last) {
        const char* begin = 0;
        const char* end = 0;
        int expectedBegin = -1;
        int expectedEnd = -1;
        const bool found =
            value.LocateGroups(first, last, open, close, &begin, &end);
        Check(found == reference::LocateGroups(value, first, last, open, close,
                                               &expectedBegin, &expectedEnd));
        if (found) {
          Check(begin - value.Text() == expectedBegin &&
                end - value.Text() == expectedEnd);
        }
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string tablePart = input.substr(0, split);
  const std::string valuePart =
      split == std::string::npos ? std::string() : input.substr(split + 1);

  fake::Reset();
  ClearSymbolTable();

  fake::AddFile(kIni, input);
  TextString lines;
  int count = 0;
  Check(ReadSettingSection(kIni, "DEFINE", &lines, &count));
  CheckSection(lines, count);
  TextString read;
  if (ReadSettingString(kIni, "DEFINE", "<A>", &read)) {
    // Read whole: never longer than the file it comes from.
    Check(static_cast<size_t>(read.Length()) <= input.size());
  }

  // The table as start-up builds it, from the table part as [DEFINE].
  fake::AddFile(kIni, "[DEFINE]\r\n" + tablePart);
  AddAppPaths();
  const TextString builtins[kBuiltinSymbolCount] = {
      TextString("C:\\WINNT"), TextString("C:\\WINNT\\system32"),
      TextString("D:\\" SO "=" MA "\\" SO), TextString(""),
      TextString("C:\\" SO "{" MA "}")};
  Check(LoadSymbolTable(kIni, builtins));
  for (int i = 0; i < kBuiltinSymbolCount; ++i) {
    TextString value;
    Check(LookupSymbol(kBuiltinSymbolNames[i], &value));
  }

  TextString value(valuePart.c_str());
  CheckCharacters(value);
  CheckGroups(value);
  TextString expected(value);
  bool expectedLimited = false;
  const ExpansionResult result = ExpandValue(&value);
  const bool expectedChanged =
      reference::ExpandValue(&expected, &expectedLimited);
  Check(result == (expectedLimited   ? kExpansionNotWhole
                   : expectedChanged ? kExpansionChanged
                                     : kExpansionUnchanged));
  Check(value.Equals(expected.Text()) &&
        strcmp(value.Text(), expected.Text()) == 0);
  CheckCharacters(value);
  Check(fake::OpenRegistryHandleCount() == 0);
  return 0;
}
