#include "commands/attr.h"

#include <new>

#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/messages.h"
#include "settings/run_log.h"

namespace {

// Logs the outcome for `path`; a failure is shown too.
bool ReportAttributes(bool set, const char* path, unsigned attributes) {
  TextString what;
  what.Format("attributes 0x%08X", attributes);
  LogFileOperation(set, what.Text(), path, 0);
  if (set) return true;
  ShowError(MSG_ATTR_FAILED, path, attributes);
  return false;
}

bool SetAttributesOrReport(const char* path, unsigned attributes) {
  return ReportAttributes(platform::SetAttributes(path, attributes), path,
                          attributes);
}

// Every file directly in the item's folder; subdirectories (and "." and
// "..") are skipped, a folder that is missing or empty is no failure. A
// file the listing cannot name fails the item, named by the item itself:
// no file is skipped silently.
bool SetFolderAttributes(const TextString& item, unsigned attributes) {
  platform::FindEntry entry;
  platform::FileSearch search;
  if (!search.First(item.Text(), &entry)) {
    return !search.failed() || ReportAttributes(false, item.Text(), attributes);
  }
  // A bare "*.*" lists the current directory; its names are used as they
  // come, relative to that same directory.
  const bool hasFolder = item.ItemCount("\\") > 1;
  const TextString folder = item.Items(0, -2, "\\");
  do {
    if (entry.attributes & platform::kAttributeDirectory) continue;
    TextString path;
    if (hasFolder)
      path.Format("%s\\%s", folder.Text(), entry.name);
    else
      path.Set(entry.name);
    if (!SetAttributesOrReport(path.Text(), attributes)) return false;
  } while (search.Next(&entry));
  return !search.failed() || ReportAttributes(false, item.Text(), attributes);
}

// FILE and ARG. The message names the file whose attributes could not be
// set, which for "<folder>\\*.*" is one of the folder's.
ItemOutcome AttrItem(ProcRecord&, const TextString* items) {
  const TextString& file = items[0];
  const unsigned attributes = static_cast<unsigned>(items[1].HexToInt());
  const bool done = file.Item(-1, "\\").Equals("*.*")
                        ? SetFolderAttributes(file, attributes)
                        : SetAttributesOrReport(file.Text(), attributes);
  return done ? kItemDone : kItemStopped;
}

}  // namespace

ProcRecord* LoadAttr(const char* name) {
  return LoadProcRecord(kProcKinds[kAttrKind], new (std::nothrow) ATTR_INFO,
                        name);
}

bool RunAttr(ProcRecord* record) { return RunItems(*record, AttrItem, true); }
