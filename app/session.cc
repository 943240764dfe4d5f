// The whole life of the process: the command line's switches, the log, one
// run per folder, start-up, the run, and the exit code.
#include <string.h>

#include <new>

#include "app/command_switches.h"
#include "app/proc_driver.h"
#include "app/process_state.h"
#include "app/single_run.h"
#include "app/startup.h"
#include "commands/copy_journal.h"
#include "commands/file_in_use.h"
#include "commands/msgbox.h"
#include "platform/platform.h"
#include "platform/program_main.h"
#include "res/version.h"
#include "settings/exit_code.h"
#include "settings/messages.h"
#include "settings/run_log.h"

namespace {

// The executable's file name without its extension, for a log in the
// temporary folder. The directory listing gives the name itself, so no
// byte of a double-byte character is taken for a backslash.
TextString ExecutableStem() {
  char path[platform::kMaxPath] = {0};
  platform::ModuleFileName(path, sizeof path - 1);
  platform::FindEntry entry;
  platform::FileSearch search;
  if (!search.First(path, &entry)) return TextString("updater");
  // All before the last dot, which is never the second byte of a
  // double-byte character.
  const char* dot = strrchr(entry.name, '.');
  return dot ? TextOfSpan(entry.name, dot - 1) : TextString(entry.name);
}

void OpenLog(const CommandSwitches& switches) {
  if (!switches.log) return;
  if (switches.logPath.Length() != 0)
    OpenRunLog(switches.logPath.Text());
  else
    OpenNewRunLog(ExecutableStem().Text());
}

void LogHeader(const char* commandLine) {
  if (!RunLogIsOpen()) return;
  LogFormat("updater %s, %d-bit build, arguments: %s", UPDATER_VERSION_TEXT,
            static_cast<int>(sizeof(void*) * 8), commandLine);
  platform::SystemVersion version;
  platform::GetSystemVersion(&version);
  const platform::Elevation elevation = platform::ProcessElevation();
  LogFormat("Windows %u.%u.%u (%s family), elevated: %s", version.major,
            version.minor, version.build,
            version.platformId == platform::kPlatformWin32Nt ? "NT" : "95",
            elevation == platform::kElevated      ? "yes"
            : elevation == platform::kNotElevated ? "no"
                                                  : "unknown");
}

ExitCode Run(const char* commandLine) {
  if (!Initialize(commandLine)) return kExitStartupFailed;
  platform::KernelObject runGuard;
  if (!ClaimSingleRun(ModulePath.Text(), &runGuard)) {
    TextString folder(ModulePath);
    DirectoryOf(ModulePath.Text(), &folder);
    ShowError(MSG_ALREADY_RUNNING, folder.Text());
    return kExitAlreadyRunning;
  }
  // Only now: another run's journal is never touched while it runs.
  if (!FinishInterruptedCopy()) return kExitProcedureFailed;
  if (RunUpdater()) return kExitDone;
  // Every stop tells its cause; a failure that did not still fails.
  const ExitCode cause = StopCause();
  return cause != kExitDone ? cause : kExitProcedureFailed;
}

}  // namespace

// The exit code is one of settings/exit_code.h.
int UpdaterMain(const char* commandLine) {
  platform::HardenDllSearch();
  platform::ScopedCom com;
  CommandSwitches switches;
  ReadCommandSwitches(commandLine, &switches);
  SetSilentMode(switches.silent);
  SetMessageLanguage(switches.language);
  SetInUseWait(switches.waitSeconds);
  OpenLog(switches);
  LogHeader(commandLine);
  int code = Run(commandLine);
  FreeAllProcLists();  // before `com` goes: COM outlives every record
  if (code == kExitDone && RestartNeeded()) {
    // Never restarted here: the tool that started the run decides.
    code = static_cast<int>(switches.restartCode);
    LogFormat("a restart is needed (%s)",
              switches.restartCodeGiven ? "/RESTARTEXITCODE"
                                        : "no /RESTARTEXITCODE: exit code 0");
  }
  LogFormat("exit code %u", static_cast<unsigned>(code));
  CloseRunLog();
  return code;
}
