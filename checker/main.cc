// updater-check: reports every problem of settings files that can be found
// before they ship.
//
//   updater-check [--format=text|msvc|json | --json | --graph] [--werror]
//                 [--here] [--family=nt|95] [--exclude=U035,...] FILE...
//
// Exit code: 0 no findings, 1 warnings only, 2 errors, 3 a wrong command
// line. Notes (what --here found out) change nothing.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "checker/checker.h"
#include "checker/codes.h"
#include "checker/graph.h"
#include "checker/report.h"
#include "platform/c_library.h"
#include "platform/platform.h"
#include "platform/tool_files.h"
#ifndef _WIN32
#include "platform/posix/served_profile.h"
#endif
#include "res/version.h"

namespace {

#ifdef _WIN32
// The console shows the ANSI code page, the settings file's own.
const bool kTextInUtf8 = false;
const bool kHereAvailable = true;
#else
const bool kTextInUtf8 = true;
const bool kHereAvailable = false;
#endif

const int kExitClean = 0;
const int kExitWarnings = 1;
const int kExitErrors = 2;
const int kExitUsage = 3;

const char kUsage[] =
    "usage: updater-check [options] FILE...\n"
    "Reports every problem of updater settings files that can be found\n"
    "without running them.\n"
    "\n"
    "  --format=text   file:line: error U012: ... (the default)\n"
    "  --format=msvc   file(line): error U012: ... (Visual Studio's form)\n"
    "  --format=json, --json\n"
    "                  the findings as JSON\n"
    "  --graph         the flow of one file as Graphviz DOT (findings go to\n"
    "                  standard error)\n"
    "  --werror        warnings count as errors\n"
    "  --family=nt|95  the Windows family to judge for: the NT family\n"
    "                  (2000 and later) or 95, 98 and Me; on Windows the\n"
    "                  running system's, elsewhere nt\n"
    "  --exclude=U035,U040\n"
    "                  never report these codes\n"
    "  --here          (Windows) also what a run on this PC would meet;\n"
    "                  nothing is changed, started or shown\n"
    "  --list-codes    every finding code with its severity\n"
    "  --version       the version number\n"
    "\n"
    "In a settings file, a comment line '; updater-check: disable=U035'\n"
    "silences U035 on the next line, 'disable-file=U035' in the whole file.\n"
    "\n"
    "Exit code: 0 no findings, 1 warnings only, 2 errors, 3 wrong usage.\n";

struct Options {
  checker::ReportFormat format;
  bool graph;
  bool werror;
  checker::CheckOptions check;
  std::vector<std::string> files;
};

// The codes of "U035,U040"; false after naming one that is no code.
bool ParseCodes(const std::string& list, std::vector<checker::Code>* codes) {
  for (size_t start = 0; start <= list.size();) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    const std::string id = list.substr(start, comma - start);
    start = comma + 1;
    checker::Code code;
    if (!checker::CodeOf(id, &code)) {
      fprintf(stderr, "updater-check: '%s' is no code (--list-codes)\n",
              id.c_str());
      return false;
    }
    codes->push_back(code);
  }
  return true;
}

void Write(FILE* stream, const std::string& text) {
  fwrite(text.data(), 1, text.size(), stream);
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, strlen(prefix), prefix) == 0;
}

int ParseArguments(const std::vector<std::string>& arguments,
                   Options* options) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--json" || argument == "--format=json") {
      options->format = checker::kJsonFormat;
    } else if (argument == "--format=text") {
      options->format = checker::kTextFormat;
    } else if (argument == "--format=msvc") {
      options->format = checker::kMsvcFormat;
    } else if (argument == "--graph") {
      options->graph = true;
    } else if (argument == "--werror") {
      options->werror = true;
    } else if (argument == "--here") {
      options->check.here = true;
    } else if (argument == "--family=nt" || argument == "--family=NT") {
      platform::AssumePlatformId(platform::kPlatformWin32Nt);
    } else if (argument == "--family=95") {
      platform::AssumePlatformId(platform::kPlatformWin32Windows);
    } else if (StartsWith(argument, "--exclude=")) {
      if (!ParseCodes(argument.substr(10), &options->check.excluded)) {
        return kExitUsage;
      }
    } else if (argument == "--help" || argument == "-h") {
      Write(stdout, kUsage);
      exit(kExitClean);
    } else if (argument == "--version") {
      printf("updater-check %s\n", UPDATER_VERSION_TEXT);
      exit(kExitClean);
    } else if (argument == "--list-codes") {
      for (int c = 0; c < checker::kCodeCount; ++c) {
        const checker::Code code = static_cast<checker::Code>(c);
        const checker::CodeInfo& info = checker::InfoOf(code);
        printf("%s %-7s %s (%s)\n", info.id,
               checker::SeverityName(info.severity), info.title,
               checker::DocAnchor(code).c_str());
      }
      exit(kExitClean);
    } else if (argument.size() > 1 && argument[0] == '-') {
      fprintf(stderr, "updater-check: unknown option %s\n%s", argument.c_str(),
              kUsage);
      return kExitUsage;
    } else {
      options->files.push_back(argument);
    }
  }
  if (options->files.empty()) {
    Write(stderr, kUsage);
    return kExitUsage;
  }
  if (options->format == checker::kJsonFormat && options->graph) {
    fprintf(stderr, "updater-check: --json and --graph exclude each other\n");
    return kExitUsage;
  }
  if (options->graph && options->files.size() != 1) {
    fprintf(stderr, "updater-check: --graph draws one file\n");
    return kExitUsage;
  }
  if (options->check.here && !kHereAvailable) {
    fprintf(stderr,
            "updater-check: --here examines the Windows PC the updater will "
            "run on: run updater-check.exe there\n");
    return kExitUsage;
  }
  return kExitClean;
}

}  // namespace

int main(int argc, char** argv) {
  // --here looks for files on drives that may have no disk in them: no
  // system box may ask for one.
  platform::QuietCriticalErrors();
  Options options;
  options.format = checker::kTextFormat;
  options.graph = false;
  options.werror = false;
  const int usage =
      ParseArguments(platform::ToolArguments(argc, argv), &options);
  if (usage != kExitClean) return usage;

  std::vector<checker::FileReport> reports;
  std::string graph;
  bool warnings = false;
  bool errors = false;
  for (size_t f = 0; f < options.files.size(); ++f) {
    checker::FileReport report;
    report.file = options.files[f];
    checker::Findings findings;
    checker::Flow flow;
    std::string bytes;
    if (!platform::ReadWholeFile(report.file.c_str(), &bytes)) {
      findings.Add(1, "", "", checker::kUnreadable, "the file cannot be read");
    } else {
      // The full path the profile functions need: a bare name would be
      // looked for in the Windows folder.
      const std::string path = platform::FullPathOf(report.file);
#ifndef _WIN32
      // Read once: the profile functions answer from these bytes.
      platform::ServeProfileText(path, bytes);
#endif
      checker::CheckSettings(path, bytes, options.check, &findings, &flow);
    }
    if (options.graph) graph = checker::FlowGraph(flow);
    report.findings = findings.Sorted();
    for (size_t i = 0; i < report.findings.size(); ++i) {
      const checker::Severity severity =
          checker::ReportedSeverity(report.findings[i], options.werror);
      errors = errors || severity == checker::kError;
      warnings = warnings || severity == checker::kWarning;
    }
    reports.push_back(report);
  }

  if (options.format == checker::kJsonFormat) {
    Write(stdout, checker::JsonReport(reports, options.werror));
  } else {
    FILE* stream = options.graph ? stderr : stdout;
    for (size_t r = 0; r < reports.size(); ++r) {
      Write(stream, checker::TextReport(reports[r], options.format,
                                        options.werror, kTextInUtf8));
    }
    Write(stream, checker::CodePointers(reports));
  }
  if (options.graph) Write(stdout, graph);
  return errors ? kExitErrors : warnings ? kExitWarnings : kExitClean;
}
