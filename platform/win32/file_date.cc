// The local calendar date of a file's last write.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

FileDateResult LastWriteDate(const char* path, FileDate* date) {
  FILETIME written;
  {
    // No sharing: a file that another process is writing counts as not
    // opened, which the date test treats as out of date.
    KernelObject file(
        win32::CreateFileOf(path, GENERIC_READ, 0, OPEN_EXISTING));
    if (!file.valid()) return kFileDateNotOpened;
    if (!GetFileTime(file.get(), NULL, NULL, &written)) {
      win32::FailWithLastError();
      return kFileDateNotRead;
    }
  }  // closed before the conversions, as early as possible
  FILETIME local;
  SYSTEMTIME fields;
  if (!FileTimeToLocalFileTime(&written, &local) ||
      !FileTimeToSystemTime(&local, &fields)) {
    win32::FailWithLastError();
    return kFileDateNotRead;
  }
  date->year = fields.wYear;
  date->month = fields.wMonth;
  date->day = fields.wDay;
  return kFileDateRead;
}

}  // namespace platform
