#include "commands/attr.h"

#include <new>

#include "commands/file_in_use.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/messages.h"
#include "settings/run_log.h"

namespace {

struct AttributeChange {
  const char* path;
  unsigned attributes;
};

void LogAttributes(bool set, const char* path, unsigned attributes) {
  TextString what;
  what.Format("attributes 0x%08X", attributes);
  LogFileOperation(set, what.Text(), path, 0);
}

bool SetAttributesOnce(const void* operation) {
  const AttributeChange& change =
      *static_cast<const AttributeChange*>(operation);
  const bool set = platform::SetAttributes(change.path, change.attributes);
  LogAttributes(set, change.path, change.attributes);
  return set;
}

bool SetAttributesOrReport(const char* path, unsigned attributes) {
  const AttributeChange change = {path, attributes};
  const InUseOutcome outcome = TryWhileInUse(path, SetAttributesOnce, &change);
  if (outcome == kInUseFailed) ShowError(MSG_ATTR_FAILED, path, attributes);
  return outcome == kInUseDone;
}

// A failure that no retry can mend (a listing that cannot name a file):
// logged and shown.
bool ReportAttributesFailed(const char* path, unsigned attributes) {
  LogAttributes(false, path, attributes);
  ShowError(MSG_ATTR_FAILED, path, attributes);
  return false;
}

// Every file directly in the item's folder; subdirectories (and "." and
// "..") are skipped, a folder that is missing or empty is no failure. A
// file the listing cannot name fails the item, named by the item itself:
// no file is skipped silently.
bool SetFolderAttributes(const TextString& item, unsigned attributes) {
  platform::FindEntry entry;
  platform::FileSearch search;
  if (search.First(item.Text(), &entry)) {
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
  }
  // The listing ended, or never began: a failed search is the item's.
  return !search.failed() || ReportAttributesFailed(item.Text(), attributes);
}

// FILE and ARG. The message names the file whose attributes could not be
// set, which for "<folder>\\*.*" is one of the folder's.
ItemOutcome AttrItem(const ProcRecord&, const TextString* items) {
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

bool RunAttr(ProcRecord* record) { return RunItems(record, AttrItem, true); }
