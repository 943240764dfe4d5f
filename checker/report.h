// The findings as text lines in the form compilers use, or as JSON.
#ifndef UPDATER_CHECKER_REPORT_H_
#define UPDATER_CHECKER_REPORT_H_

#include <string>
#include <vector>

#include "checker/findings.h"

namespace checker {

struct FileReport {
  std::string file;  // as given on the command line
  std::vector<Finding> findings;
};

// The severity a finding is reported with: warnings become errors with
// `warningsAreErrors`.
Severity ReportedSeverity(const Finding& finding, bool warningsAreErrors);

// "file:line: error U012: [COPY1] TO: message", one line per finding. Texts
// of the settings file are passed as they are (code page 932) or, with
// `utf8`, converted.
std::string TextReport(const FileReport& report, bool warningsAreErrors,
                       bool utf8);

// One JSON document for all files, UTF-8.
std::string JsonReport(const std::vector<FileReport>& reports,
                       bool warningsAreErrors);

// Code page 932 text as UTF-8; bytes that are no characters become "?".
std::string ToUtf8(const std::string& ansi);

}  // namespace checker

#endif  // UPDATER_CHECKER_REPORT_H_
