// Test-only program for the LAUNCH end-to-end tests, built twice: probe.exe
// (console, no message queue) and probegui.exe (PROBE_GUI: a GUI program
// with a message loop, which WaitForInputIdle can wait for).
//
// Next to its own executable <exe> it
//   appends "start <command line hex> <working directory hex>" to <exe>.log
//   (both read with the wide-character calls, as code page 932 bytes, so
//   that they read the same whatever the system's code page),
//   then keeps running until "pause=<ms>" from its command line has passed
//   (0 when absent, at most 60 s) or the file <exe>.quit appears,
//   appends "end" to <exe>.log, creates <exe>.end and exits with code 3, or
//   with "exit=<n>" from its command line (decimal, the full 32 bits).
// The GUI build first sleeps "ready=<ms>" and creates <exe>.ready before it
// enters its message loop, so that a test can tell whether a waiter let the
// program become ready for input first.
#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "tests/e2e/hex_text.h"

namespace {

std::wstring OwnPath() {
  WCHAR path[MAX_PATH] = {0};
  GetModuleFileNameW(NULL, path, MAX_PATH);
  return path;
}

std::string CodePage932(const WCHAR* text) {
  char bytes[8192] = {0};
  WideCharToMultiByte(932, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
  return bytes;
}

// Whole lines in one write, so that two probes sharing a log never mix.
void Append(const std::wstring& file, const std::string& line) {
  HANDLE h = CreateFileW(file.c_str(), FILE_APPEND_DATA,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, NULL);
  if (h == INVALID_HANDLE_VALUE) return;
  std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, NULL);
  CloseHandle(h);
}

void Touch(const std::wstring& file) { Append(file, ""); }

bool Exists(const std::wstring& file) {
  return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The number after "<key>=" on the command line; 0 when absent.
DWORD Option(const char* commandLine, const char* key) {
  const char* at = strstr(commandLine, key);
  if (!at) return 0;
  DWORD value = strtoul(at + strlen(key), NULL, 10);
  return value > 60000 ? 60000 : value;
}

bool Finished(DWORD start, DWORD pause, const std::wstring& quit) {
  return GetTickCount() - start >= pause || Exists(quit);
}

}  // namespace

int main() {
  const DWORD start = GetTickCount();
  const std::string line = CodePage932(GetCommandLineW());
  const char* commandLine = line.c_str();
  WCHAR cwd[MAX_PATH] = {0};
  GetCurrentDirectoryW(MAX_PATH, cwd);
  const std::wstring self = OwnPath();
  Append(self + L".log", "start " + Hex(line) + " " + Hex(CodePage932(cwd)));

  const DWORD pause = Option(commandLine, "pause=");
  const std::wstring quit = self + L".quit";
#ifdef PROBE_GUI
  Sleep(Option(commandLine, "ready="));
  Touch(self + L".ready");
  SetTimer(NULL, 0, 20, NULL);
  MSG msg;
  while (!Finished(start, pause, quit) && GetMessageA(&msg, NULL, 0, 0) > 0)
    DispatchMessageA(&msg);
#else
  while (!Finished(start, pause, quit)) Sleep(20);
#endif
  Append(self + L".log", "end");
  Touch(self + L".end");
  const char* exitCode = strstr(commandLine, "exit=");
  ExitProcess(exitCode ? strtoul(exitCode + 5, NULL, 10) : 3);
}
