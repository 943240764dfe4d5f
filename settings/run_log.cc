#include "settings/run_log.h"

#include <stdarg.h>
#include <string.h>

#include <new>

#include "platform/compiler.h"
#include "platform/platform.h"

namespace {

platform::KernelObject g_log;

const char kUtf8Mark[] = "\xEF\xBB\xBF";

bool Open(const char* path, platform::LogOpenMode mode) {
  CloseRunLog();
  bool created = false;
  if (!platform::OpenLogFile(path, mode, &g_log, &created)) return false;
  if (created) platform::AppendToFile(g_log, kUtf8Mark, sizeof kUtf8Mark - 1);
  return true;
}

// The UTF-8 form of the one character of `length` bytes at `p` into `out`
// (room for 4 bytes): its length, or 0 when it is no character of the code
// page, or a single byte that stands for an invisible C1 control or a
// private-use character (code page 932 maps 0x80, 0xA0 and 0xFD-0xFF so).
unsigned CharToUtf8(const char* p, unsigned length, char* out) {
  const char piece[3] = {p[0], length > 1 ? p[1] : '\0', '\0'};
  char utf8[8];
  const unsigned size = platform::TextToUtf8(piece, utf8, sizeof utf8);
  if (size < 2 || size > 5) return 0;
  const unsigned char first = static_cast<unsigned char>(utf8[0]);
  const unsigned char second = static_cast<unsigned char>(utf8[1]);
  if (length == 1 && ((first == 0xC2 && second < 0xA0) || first == 0xEE ||
                      (first == 0xEF && second < 0xA4))) {
    return 0;
  }
  memcpy(out, utf8, size - 1);
  return size - 1;
}

// The name of the escape of a backslash or control byte that has one; 0
// for the others, which are written as \xNN.
char EscapeName(unsigned char c) {
  switch (c) {
    case '\\':
      return '\\';
    case '\n':
      return 'n';
    case '\r':
      return 'r';
    case '\t':
      return 't';
  }
  return 0;
}

// `text` as UTF-8 into `out` (room for 4 bytes for each byte of `text`), so
// that every byte is visible and reads back one way only: \n, \r and \t
// for line feeds, carriage returns and tabs, \\ for a backslash, \xNN for
// any other control character and for a byte that is no character of the
// code page, whose neighbours still convert. Returns the length.
unsigned EscapedUtf8(const char* text, char* out) {
  static const char kDigits[] = "0123456789ABCDEF";
  unsigned length = 0;
  for (const char* p = text; *p;) {
    const unsigned char c = static_cast<unsigned char>(*p);
    const unsigned size = static_cast<unsigned>(platform::NextChar(p) - p);
    const unsigned converted =
        c >= 0x80 ? CharToUtf8(p, size, out + length) : 0;
    if (converted != 0) {
      length += converted;
      p += size;
      continue;
    }
    const char name = EscapeName(c);
    if (c >= 0x20 && c < 0x7F && name == 0) {
      out[length++] = *p;
    } else if (name != 0) {
      out[length++] = '\\';
      out[length++] = name;
    } else {
      out[length++] = '\\';
      out[length++] = 'x';
      out[length++] = kDigits[c >> 4];
      out[length++] = kDigits[c & 0xF];
    }
    ++p;  // after a bad byte the next one is read afresh
  }
  return length;
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
    if (error != platform::kErrorFileExists &&
        error != platform::kErrorAlreadyExists) {
      break;
    }
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
  line.Add(text);
  // At most four bytes for each byte, and the line break.
  platform::HeapArray<char> utf8(
      new (std::nothrow) char[line.Length() * 4 + 2]);
  if (!utf8.valid()) return;
  unsigned length = EscapedUtf8(line.Text(), utf8.get());
  utf8[length++] = '\r';
  utf8[length++] = '\n';
  platform::AppendToFile(g_log, utf8.get(), length);
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

// Out of line: the steps of a COPY and its journal log their failures so.
UPDATER_NOINLINE void LogFailedOperation(const char* what, const char* path) {
  LogFileOperation(false, what, path, 0);
}
