#include "checker/report.h"

#include <set>
#include <vector>

#include "base/text_string.h"
#include "platform/platform.h"

namespace checker {

namespace {

std::string JsonString(const std::string& ansi) {
  const std::string text = ToUtf8(ansi);
  std::string json = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += static_cast<char>(c);
    } else if (c < 0x20) {
      json += Printf("\\u%04x", c);
    } else {
      json += static_cast<char>(c);
    }
  }
  return json + "\"";
}

int CountOf(const std::vector<Finding>& findings, Severity severity,
            bool warningsAreErrors) {
  int count = 0;
  for (size_t i = 0; i < findings.size(); ++i) {
    if (ReportedSeverity(findings[i], warningsAreErrors) == severity) ++count;
  }
  return count;
}

std::string Counts(const std::vector<Finding>& findings,
                   bool warningsAreErrors) {
  return Printf("\"errors\": %d, \"warnings\": %d, \"notes\": %d",
                CountOf(findings, kError, warningsAreErrors),
                CountOf(findings, kWarning, warningsAreErrors),
                CountOf(findings, kNote, warningsAreErrors));
}

// Appends the UTF-8 form of an ANSI text; false when it holds a byte that is
// no character.
bool AppendUtf8(const char* ansi, std::string* utf8) {
  const unsigned needed = platform::TextToUtf8(ansi, 0, 0);
  if (needed == 0) return false;
  std::vector<char> buffer(needed);
  if (platform::TextToUtf8(ansi, &buffer[0], needed) != needed) return false;
  *utf8 += &buffer[0];
  return true;
}

}  // namespace

Severity ReportedSeverity(const Finding& finding, bool warningsAreErrors) {
  const Severity severity = InfoOf(finding.code).severity;
  return warningsAreErrors && severity == kWarning ? kError : severity;
}

std::string ToUtf8(const std::string& ansi) {
  std::string utf8;
  if (AppendUtf8(ansi.c_str(), &utf8)) return utf8;
  // Character by character: only what is no character becomes "?".
  utf8.clear();
  for (const char* p = ansi.c_str(); *p;) {
    const char* next = NextTextChar(p);
    if (!AppendUtf8(std::string(p, next).c_str(), &utf8)) utf8 += '?';
    p = next;
  }
  return utf8;
}

std::string TextReport(const FileReport& report, ReportFormat format,
                       bool warningsAreErrors, bool utf8) {
  std::string text;
  for (size_t i = 0; i < report.findings.size(); ++i) {
    const Finding& finding = report.findings[i];
    std::string line =
        Printf(format == kMsvcFormat ? "%s(%u): %s %s: " : "%s:%u: %s %s: ",
               report.file.c_str(), finding.line,
               SeverityName(ReportedSeverity(finding, warningsAreErrors)),
               InfoOf(finding.code).id);
    if (!finding.section.empty()) {
      line += "[" + finding.section + "]";
      line += finding.key.empty() ? ": " : " " + finding.key + ": ";
    }
    line += finding.message;
    text += (utf8 ? ToUtf8(line) : line) + "\n";
  }
  return text;
}

std::string CodePointers(const std::vector<FileReport>& reports) {
  std::set<int> codes;
  for (size_t r = 0; r < reports.size(); ++r) {
    for (size_t i = 0; i < reports[r].findings.size(); ++i) {
      codes.insert(reports[r].findings[i].code);
    }
  }
  if (codes.empty()) return std::string();
  std::string line = "explained in";
  for (std::set<int>::const_iterator c = codes.begin(); c != codes.end(); ++c) {
    line +=
        (c == codes.begin() ? " " : ", ") + DocAnchor(static_cast<Code>(*c));
  }
  return line + "\n";
}

std::string JsonReport(const std::vector<FileReport>& reports,
                       bool warningsAreErrors) {
  std::vector<Finding> all;
  std::string json = "{\n  \"files\": [";
  for (size_t r = 0; r < reports.size(); ++r) {
    const FileReport& report = reports[r];
    all.insert(all.end(), report.findings.begin(), report.findings.end());
    json += r == 0 ? "\n" : ",\n";
    json += "    {\"file\": " + JsonString(report.file) + ", " +
            Counts(report.findings, warningsAreErrors) + ", \"findings\": [";
    for (size_t i = 0; i < report.findings.size(); ++i) {
      const Finding& finding = report.findings[i];
      json += i == 0 ? "\n" : ",\n";
      json += Printf(
          "      {\"line\": %u, \"severity\": \"%s\", \"code\": \"%s\", ",
          finding.line,
          SeverityName(ReportedSeverity(finding, warningsAreErrors)),
          InfoOf(finding.code).id);
      json += "\"section\": " + JsonString(finding.section) +
              ", \"key\": " + JsonString(finding.key) +
              ", \"message\": " + JsonString(finding.message);
      if (finding.hasBox) {
        json += Printf(", \"box\": {\"id\": %d, \"args\": [",
                       static_cast<int>(finding.box.id));
        for (size_t a = 0; a < finding.box.args.size(); ++a) {
          json += (a ? ", " : "") + JsonString(finding.box.args[a]);
        }
        json += "]}";
      }
      json += "}";
    }
    json += report.findings.empty() ? "]}" : "\n    ]}";
  }
  json += reports.empty() ? "],\n" : "\n  ],\n";
  return json + "  " + Counts(all, warningsAreErrors) + "\n}\n";
}

}  // namespace checker
