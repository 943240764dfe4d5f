#include "settings/run_log.h"

#include <stdarg.h>

#include <new>

#include "platform/platform.h"

namespace {

platform::KernelObject g_log;

const char kUtf8Mark[] = "\xEF\xBB\xBF";

// Windows' codes for "there is already a file of that name".
const unsigned kErrorFileExists = 80;
const unsigned kErrorAlreadyExists = 183;

bool Open(const char* path, platform::LogOpenMode mode) {
  CloseRunLog();
  bool created = false;
  if (!platform::OpenLogFile(path, mode, &g_log, &created)) return false;
  if (created) platform::AppendToFile(g_log, kUtf8Mark, sizeof kUtf8Mark - 1);
  return true;
}

// The text with its line breaks and tabs spelled out. None of these bytes
// is ever the second byte of a double-byte character.
TextString Escaped(const TextString& text) {
  TextString escaped(text);
  escaped.ReplaceAll("\r", "\\r");
  escaped.ReplaceAll("\n", "\\n");
  escaped.ReplaceAll("\t", "\\t");
  return escaped;
}

}  // namespace

bool OpenRunLog(const char* path) { return Open(path, platform::kLogAppend); }

bool OpenNewRunLog(const char* stem) {
  char temp[platform::kMaxPath];
  if (platform::TempDirectory(temp, sizeof temp) == 0) return false;
  platform::LocalTimeFields today;
  platform::LocalTime(&today);
  for (int number = 1; number <= 999; ++number) {
    TextString name;
    name.Format("%s%s %04u-%02u-%02u #%03d.log", temp, stem, today.year,
                today.month, today.day, number);
    if (Open(name.Text(), platform::kLogCreateNew)) return true;
    const unsigned error = platform::LastErrorCode();
    if (error != kErrorFileExists && error != kErrorAlreadyExists) break;
  }
  return false;
}

bool RunLogIsOpen() { return g_log.valid(); }

void CloseRunLog() { g_log.Reset(); }

void LogText(const TextString& text) {
  if (!g_log.valid()) return;
  platform::LocalTimeFields now;
  platform::LocalTime(&now);
  TextString line;
  line.Format("%04u-%02u-%02u %02u:%02u:%02u.%03u [%u] ", now.year, now.month,
              now.day, now.hour, now.minute, now.second, now.milliseconds,
              platform::ProcessId());
  line.Add(Escaped(text));
  // Every byte of the ANSI code page becomes at most three bytes of UTF-8.
  const unsigned size = static_cast<unsigned>(line.Length()) * 3 + 3;
  char* utf8 = new (std::nothrow) char[size];
  if (!utf8) return;
  unsigned length = platform::AnsiToUtf8(line.Text(), utf8, size);
  if (length == 0) {
    // A byte that is no character of the code page (a lone lead byte at the
    // end of a cut text): the line still goes in, such bytes as "?".
    for (const char* p = line.Text(); *p; ++p)
      utf8[length++] = static_cast<unsigned char>(*p) < 0x80 ? *p : '?';
  } else {
    --length;  // the terminator
  }
  utf8[length++] = '\r';
  utf8[length++] = '\n';
  platform::AppendToFile(g_log, utf8, length);
  delete[] utf8;
}

void LogFormat(const char* format, ...) {
  if (!g_log.valid()) return;
  TextString text;
  va_list args;
  va_start(args, format);
  text.FormatV(format, args);
  va_end(args);
  LogText(text);
}

TextString DescribeError(unsigned code) {
  char reason[512];
  platform::ErrorText(code, reason, sizeof reason);
  TextString text;
  // HRESULTs read better in hexadecimal, Win32 codes in decimal.
  text.Format(code >= 0x10000 ? "error 0x%08X: %s" : "error %u: %s", code,
              reason);
  return text;
}

void LogFileOperation(bool done, const char* what, const char* path,
                      const char* second) {
  if (!g_log.valid()) return;
  // Read first: nothing below may replace the kept code.
  const unsigned error = done ? 0 : platform::LastErrorCode();
  TextString line(what);
  line.Add(" ").Add(path);
  if (second) line.Add(" -> ").Add(second);
  if (done)
    line.Add(": done");
  else
    line.Add(": failed, ").Add(DescribeError(error));
  LogText(line);
}
