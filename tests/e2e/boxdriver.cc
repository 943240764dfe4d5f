// Test-only Win32 helper for the end-to-end tests under Wine.
//
//   boxdriver run <job file>
//       Starts a program with an exact command line (code page 932 bytes,
//       converted for CreateProcessW whatever the system's code page, so no
//       re-quoting by wine), finds every message box it shows, writes what the
//       box says (caption, text, buttons, default button) to the result file,
//       answers it, and reports how the program ended. With several command
//       lines it starts them all at once and answers boxes only while every
//       program still running shows one, so that none can run past a box
//       before the others have reached theirs.
//   boxdriver attr <path>          prints GetFileAttributesA as 0x%08X
//   boxdriver lnk <path>           prints a shortcut's fields (IShellLinkW,
//                                  as code page 932 bytes; the target from
//                                  its item id list, whose names are
//                                  Unicode, as the shell resolves it: the
//                                  ANSI path beside it is in the code page
//                                  of the system that saved it) and the show
//                                  command its header holds
//   boxdriver folders              prints the Windows and system directories,
//                                  the special folders 25, 23, 16, 2 and the
//                                  temporary folder
//   boxdriver time <runs> <cmdline> starts the program `runs` times, one
//                                  after the other, and prints each run's
//                                  time from start to exit in microseconds
//   boxdriver locale               prints the ANSI code page ("acp 932") and
//                                  the user interface language ("ui 0x0411")
//
// Job file, one "key=value" per line (values that are raw bytes in hex):
//   cmdline_hex=...   the whole command line; one line per program
//   cwd=...           working directory of the started program
//   timeout_ms=...    the program is ended after this long
//   answer=N|default  the button for the next box, in order; boxes beyond the
//                     list get their default button
//   hold=PATH         a file opened without sharing for the whole run
//   hold_shared=PATH  a file opened sharing reading and writing, not
//                     deleting (nor renaming), for the whole run
//   hold_ms=N         ... or only for the first N ms after the start
//   release=box       ... or until the first box, let go before its answer
//   stdout=PATH       the program's standard output and error go to this
//                     file (a console program's report)
//   out=PATH          the result file
// Result file lines: "box", "process <n>" (1 for the first command line),
// "caption <hex>", "text <hex>" (read with the wide-character calls, in
// UTF-8), "buttons 6,7", "default 7", "answer 7" per
// box; then "exit <code>" for the first program and "exit<n> <code>" for
// the n-th, or "timeout"; "error <why>" wherever the driver failed, and
// "restart <n>" for a start Wine lost and the driver tried again.
//
// A box is read once it is complete (text, buttons, a default button),
// polled for until a deadline. Exit codes: 0 done, 2 the job could not be
// run, 3 a box never became complete; every failure says why on standard
// error and, once the result file is open, in it.
#include <objbase.h>
#include <shlobj.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/hex_text.h"

namespace {

std::string Unhex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out += static_cast<char>(strtoul(hex.substr(i, 2).c_str(), NULL, 16));
  return out;
}

// A window's text as UTF-8, read with the wide-character call: what the
// box shows, whatever the system's code page.
std::string WindowText(HWND window) {
  WCHAR wide[4096] = {0};
  GetWindowTextW(window, wide, 4096);
  char utf8[4096 * 3] = {0};
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, NULL, NULL);
  return utf8;
}

// UTF-16 as code page 932 bytes, how the tests compare paths.
std::string CodePage932(const WCHAR* text) {
  char bytes[MAX_PATH * 2] = {0};
  WideCharToMultiByte(932, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
  return bytes;
}

// Code page 932 bytes as UTF-16: the job's command lines and folders.
std::wstring FromCodePage932(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  const int length = MultiByteToWideChar(932, 0, text.c_str(), -1, &wide[0],
                                         static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length - 1 : 0);
  return wide;
}

struct Job {
  std::vector<std::string> commandLines;
  std::string cwd;
  DWORD timeoutMs;
  std::vector<std::string> answers;
  std::vector<std::string> holds;
  std::vector<std::string> sharedHolds;
  DWORD holdMs;  // 0: for the whole run
  bool releaseAtBox;
  std::string out;
  std::string output;  // stdout=
};

bool ReadJob(const char* path, Job* job) {
  FILE* file = fopen(path, "rb");
  if (!file) return false;
  job->timeoutMs = 30000;
  job->holdMs = 0;
  job->releaseAtBox = false;
  char line[8192];
  while (fgets(line, sizeof line, file)) {
    std::string text(line);
    while (!text.empty() &&
           (text[text.size() - 1] == '\n' || text[text.size() - 1] == '\r'))
      text.erase(text.size() - 1);
    size_t eq = text.find('=');
    if (eq == std::string::npos) continue;
    std::string key = text.substr(0, eq), value = text.substr(eq + 1);
    if (key == "cmdline_hex")
      job->commandLines.push_back(Unhex(value));
    else if (key == "cwd")
      job->cwd = value;
    else if (key == "timeout_ms")
      job->timeoutMs = strtoul(value.c_str(), NULL, 10);
    else if (key == "answer")
      job->answers.push_back(value);
    else if (key == "hold")
      job->holds.push_back(value);
    else if (key == "hold_shared")
      job->sharedHolds.push_back(value);
    else if (key == "hold_ms")
      job->holdMs = strtoul(value.c_str(), NULL, 10);
    else if (key == "release")
      job->releaseAtBox = value == "box";
    else if (key == "out")
      job->out = value;
    else if (key == "stdout")
      job->output = value;
  }
  fclose(file);
  return !job->out.empty() && !job->commandLines.empty();
}

struct BoxSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM param) {
  BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->processId || !IsWindowVisible(window)) return TRUE;
  char className[64] = {0};
  GetClassNameA(window, className, sizeof className);
  if (strcmp(className, "#32770") == 0) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectButton(HWND window, LPARAM param) {
  std::vector<int>* ids = reinterpret_cast<std::vector<int>*>(param);
  char className[64] = {0};
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpiA(className, "Button") == 0 && IsWindowVisible(window))
    ids->push_back(GetDlgCtrlID(window));
  return TRUE;
}

// What a box shows: the ids of its visible buttons and the default one.
struct BoxView {
  std::vector<int> buttons;
  int defaultId;
};

// Reads a box; true once it is complete. A box is found as soon as it is
// visible, which can be before its buttons, its text or the style that
// marks its default button are all in place, the more so on a loaded
// machine.
bool ReadBox(HWND box, BoxView* view) {
  view->buttons.clear();
  view->defaultId = 0;
  EnumChildWindows(box, CollectButton,
                   reinterpret_cast<LPARAM>(&view->buttons));
  // Wine marks a message box's default button only by its BS_DEFPUSHBUTTON
  // style; its DM_GETDEFID answers IDOK even for a Yes/No box.
  for (size_t i = 0; i < view->buttons.size() && !view->defaultId; ++i) {
    HWND button = GetDlgItem(box, view->buttons[i]);
    if ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      view->defaultId = view->buttons[i];
  }
  return view->defaultId != 0 && GetDlgItem(box, 0xFFFF) != NULL;
}

// Polls a box until it is complete or the deadline (a tick count) passes;
// false when it never was: the view then holds what it showed last, with
// DM_GETDEFID's answer for a default button it lacked.
bool WaitForBox(HWND box, DWORD deadline, BoxView* view) {
  while (!ReadBox(box, view)) {
    if (!IsWindow(box) || static_cast<LONG>(GetTickCount() - deadline) >= 0) {
      LRESULT def = SendMessageA(box, DM_GETDEFID, 0, 0);
      if (!view->defaultId && HIWORD(def) == DC_HASDEFID)
        view->defaultId = LOWORD(def);
      return false;
    }
    Sleep(10);
  }
  return true;
}

// The time a box gets to become complete. Far more than it takes (a few
// milliseconds), even on a loaded machine.
const DWORD kBoxCompleteMs = 10000;

// Writes a box's record and posts the answer.
void AnswerBox(HWND box, const BoxView& view, Job* job, size_t index,
               size_t process, FILE* out) {
  int answer = view.defaultId;
  if (index < job->answers.size() && job->answers[index] != "default")
    answer = atoi(job->answers[index].c_str());

  fprintf(out, "box\nprocess %u\ncaption %s\n",
          static_cast<unsigned>(process + 1), Hex(WindowText(box)).c_str());
  HWND text = GetDlgItem(box, 0xFFFF);
  fprintf(out, "text %s\n", Hex(text ? WindowText(text) : "").c_str());
  fprintf(out, "buttons ");
  for (size_t i = 0; i < view.buttons.size(); ++i)
    fprintf(out, "%s%d", i ? "," : "", view.buttons[i]);
  fprintf(out, "\ndefault %d\nanswer %d\n", view.defaultId, answer);
  fflush(out);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

// Says why the driver could not do its job, on standard error and, when it
// is open, in the result file ("error <why>"), which the harness reports.
void Fail(FILE* out, const char* format, ...) {
  char why[1024];
  va_list args;
  va_start(args, format);
  _vsnprintf(why, sizeof why - 1, format, args);
  va_end(args);
  why[sizeof why - 1] = '\0';
  fprintf(stderr, "boxdriver: %s\n", why);
  fflush(stderr);
  if (out) {
    fprintf(out, "error %s\n", why);
    fflush(out);
  }
}

// Starts a program. Under load, Wine now and then loses a new process
// before it has finished starting, ahead of any of the program's own code,
// and CreateProcess then fails with ERROR_INTERNAL_ERROR; such a start is
// tried again (each time noted as "restart <n>" in the result file and on
// standard error). Any other failure is the program's and is returned.
const int kStartAttempts = 3;

bool StartProgram(WCHAR* commandLine, bool inherit, const WCHAR* cwd,
                  STARTUPINFOW* si, PROCESS_INFORMATION* pi, FILE* out) {
  for (int attempt = 1;; ++attempt) {
    if (CreateProcessW(NULL, commandLine, NULL, NULL, inherit, 0, NULL, cwd, si,
                       pi))
      return true;
    DWORD error = GetLastError();
    if (error != ERROR_INTERNAL_ERROR || attempt == kStartAttempts) {
      SetLastError(error);
      return false;
    }
    fprintf(out, "restart %d\n", attempt);
    fprintf(stderr, "boxdriver: start lost by Wine (error %lu), trying again\n",
            error);
  }
}

void ReleaseAll(std::vector<HANDLE>* held) {
  for (size_t i = 0; i < held->size(); ++i) CloseHandle((*held)[i]);
  held->clear();
}

int Run(const char* jobPath) {
  Job job;
  if (!ReadJob(jobPath, &job)) {
    Fail(NULL, "cannot read the job file %s", jobPath);
    return 2;
  }
  FILE* out = fopen(job.out.c_str(), "wb");
  if (!out) {
    Fail(NULL, "cannot create the result file %s", job.out.c_str());
    return 2;
  }

  std::vector<HANDLE> held;
  std::vector<HANDLE> heldForGood;  // shared holds: never let go early
  const size_t holdCount = job.holds.size() + job.sharedHolds.size();
  for (size_t i = 0; i < holdCount; ++i) {
    const bool shared = i >= job.holds.size();
    const std::string& path =
        shared ? job.sharedHolds[i - job.holds.size()] : job.holds[i];
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                           shared ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0,
                           NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) {
      Fail(out, "cannot hold %s (error %lu)", path.c_str(), GetLastError());
      fclose(out);
      return 2;
    }
    (shared ? heldForGood : held).push_back(h);
  }

  // Only the output file is inherited; the held files stay ours.
  HANDLE output = INVALID_HANDLE_VALUE;
  if (!job.output.empty()) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    output = CreateFileA(job.output.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                         &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (output == INVALID_HANDLE_VALUE) {
      Fail(out, "cannot create the output file %s (error %lu)",
           job.output.c_str(), GetLastError());
      fclose(out);
      return 2;
    }
  }
  std::vector<PROCESS_INFORMATION> started;
  const std::wstring cwd = FromCodePage932(job.cwd);
  for (size_t p = 0; p < job.commandLines.size(); ++p) {
    STARTUPINFOW si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    if (output != INVALID_HANDLE_VALUE) {
      si.dwFlags = STARTF_USESTDHANDLES;
      si.hStdOutput = output;
      si.hStdError = output;
    }
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof pi);
    std::wstring commandLine = FromCodePage932(job.commandLines[p]);
    commandLine.push_back(L'\0');
    if (!StartProgram(&commandLine[0], output != INVALID_HANDLE_VALUE,
                      cwd.empty() ? NULL : cwd.c_str(), &si, &pi, out)) {
      Fail(out, "cannot start program %u (error %lu)",
           static_cast<unsigned>(p + 1), GetLastError());
      for (size_t k = 0; k < started.size(); ++k) {
        TerminateProcess(started[k].hProcess, 99);
        CloseHandle(started[k].hThread);
        CloseHandle(started[k].hProcess);
      }
      if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
      fclose(out);
      return 2;
    }
    started.push_back(pi);
  }

  std::vector<HWND> answered;
  std::vector<bool> finished(started.size(), false);
  size_t boxes = 0;
  bool incomplete = false;
  DWORD start = GetTickCount();
  for (;;) {
    size_t running = 0;
    for (size_t p = 0; p < started.size(); ++p) {
      if (!finished[p])
        finished[p] =
            WaitForSingleObject(started[p].hProcess, 0) == WAIT_OBJECT_0;
      if (!finished[p]) ++running;
    }
    if (running == 0) break;
    // Forget answered boxes that have gone, so a reused handle counts anew.
    std::vector<HWND> still;
    for (size_t i = 0; i < answered.size(); ++i)
      if (IsWindow(answered[i])) still.push_back(answered[i]);
    answered.swap(still);
    // The unanswered boxes of each running program.
    std::vector<std::vector<HWND> > waiting(started.size());
    size_t showing = 0;
    for (size_t p = 0; p < started.size(); ++p) {
      if (finished[p]) continue;
      BoxSearch search;
      search.processId = started[p].dwProcessId;
      EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
      for (size_t i = 0; i < search.found.size(); ++i) {
        bool seen = false;
        for (size_t k = 0; k < answered.size(); ++k)
          seen = seen || answered[k] == search.found[i];
        if (!seen) waiting[p].push_back(search.found[i]);
      }
      if (!waiting[p].empty()) ++showing;
    }
    if (job.holdMs != 0 && GetTickCount() - start >= job.holdMs)
      ReleaseAll(&held);
    if (showing == running) {
      if (job.releaseAtBox) ReleaseAll(&held);
      for (size_t p = 0; p < started.size(); ++p) {
        for (size_t i = 0; i < waiting[p].size(); ++i) {
          BoxView view;
          DWORD deadline = GetTickCount() + kBoxCompleteMs;
          if (static_cast<LONG>(deadline - (start + job.timeoutMs)) > 0)
            deadline = start + job.timeoutMs;
          if (!WaitForBox(waiting[p][i], deadline, &view)) {
            Fail(out, "box %u of program %u was not complete in time",
                 static_cast<unsigned>(boxes + 1),
                 static_cast<unsigned>(p + 1));
            incomplete = true;
          }
          AnswerBox(waiting[p][i], view, &job, boxes++, p, out);
          answered.push_back(waiting[p][i]);
        }
      }
    }
    if (GetTickCount() - start > job.timeoutMs) break;
    Sleep(25);
  }
  bool timedOut = false;
  for (size_t p = 0; p < started.size(); ++p) {
    if (finished[p]) {
      DWORD code = 0;
      GetExitCodeProcess(started[p].hProcess, &code);
      if (p == 0)
        fprintf(out, "exit %lu\n", code);
      else
        fprintf(out, "exit%u %lu\n", static_cast<unsigned>(p + 1), code);
    } else {
      TerminateProcess(started[p].hProcess, 99);
      WaitForSingleObject(started[p].hProcess, 5000);
      timedOut = true;
    }
    CloseHandle(started[p].hThread);
    CloseHandle(started[p].hProcess);
  }
  if (timedOut) fprintf(out, "timeout\n");
  if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
  ReleaseAll(&held);
  ReleaseAll(&heldForGood);
  fclose(out);
  return incomplete ? 3 : 0;
}

int PrintAttributes(const char* path) {
  printf("0x%08lX\n", GetFileAttributesA(path));
  return 0;
}

int PrintShortcut(const char* path) {
  CoInitialize(NULL);
  IShellLinkW* link = NULL;
  int rc = 1;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER,
                                 IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = NULL;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile,
                                       reinterpret_cast<void**>(&file)))) {
      WCHAR wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
      if (SUCCEEDED(file->Load(wide, STGM_READ))) {
        WCHAR target[MAX_PATH] = {0}, args[MAX_PATH] = {0}, dir[MAX_PATH] = {0};
        int show = 0;
        LPITEMIDLIST items = NULL;
        if (FAILED(link->GetIDList(&items)) || items == NULL ||
            !SHGetPathFromIDListW(items, target))
          link->GetPath(target, MAX_PATH, NULL, SLGP_RAWPATH);
        CoTaskMemFree(items);
        link->GetArguments(args, MAX_PATH);
        link->GetWorkingDirectory(dir, MAX_PATH);
        link->GetShowCmd(&show);
        printf("target %s\nargs %s\ndir %s\nshow %d\n",
               Hex(CodePage932(target)).c_str(), Hex(CodePage932(args)).c_str(),
               Hex(CodePage932(dir)).c_str(), show);
        // Wine 8's Load leaves the object's show command as it was (1 for a
        // new object), so the one saved is read from the file's header too
        // (ShowCommand, a 32-bit value at offset 0x3C of every shell link).
        FILE* raw = fopen(path, "rb");
        unsigned char header[0x40] = {0};
        if (raw && fread(header, 1, sizeof header, raw) == sizeof header)
          printf("saved_show %u\n",
                 header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 |
                     static_cast<unsigned>(header[0x3F]) << 24);
        if (raw) fclose(raw);
        rc = 0;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return rc;
}

int PrintFolders() {
  char buffer[MAX_PATH];
  buffer[0] = 0;
  GetWindowsDirectoryA(buffer, MAX_PATH);
  printf("win %s\n", Hex(buffer).c_str());
  buffer[0] = 0;
  GetSystemDirectoryA(buffer, MAX_PATH);
  printf("sys %s\n", Hex(buffer).c_str());
  const int csidls[] = {25, 23, 16, 2};
  for (int i = 0; i < 4; ++i) {
    buffer[0] = 0;
    SHGetSpecialFolderPathA(NULL, buffer, csidls[i], FALSE);
    printf("csidl%d %s\n", csidls[i], Hex(buffer).c_str());
  }
  buffer[0] = 0;
  GetTempPathA(MAX_PATH, buffer);
  printf("temp %s\n", Hex(buffer).c_str());
  return 0;
}

int PrintLocale() {
  typedef LANGID(WINAPI * UiLanguageFn)();
  UiLanguageFn uiLanguage =
      reinterpret_cast<UiLanguageFn>(reinterpret_cast<void*>(GetProcAddress(
          GetModuleHandleA("kernel32.dll"), "GetUserDefaultUILanguage")));
  printf("acp %u\nui 0x%04X\n", GetACP(), uiLanguage ? uiLanguage() : 0u);
  return 0;
}

int TimeRuns(int runs, const char* commandLine) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (int i = 0; i < runs; ++i) {
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    std::vector<char> line(commandLine, commandLine + strlen(commandLine) + 1);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si,
                        &pi)) {
      Fail(NULL, "cannot start %s (error %lu)", commandLine, GetLastError());
      return 2;
    }
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
      TerminateProcess(pi.hProcess, 99);
      Fail(NULL, "%s did not end within 60 s", commandLine);
      return 2;
    }
    QueryPerformanceCounter(&end);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    printf("%lld\n",
           (end.QuadPart - start.QuadPart) * 1000000LL / frequency.QuadPart);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "run") == 0) return Run(argv[2]);
  if (argc == 3 && strcmp(argv[1], "attr") == 0)
    return PrintAttributes(argv[2]);
  if (argc == 3 && strcmp(argv[1], "lnk") == 0) return PrintShortcut(argv[2]);
  if (argc == 2 && strcmp(argv[1], "folders") == 0) return PrintFolders();
  if (argc == 2 && strcmp(argv[1], "locale") == 0) return PrintLocale();
  if (argc == 4 && strcmp(argv[1], "time") == 0)
    return TimeRuns(atoi(argv[2]), argv[3]);
  fprintf(stderr,
          "usage: boxdriver run JOB | attr PATH | lnk PATH | "
          "folders | locale | time RUNS CMDLINE\n");
  return 2;
}
