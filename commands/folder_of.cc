#include "commands/folder_of.h"

bool FolderOf(const char* path, TextString& out) {
  TextString folder;
  if (!DirectoryOf(path, folder)) return false;
  if (folder.Length() == 2 && folder.Text()[1] == ':') {
    folder.Add("\\");
    if (folder.Length() != 3) return false;  // out of memory
  }
  return out.Assign(folder.Text());
}
