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

bool RunLink(ProcRecord* record) {
  SHORTCUT_INFO* info = static_cast<SHORTCUT_INFO*>(record);
  // The message names the kind, not the key SRC.
  const int count = CountDrivingItems(*info);
  if (count == 0) return false;
  for (int i = 0; i < count; ++i) {
    const TextString target = ListItem(info->SRC, i);
    const TextString path = ListItem(info->DST, i).Concat(".LNK");
    const TextString arguments = ListItem(info->PARAM, i);
    const int show = ListItem(info->SHOWCMD, i).ToInt();
    // A shortcut is a convenience: its failure ends this procedure quietly
    // and leaves `result` false, the run goes on.
    if (!CreateShortcut(target.Text(), path.Text(), arguments.Text(), show))
      return true;
  }
  info->result = true;
  return true;
}

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
  FolderOf(target, folder);
  platform::ShortcutFields fields;
  fields.target = target;
  fields.workingDirectory = folder.Text();
  fields.arguments = arguments;
  fields.showCommand = ShowCommandFor(show);
  const bool saved = platform::SaveShortcut(fields, path);
  LogFileOperation(saved, "shortcut", path, target);
  return saved;
}
