#include "checker/file_checks.h"

#include <string.h>

#include "platform/profile_text.h"
#include "platform/text_rules.h"

namespace checker {

namespace {

// Whether the bytes are valid UTF-8 holding at least one character beyond
// ASCII: such a line was saved as UTF-8, which Shift-JIS text almost never
// happens to be.
bool IsUtf8BeyondAscii(const unsigned char* text, size_t length) {
  bool beyond = false;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = text[i];
    if (c < 0x80) continue;
    size_t follow;
    if (c >= 0xC2 && c <= 0xDF) {
      follow = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      follow = 2;
    } else if (c >= 0xF0 && c <= 0xF4) {
      follow = 3;
    } else {
      return false;
    }
    if (i + follow >= length) return false;
    for (size_t k = 1; k <= follow; ++k) {
      if ((text[i + k] & 0xC0) != 0x80) return false;
    }
    i += follow;
    beyond = true;
  }
  return beyond;
}

struct FirstOf {
  unsigned line;
  unsigned count;
};

}  // namespace

bool CheckEncoding(const std::string& bytes, Findings* findings) {
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    findings->Add(1, "", "", kUtf8Bom,
                  "the file starts with a UTF-8 byte-order mark: Windows reads "
                  "it as part of the first line; save the file as Shift-JIS "
                  "(code page 932) without one");
    return false;
  }
  const bool utf16Mark =
      bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                            (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
  if (utf16Mark || memchr(bytes.data(), '\0', bytes.size()) != 0) {
    findings->Add(1, "", "", kUtf16,
                  utf16Mark
                      ? "the file is UTF-16: Windows 95, 98 and Me cannot "
                        "read it; save it as Shift-JIS (code page 932)"
                      : "the file holds zero bytes (UTF-16 or binary): "
                        "save it as Shift-JIS (code page 932)");
    return false;
  }
  FirstOf utf8 = {0, 0};
  FirstOf invalid = {0, 0};
  // Numbered as the profile functions split lines.
  unsigned position = 0;
  unsigned length = 0;
  for (unsigned number = 1;; ++number) {
    const char* line = bytes.data() + position;
    if (!platform::NextProfileLine(bytes.data(),
                                   static_cast<unsigned>(bytes.size()),
                                   &position, &length)) {
      break;
    }
    FirstOf* found = 0;
    if (IsUtf8BeyondAscii(reinterpret_cast<const unsigned char*>(line),
                          length)) {
      found = &utf8;
    } else if (!platform::IsValidText932(line, length)) {
      found = &invalid;
    }
    if (found && found->count++ == 0) found->line = number;
  }
  if (utf8.count != 0) {
    findings->Add(utf8.line, "", "", kNotCodePage932,
                  Printf("the text is UTF-8 (%u line%s): the updater reads the "
                         "ANSI code page, so its boxes and paths would show "
                         "other characters; save the file as Shift-JIS",
                         utf8.count, utf8.count == 1 ? "" : "s"));
  }
  if (invalid.count != 0) {
    findings->Add(invalid.line, "", "", kNotCodePage932,
                  Printf("bytes that are no Shift-JIS (code page 932) "
                         "characters (%u line%s)",
                         invalid.count, invalid.count == 1 ? "" : "s"));
  }
  return true;
}

void CheckLines(const SettingsText& text, Findings* findings) {
  const std::vector<TextLine>& lines = text.Lines();
  const std::vector<TextSection>& sections = text.Sections();
  for (size_t i = 0; i < lines.size(); ++i) {
    const TextLine& line = lines[i];
    const bool comment = !line.name.empty() && line.name[0] == ';';
    if (line.kind == platform::ProfileLine::kHeader) {
      const TextSection& section = sections[line.section];
      if (section.first != line.section) {
        findings->Add(line.number, line.name, "", kDuplicateSection,
                      Printf("[%s] appears again: only the first, on line %u, "
                             "is read",
                             line.name.c_str(), sections[section.first].line));
      }
      continue;
    }
    if (comment) continue;
    if (line.name[0] == '[') {
      findings->Add(line.number, "", "", kHeaderWithoutClose,
                    Printf("'%s' has no ']': it is no section header",
                           line.name.c_str()));
      continue;
    }
    if (line.section < 0) {
      findings->Add(line.number, "", "", kTextBeforeHeader,
                    Printf("'%s' stands before the first section header: "
                           "nothing reads it",
                           line.name.c_str()));
      continue;
    }
    // Later keys of a read section: the first of a name hides them.
    const TextSection& section = sections[line.section];
    if (section.first != line.section) continue;
    const TextLine* first = text.KeyLine(section.name, line.name);
    if (first != 0 && first != &line &&
        line.kind == platform::ProfileLine::kKey) {
      findings->Add(line.number, section.name, line.name, kDuplicateKey,
                    Printf("%s appears again: only line %u is read",
                           line.name.c_str(), first->number));
    }
  }
}

}  // namespace checker
