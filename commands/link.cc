#include "commands/link.h"

#include "commands/item_list.h"
#include "platform/platform.h"
#include "settings/run_log.h"

namespace {

// SHOWCMD numbers to show commands; 0 leaves the link object's default.
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

}  // namespace

ProcRecord* LoadLink(const char* name) {
  RecordOwner<SHORTCUT_INFO> record(
      NewProcRecord<SHORTCUT_INFO>(name, "SHORTCUT_INFO"));
  if (!record.valid()) return 0;
  const RecordKey keys[] = {{"SRC", &record->SRC},
                            {"PARAM", &record->PARAM},
                            {"SHOWCMD", &record->SHOWCMD},
                            {"DST", &record->DST}};
  if (!ReadRecordKeys(*record, name, keys)) return 0;
  return record.Take();
}

bool RunLink(ProcRecord* record) {
  SHORTCUT_INFO* info = static_cast<SHORTCUT_INFO*>(record);
  // The message names the kind, not the key SRC.
  const int count = CountDrivingItems(*info, info->SRC, "LINK");
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
