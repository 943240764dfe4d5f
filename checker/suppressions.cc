#include "checker/suppressions.h"

#include <string>

namespace checker {

namespace {

const char kDirective[] = "updater-check:";

struct Suppression {
  unsigned line;    // of the comment
  unsigned target;  // the line it silences; 0: the whole file
  Code code;
  bool used;
};

bool IsComment(const TextLine& line) {
  return !line.name.empty() && line.name[0] == ';';
}

std::string Trimmed(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  const size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

// The suppressions of one comment line; false when it is no directive.
bool ParseDirective(const TextLine& comment, unsigned target,
                    std::vector<Suppression>* found, Findings* findings) {
  const std::string whole = comment.kind == platform::ProfileLine::kKey
                                ? comment.name + "=" + comment.value
                                : comment.name;
  const std::string text = Trimmed(whole.substr(1));
  if (text.compare(0, sizeof kDirective - 1, kDirective) != 0) return false;
  const std::string rest = Trimmed(text.substr(sizeof kDirective - 1));
  const size_t equals = rest.find('=');
  const std::string verb = Trimmed(rest.substr(0, equals));
  if (equals == std::string::npos ||
      (verb != "disable" && verb != "disable-file")) {
    findings->Add(comment.number, "", "", kSuppressionUnused,
                  Printf("'%s' is no directive: write "
                         "'; updater-check: disable=U035' or "
                         "'disable-file=U035'",
                         text.c_str()));
    return true;
  }
  const std::string codes = rest.substr(equals + 1);
  for (size_t start = 0; start <= codes.size();) {
    size_t comma = codes.find(',', start);
    if (comma == std::string::npos) comma = codes.size();
    const std::string id = Trimmed(codes.substr(start, comma - start));
    start = comma + 1;
    Code code;
    if (!CodeOf(id, &code)) {
      findings->Add(comment.number, "", "", kSuppressionUnused,
                    Printf("'%s' names no code of updater-check", id.c_str()));
      continue;
    }
    const Suppression suppression = {
        comment.number, verb == "disable" ? target : 0, code, false};
    found->push_back(suppression);
  }
  return true;
}

}  // namespace

void ApplySuppressions(const SettingsText& text,
                       const std::vector<Code>& excluded, Findings* findings) {
  std::vector<Suppression> suppressions;
  const std::vector<TextLine>& lines = text.Lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!IsComment(lines[i])) continue;
    // The next line that is no comment (blank lines are no lines here).
    size_t next = i + 1;
    while (next < lines.size() && IsComment(lines[next])) ++next;
    const unsigned target =
        next < lines.size() ? lines[next].number : lines[i].number;
    std::vector<Suppression> found;
    if (!ParseDirective(lines[i], target, &found, findings)) continue;
    suppressions.insert(suppressions.end(), found.begin(), found.end());
  }
  findings->KeepIf([&](const Finding& finding) {
    if (finding.code == kSuppressionUnused) return true;
    bool silenced = false;
    for (size_t s = 0; s < suppressions.size(); ++s) {
      if (suppressions[s].code == finding.code &&
          (suppressions[s].target == 0 ||
           suppressions[s].target == finding.line)) {
        suppressions[s].used = silenced = true;
      }
    }
    return !silenced;
  });
  for (size_t s = 0; s < suppressions.size(); ++s) {
    if (suppressions[s].used) continue;
    const char* id = InfoOf(suppressions[s].code).id;
    findings->Add(suppressions[s].line, "", "", kSuppressionUnused,
                  suppressions[s].target == 0
                      ? Printf("disable-file=%s silences nothing: the file has "
                               "no %s",
                               id, id)
                      : Printf("disable=%s silences nothing: line %u has no "
                               "%s",
                               id, suppressions[s].target, id));
  }
  // The file's own suppressions of U090, then the command line's.
  findings->KeepIf([&](const Finding& finding) {
    for (size_t s = 0; s < suppressions.size(); ++s) {
      if (suppressions[s].code == kSuppressionUnused &&
          suppressions[s].target == 0 && finding.code == kSuppressionUnused) {
        return false;
      }
    }
    for (size_t e = 0; e < excluded.size(); ++e) {
      if (excluded[e] == finding.code) return false;
    }
    return true;
  });
}

}  // namespace checker
