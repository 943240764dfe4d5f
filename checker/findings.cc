#include "checker/findings.h"

#include <stdarg.h>
#include <stdio.h>

#include <algorithm>

namespace checker {

Box MakeBox(MessageId id, const std::string& a) {
  Box box;
  box.id = id;
  box.args.push_back(a);
  return box;
}

Box MakeBox(MessageId id, const std::string& a, const std::string& b) {
  Box box = MakeBox(id, a);
  box.args.push_back(b);
  return box;
}

namespace {

bool SameFinding(const Finding& a, const Finding& b) {
  return a.line == b.line && a.code == b.code && a.section == b.section &&
         a.key == b.key && a.message == b.message;
}

bool ByLine(const Finding& a, const Finding& b) { return a.line < b.line; }

}  // namespace

void Findings::Add(unsigned line, const std::string& section,
                   const std::string& key, Code code,
                   const std::string& message) {
  Finding finding;
  finding.line = line == 0 ? 1 : line;
  finding.section = section;
  finding.key = key;
  finding.code = code;
  finding.message = message;
  finding.hasBox = false;
  finding.box.id = MSG_FILE_NOT_FOUND;
  for (size_t i = 0; i < found_.size(); ++i) {
    if (SameFinding(found_[i], finding)) return;
  }
  found_.push_back(finding);
}

void Findings::AddWithBox(unsigned line, const std::string& section,
                          const std::string& key, Code code,
                          const std::string& message, const Box& box) {
  Add(line, section, key, code, message);
  for (size_t i = 0; i < found_.size(); ++i) {
    if (found_[i].code == code && found_[i].message == message &&
        found_[i].section == section && found_[i].key == key &&
        !found_[i].hasBox) {
      found_[i].hasBox = true;
      found_[i].box = box;
    }
  }
}

std::vector<Finding> Findings::Sorted() const {
  std::vector<Finding> sorted = found_;
  std::stable_sort(sorted.begin(), sorted.end(), ByLine);
  return sorted;
}

int Findings::Count(Severity severity) const {
  int count = 0;
  for (size_t i = 0; i < found_.size(); ++i) {
    if (InfoOf(found_[i].code).severity == severity) ++count;
  }
  return count;
}

std::string Printf(const char* format, ...) {
  char text[2048];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

}  // namespace checker
