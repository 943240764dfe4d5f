// updater-check: reports every problem of settings files that can be found
// before they ship.
//
//   updater-check [--json | --graph] [--werror] [--here] FILE...
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
#include "platform/platform.h"
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
    "  --json        the findings as JSON\n"
    "  --graph       the flow of one file as Graphviz DOT (findings go to\n"
    "                standard error)\n"
    "  --werror      warnings count as errors\n"
    "  --here        (Windows) also what a run on this PC would meet;\n"
    "                nothing is changed, started or shown\n"
    "  --list-codes  every finding code with its severity\n"
    "  --version     the version number\n"
    "\n"
    "Exit code: 0 no findings, 1 warnings only, 2 errors, 3 wrong usage.\n";

struct Options {
  bool json;
  bool graph;
  bool werror;
  bool here;
  std::vector<std::string> files;
};

void Write(FILE* stream, const std::string& text) {
  fwrite(text.data(), 1, text.size(), stream);
}

bool ReadWhole(const std::string& path, std::string* bytes) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return false;
  char chunk[4096];
  size_t got = 0;
  while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) {
    bytes->append(chunk, got);
  }
  const bool ok = !ferror(file);
  fclose(file);
  return ok;
}

// The full path the profile functions need: a bare name would be looked
// for in the Windows folder.
std::string FullPath(const std::string& path) {
#ifdef _WIN32
  char full[_MAX_PATH];
  if (_fullpath(full, path.c_str(), sizeof(full))) return full;
#else
  char* full = realpath(path.c_str(), 0);
  if (full) {
    const std::string result = full;
    free(full);
    return result;
  }
#endif
  return path;
}

int ParseArguments(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--json") {
      options->json = true;
    } else if (argument == "--graph") {
      options->graph = true;
    } else if (argument == "--werror") {
      options->werror = true;
    } else if (argument == "--here") {
      options->here = true;
    } else if (argument == "--help" || argument == "-h") {
      Write(stdout, kUsage);
      exit(kExitClean);
    } else if (argument == "--version") {
      printf("updater-check %s\n", UPDATER_VERSION_TEXT);
      exit(kExitClean);
    } else if (argument == "--list-codes") {
      for (int c = 0; c < checker::kCodeCount; ++c) {
        const checker::CodeInfo& info =
            checker::InfoOf(static_cast<checker::Code>(c));
        printf("%s %-7s %s\n", info.id, checker::SeverityName(info.severity),
               info.title);
      }
      exit(kExitClean);
    } else if (argument.size() > 1 && argument[0] == '-') {
      fprintf(stderr, "updater-check: unknown option %s\n%s", argv[i], kUsage);
      return kExitUsage;
    } else {
      options->files.push_back(argument);
    }
  }
  if (options->files.empty()) {
    Write(stderr, kUsage);
    return kExitUsage;
  }
  if (options->json && options->graph) {
    fprintf(stderr, "updater-check: --json and --graph exclude each other\n");
    return kExitUsage;
  }
  if (options->graph && options->files.size() != 1) {
    fprintf(stderr, "updater-check: --graph draws one file\n");
    return kExitUsage;
  }
  if (options->here && !kHereAvailable) {
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
  Options options = {false, false, false, false, std::vector<std::string>()};
  const int usage = ParseArguments(argc, argv, &options);
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
    if (!ReadWhole(report.file, &bytes)) {
      findings.Add(1, "", "", checker::kUnreadable, "the file cannot be read");
    } else {
      checker::CheckSettings(FullPath(report.file), bytes, options.here,
                             &findings, &flow);
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

  if (options.json) {
    Write(stdout, checker::JsonReport(reports, options.werror));
  } else {
    for (size_t r = 0; r < reports.size(); ++r) {
      Write(options.graph ? stderr : stdout,
            checker::TextReport(reports[r], options.werror, kTextInUtf8));
    }
  }
  if (options.graph) Write(stdout, checker::ToUtf8(graph));
  return errors ? kExitErrors : warnings ? kExitWarnings : kExitClean;
}
