#include "commands/launch.h"

#include <cstring>
#include <new>

#include "commands/exit_code_list.h"
#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/exit_code.h"
#include "settings/messages.h"
#include "settings/param_reader.h"
#include "settings/run_log.h"

namespace {

bool IsEnclosedInQuotes(const TextString& text) {
  const int length = text.Length();
  return length >= 2 && text.Text()[0] == '"' && text.Text()[length - 1] == '"';
}

// The program part of the command line. Without an application name
// CreateProcessA splits an unquoted path at each blank and tries every
// prefix, so "C:\Program Files\x.exe" would first run a planted
// "C:\Program.exe": a path with a blank or tab is enclosed in quotes.
// A path that is already enclosed stays as written.
bool ProgramPart(const TextString& path, const TextString& bare,
                 TextString* out) {
  // A blank or a tab is never the second byte of a character.
  if (IsEnclosedInQuotes(path) || !std::strpbrk(bare.Text(), " \t")) {
    return out->Assign(path.Text());
  }
  return out->Assign("\"") && out->Append(bare.Text()) && out->Append("\"");
}

// The waited program's exit code, judged by SUCCESS and RESTART: a code
// that counts as no success stops the run with its own message.
ItemOutcome JudgeExit(const LAUNCH_INFO& info, const TextString& program,
                      unsigned code) {
  const ExitCodeVerdict verdict =
      JudgeExitCode(info.SUCCESS, info.RESTART, code);
  LogFormat("%s ended with exit code %u (0x%08X): %s", program.Text(), code,
            code,
            verdict == kExitSucceeded      ? "success"
            : verdict == kExitNeedsRestart ? "success, a restart is needed"
                                           : "no success code, the run stops");
  if (verdict == kExitNeedsRestart) NoteRestartNeeded();
  if (verdict != kExitFailed) return kItemDone;
  ShowError(MSG_LAUNCH_EXIT_CODE, program.Text(), code, code);
  return kItemStopped;
}

// FILE and PARAM, waited for as ISWAIT says.
ItemOutcome LaunchItem(const ProcRecord& record, const TextString* items) {
  const LAUNCH_INFO& info = static_cast<const LAUNCH_INFO&>(record);
  unsigned code = 0;
  if (!LaunchProcess(items[0].Text(), items[1].Text(), info.ISWAIT, &code)) {
    return kItemFailed;
  }
  return info.ISWAIT != 0 ? JudgeExit(info, items[0], code) : kItemDone;
}

}  // namespace

ProcRecord* LoadLaunch(const char* name) {
  return LoadProcRecord(kProcKinds[kLaunchKind], new (std::nothrow) LAUNCH_INFO,
                        name);
}

bool RunLaunch(ProcRecord* record) {
  return RunItems(record, LaunchItem, true);
}

bool LaunchProcess(const char* path, const char* params, int wait,
                   unsigned* exitCode) {
  const TextString program(path);
  TextString bare(program);
  if (IsEnclosedInQuotes(program)) bare = program.Mid(1, program.Length() - 2);
  // No file name holds a double quote; one inside the path would make
  // CreateProcessA split it where the writer did not mean to. The folder
  // comes from the path without its quotes, or it would begin with one and
  // name no folder. A failed allocation on the way would start a cut
  // command line.
  TextString folder;
  TextString commandLine;
  if (bare.CountOf("\"") != 0 || !FolderOf(bare.Text(), &folder) ||
      !ProgramPart(program, bare, &commandLine) || !commandLine.Append(" ") ||
      !commandLine.Append(params)) {
    return false;
  }

  const platform::LaunchWait how =
      wait != 0 ? platform::kWaitForExit : platform::kWaitForInputIdle;
  // Taken before the call, which may change the command line in place.
  TextString started(commandLine);
  started.Add(" in ").Add(folder);
  const bool done = platform::Launch(commandLine.Buffer(), folder.Text(), how,
                                     exitCode) == platform::kLaunchDone;
  LogFileOperation(done, "launch", started.Text(), 0);
  return done;
}
