// The findings as text lines in the form compilers use, or as JSON.
#ifndef UPDATER_CHECKER_REPORT_H_
#define UPDATER_CHECKER_REPORT_H_

#include <string>
#include <vector>

#include "checker/findings.h"

namespace checker {

enum ReportFormat {
  kTextFormat,  // "file:line: error U012: ...", as compilers write
  kMsvcFormat,  // "file(line): error U012: ...", as Visual Studio reads
  kJsonFormat
};

struct FileReport {
  std::string file;  // as given on the command line
  std::vector<Finding> findings;
};

// The severity a finding is reported with: warnings become errors with
// `warningsAreErrors`.
Severity ReportedSeverity(const Finding& finding, bool warningsAreErrors);

// "file:line: error U012: [COPY1] TO: message" (or "file(line): ..."), one
// line per finding. Texts of the settings file are passed as they are (code
// page 932) or, with `utf8`, converted.
std::string TextReport(const FileReport& report, ReportFormat format,
                       bool warningsAreErrors, bool utf8);

// After the text lines: where each code found is explained, one line naming
// the anchors of docs/checks.md ("" when nothing was found).
std::string CodePointers(const std::vector<FileReport>& reports);

// One JSON document for all files, UTF-8.
std::string JsonReport(const std::vector<FileReport>& reports,
                       bool warningsAreErrors);

// Code page 932 text as UTF-8; each byte that is no character becomes "?",
// the rest of the text is converted.
std::string ToUtf8(const std::string& ansi);

}  // namespace checker

#endif  // UPDATER_CHECKER_REPORT_H_
