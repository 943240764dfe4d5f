// Start-up against the size of [DEFINE], on the host build's core and the
// fake platform: for 1,000 to 16,000 symbol lines (each
// "<SymK>=<Programs>\Vendor\ToolK\bin", expanded at start-up), the fastest
// of several runs of loading the symbol table, and of reading one value
// that names every symbol once. Printed with the growth from the smallest
// to the largest size: the file's own growth (16x) or less means linear.
//   define_bench [RUNS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/process_state.h"
#include "app/startup.h"
#include "settings/param_reader.h"
#include "settings/symbol_table.h"
#include "tests/fake/fake_world.h"

namespace {

const char kSettings[] = "C:\\Tools\\updater.ini";
const int kSizes[] = {1000, 2000, 4000, 8000, 16000};
const int kSizeCount = sizeof kSizes / sizeof kSizes[0];

std::string SettingsWith(int lines) {
  std::string value;
  std::string define;
  for (int k = 1; k <= lines; ++k) {
    const std::string name = "<Sym" + std::to_string(k) + ">";
    value += (k > 1 ? "," : "") + name + "\\x.exe";
    define +=
        name + "=<Programs>\\Vendor\\Tool" + std::to_string(k) + "\\bin\r\n";
  }
  return "[UPDATER]\r\nNAME=Bench\r\nPROC=P\r\n[P]\r\nMODE=EXIST\r\nFILE=" +
         value + "\r\n[DEFINE]\r\n" + define;
}

double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now() - since)
      .count();
}

// One start-up on `settings`: the times of loading the symbol table and of
// reading the value; false when either was refused.
bool TimeOnce(const std::string& settings, int lines, double* load,
              double* read) {
  fake::Reset();
  fake::AddFile(kSettings, settings);
  ResetProcessState();
  ModulePath.Set("C:\\Tools\\updater.exe");
  SettingsPath.Set(kSettings);
  std::chrono::steady_clock::time_point start =
      std::chrono::steady_clock::now();
  const bool loaded = DefineBuiltinSymbols() && SymbolCount() >= lines;
  *load = Milliseconds(start);
  start = std::chrono::steady_clock::now();
  TextString value;
  const bool whole = ReadParam("P", "FILE", &value);
  *read = Milliseconds(start);
  return loaded && whole;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  std::string settings[kSizeCount];
  double load[kSizeCount];
  double read[kSizeCount];
  for (int s = 0; s < kSizeCount; ++s) {
    settings[s] = SettingsWith(kSizes[s]);
    load[s] = read[s] = 1e30;
  }
  // In rounds, every size once per round, so that the machine's other load
  // falls on all sizes alike; each size's fastest run counts.
  for (int r = 0; r < runs; ++r) {
    for (int s = 0; s < kSizeCount; ++s) {
      double loading = 0;
      double reading = 0;
      if (!TimeOnce(settings[s], kSizes[s], &loading, &reading)) {
        std::fprintf(stderr, "%d lines: not loaded whole\n", kSizes[s]);
        return 1;
      }
      if (loading < load[s]) load[s] = loading;
      if (reading < read[s]) read[s] = reading;
    }
  }
  for (int s = 0; s < kSizeCount; ++s) {
    std::printf(
        "%6d lines: start-up %7.2f ms, a value naming each "
        "%7.2f ms\n",
        kSizes[s], load[s], read[s]);
  }
  const int last = kSizeCount - 1;
  std::printf(
      "growth from %d to %d lines (%dx the file), fastest of %d runs: "
      "start-up %.1fx, the value %.1fx\n",
      kSizes[0], kSizes[last], kSizes[last] / kSizes[0], runs,
      load[last] / load[0], read[last] / read[0]);
  std::printf(
      "start-up per doubling of the file (2x when linear, 4x when "
      "quadratic):");
  for (int s = 1; s < kSizeCount; ++s) {
    std::printf(" %.1fx", load[s] / load[s - 1]);
  }
  std::printf("\n");
  ResetProcessState();
  fake::Reset();
  return 0;
}
