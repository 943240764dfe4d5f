#include "commands/link.h"

#include <new>

#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/run_log.h"

ProcRecord* LoadLink(const char* name) {
  return LoadProcRecord(kProcKinds[kLinkKind], new (std::nothrow) SHORTCUT_INFO,
                        name);
}

namespace {

// SRC, PARAM, SHOWCMD and DST. A shortcut is a convenience: its failure
// ends this procedure quietly and leaves `result` false, the run goes on.
ItemOutcome LinkItem(const ProcRecord&, const TextString* items) {
  const TextString path = items[3].Concat(".LNK");
  return CreateShortcut(items[0].Text(), path.Text(), items[1].Text(),
                        items[2].ToInt())
             ? kItemDone
             : kItemEnds;
}

}  // namespace

bool RunLink(ProcRecord* record) { return RunItems(record, LinkItem, true); }

int ShowCommandFor(int show) {
  switch (show) {
    case 1:
      return platform::kSwShowNormal;
    case 2:
      return platform::kSwShowMinNoActive;
    case 3:
      return platform::kSwShowMaximized;
    default:
      return 0;
  }
}

bool CreateShortcut(const char* target, const char* path, const char* arguments,
                    int show) {
  // A target without a folder gets an empty working directory.
  TextString folder;
  FolderOf(target, &folder);
  platform::ShortcutFields fields;
  fields.target = target;
  fields.workingDirectory = folder.Text();
  fields.arguments = arguments;
  fields.showCommand = ShowCommandFor(show);
  const bool saved = platform::SaveShortcut(fields, path);
  LogFileOperation(saved, "shortcut", path, target);
  return saved;
}
