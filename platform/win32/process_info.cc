// What the log tells about the process: its rights, its id, the time; and
// the clock the updater waits by.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

namespace {

// The pseudo handle of the running process, the documented constant that
// GetCurrentProcess returns: one import fewer.
const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(-1);

}  // namespace

Elevation ProcessElevation() {
  KernelObject token;
  if (!OpenProcessToken(kCurrentProcess, TOKEN_QUERY, token.Receive()))
    return kElevationUnknown;
  TOKEN_ELEVATION elevation;
  DWORD size;  // written by the call, never read
  // Systems before Vista do not know this information class and fail.
  if (!GetTokenInformation(token.get(), TokenElevation, &elevation,
                           sizeof(elevation), &size)) {
    return kElevationUnknown;
  }
  return elevation.TokenIsElevated ? kElevated : kNotElevated;
}

unsigned ProcessId() { return GetCurrentProcessId(); }

unsigned TickCount() { return GetTickCount(); }

void Pause(unsigned milliseconds) { Sleep(milliseconds); }

void LocalTime(LocalTimeFields* now) {
  SYSTEMTIME fields;
  GetLocalTime(&fields);
  now->year = fields.wYear;
  now->month = fields.wMonth;
  now->day = fields.wDay;
  now->hour = fields.wHour;
  now->minute = fields.wMinute;
  now->second = fields.wSecond;
  now->milliseconds = fields.wMilliseconds;
}

}  // namespace platform
