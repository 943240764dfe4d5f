#include "commands/date.h"

#include <new>

#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/run_log.h"

namespace {

// Parts compare as the 16-bit calendar fields Windows gives; a missing or
// non-numeric part is 0.
unsigned short DatePart(const TextString& date, int index) {
  return static_cast<unsigned short>(date.Item(index, "/").ToInt());
}

}  // namespace

bool FileDateAtLeast(const char* file, const char* date) {
  platform::FileDate written;
  // Opened but unreadable counts like unopenable: an updater that cannot
  // tell a file's age should bring it up to date rather than skip it.
  if (platform::LastWriteDate(file, &written) != platform::kFileDateRead) {
    LogFailedOperation("date of", file);
    return false;
  }
  LogFormat("date of %s: %04u-%02u-%02u", file, written.year, written.month,
            written.day);
  const TextString wanted(date);
  // Year, month, day: the first part that differs decides.
  const unsigned short have[3] = {written.year, written.month, written.day};
  // (Where they differ, later is the same as at least as late.)
  for (int part = 0;; ++part) {
    const unsigned short want = DatePart(wanted, part);
    if (have[part] != want || part == 2) return have[part] >= want;
  }
}

ProcRecord* LoadDate(const char* name) {
  return LoadProcRecord(kProcKinds[kDateKind], new (std::nothrow) DATE_INFO,
                        name);
}

namespace {

// The first file that is not current decides; the rest are not opened.
ItemOutcome DateItem(const ProcRecord& record, const TextString* items) {
  const DATE_INFO& info = static_cast<const DATE_INFO&>(record);
  return FileDateAtLeast(items[0].Text(), info.DATE.Text()) ? kItemDone
                                                            : kItemAnswers;
}

}  // namespace

bool RunDate(ProcRecord* record) { return RunItems(record, DateItem, false); }
