// Replacing files all or nothing over the fake file system: staged copies
// and backups are files of the world, named as the real layer names them.
#include <string.h>

#include <string>

#include "platform/platform.h"
#include "platform/staged_names.h"
#include "tests/fake/fake_names.h"
#include "tests/fake/fake_state.h"

namespace {

namespace fi = fake::internal;
using fi::Fail;
using fi::Node;

// The file `name` in the folder of `to` (Win32 folds the ".." step).
std::string Beside(const char* to, unsigned number, platform::StagedRole role) {
  char name[platform::kStagedNameSize];
  platform::StagedName(number, role, name);
  return std::string(to) + "\\..\\" + name;
}

// Where `to`'s folder is missing or `to` cannot name a file, the code
// GetFullPathNameW or the search gives.
bool CheckDestination(const char* to) {
  if (*to == '\0') return Fail(fi::kErrorPathNotFound);
  if (fi::HasInvalidNameCharacters(to)) return Fail(fi::kErrorInvalidName);
  std::string parent, name;
  return fi::ExistingParent(to, &parent, &name) || Fail(fi::kErrorPathNotFound);
}

// Renames the file at `from` to `to` (same folder), keeping `name` as the
// name it is stored under; never over another file.
bool Move(const std::string& from, const std::string& to,
          const std::string& name) {
  std::map<std::string, Node>& nodes = fi::TheWorld().nodes;
  const std::string fromKey = fi::KeyOf(from);
  Node* node = fi::Find(from);
  if (node == NULL) return Fail(fi::MissingCode(from));
  if (node->held) return Fail(fi::kErrorSharingViolation);
  if (fi::Find(to) != NULL) return Fail(fi::kErrorAlreadyExists);
  Node moved = *node;
  moved.name = name;
  nodes.erase(fromKey);
  nodes[fi::KeyOf(to)] = moved;
  return true;
}

std::string NameOf(const std::string& path) {
  return path.substr(path.rfind('\\') + 1);
}

bool Discard(const std::string& path) {
  Node* node = fi::Find(path);
  if (node == NULL) return true;
  if (node->held) return Fail(fi::kErrorSharingViolation);
  fi::TheWorld().nodes.erase(fi::KeyOf(path));
  return true;
}

}  // namespace

void fake::SetWorkingDirectory(const std::string& path) {
  fi::TheWorld().workingDirectory = path;
}

namespace platform {

bool FileFullPath(const char* path, HeapArray<char>* full, bool* exists) {
  if (*path == '\0') return Fail(fi::kErrorPathNotFound);
  if (fi::HasInvalidNameCharacters(path)) return Fail(fi::kErrorInvalidName);
  // Win32 takes a relative path from the working directory, one from the
  // root from the working directory's drive.
  std::string whole = path;
  const std::string& working = fi::TheWorld().workingDirectory;
  if (whole[0] == '\\' && (whole.size() < 2 || whole[1] != '\\')) {
    whole = working.substr(0, 2) + whole;
  } else if (whole.size() < 2 || whole[1] != ':') {
    whole = working + "\\" + whole;
  }
  fi::ParsedPath parsed;
  if (!fi::ParsePath(whole, &parsed) || parsed.trailingBackslash ||
      parsed.parts.size() < 2) {
    return Fail(fi::kErrorInvalidName);
  }
  std::string result;
  for (size_t i = 0; i + 1 < parsed.parts.size(); ++i)
    result += parsed.parts[i] + "\\";
  const Node* node = fi::Find(whole);
  *exists = node != NULL;
  result += node != NULL ? node->name : parsed.parts.back();
  full->Reset(new char[result.size() + 1]);
  memcpy(full->get(), result.c_str(), result.size() + 1);
  return true;
}

bool FindStagedNumber(const char* to, const char* previous,
                      unsigned char* taken, unsigned* number) {
  if (!fi::CountCall() || !CheckDestination(to)) return false;
  std::string parent, name, before;
  fi::ExistingParent(to, &parent, &name);
  if (previous == NULL || !fi::ExistingParent(previous, &before, &name) ||
      before != parent) {
    memset(taken, 0, kStagedNumberBytes);
    unsigned listed;
    for (const auto& entry : fi::TheWorld().nodes) {
      const char* const name = entry.second.name.c_str();
      if (entry.second.parent == parent && IsStagedName(name) &&
          ReadStagedNumber(name + 3, &listed)) {
        MarkStagedNumber(taken, listed);
      }
    }
  }
  return TakeFreeNumber(taken, number) || Fail(fi::kErrorFileExists);
}

bool StageCopy(const char* from, const char* to, unsigned number) {
  if (!fi::CountCall() || !CheckDestination(to)) return false;
  const std::string staged = Beside(to, number, kStagedCopy);
  return fi::CopyNode(from, to, &staged);
}

bool WritableNow(const char* path) {
  if (!fi::CountCall()) return false;
  Node* node = *path != '\0' ? fi::Find(path) : NULL;
  if (node == NULL) return Fail(fi::MissingCode(path));
  if (node->held) return Fail(fi::kErrorSharingViolation);
  return (!node->directory && (node->attributes & kAttributeReadOnly) == 0) ||
         Fail(fi::kErrorAccessDenied);
}

bool SwapStaged(const char* to, unsigned number) {
  if (!fi::CountCall() || !CheckDestination(to)) return false;
  const std::string staged = Beside(to, number, kStagedCopy);
  const std::string backup = Beside(to, number, kStagedBackup);
  if (fi::Find(staged) == NULL) return Fail(fi::kErrorFileNotFound);
  if (fi::Find(to) != NULL && !Move(to, backup, NameOf(backup))) return false;
  return Move(staged, to, NameOf(to));
}

RestoreResult RestoreStaged(const char* to, unsigned number, bool wasNew) {
  if (!fi::CountCall() || !CheckDestination(to)) return kRestoreFailed;
  const std::string staged = Beside(to, number, kStagedCopy);
  const std::string backup = Beside(to, number, kStagedBackup);
  Node* there = fi::Find(to);
  RestoreResult result = kNothingToRestore;
  if (fi::Find(backup) != NULL) {
    const std::string name = there != NULL ? there->name : NameOf(to);
    if ((there != NULL && !Discard(to)) || !Move(backup, to, name))
      return kRestoreFailed;
    result = kRestored;
  } else if (wasNew && there != NULL && fi::Find(staged) == NULL) {
    if (!Discard(to)) return kRestoreFailed;
    result = kRestored;
  }
  return Discard(staged) ? result : kRestoreFailed;
}

bool RemoveStaged(const char* to, unsigned number, StagedRole role) {
  return fi::CountCall() && CheckDestination(to) &&
         Discard(Beside(to, number, role));
}

bool WriteFileThrough(const char* path, const char* bytes, unsigned size) {
  if (!fi::CountCall()) return false;
  std::string parent, name;
  if (!fi::ExistingParent(path, &parent, &name))
    return Fail(fi::kErrorPathNotFound);
  Node* node = fi::Find(path);
  if (node != NULL && (node->held || node->directory ||
                       (node->attributes & kAttributeReadOnly))) {
    return Fail(node->held ? fi::kErrorSharingViolation
                           : fi::kErrorAccessDenied);
  }
  Node made;
  made.name = node != NULL ? node->name : name;
  made.parent = parent;
  made.directory = false;
  made.contents.assign(bytes, size);
  made.attributes = kAttributeArchive;
  made.date = fi::TheWorld().today;
  made.held = false;
  made.timeUnreadable = false;
  fi::TheWorld().nodes[fi::KeyOf(path)] = made;
  return true;
}

bool ReadWholeFile(const char* path, unsigned most, HeapArray<char>* bytes,
                   unsigned* size) {
  Node* node = fi::Find(path);
  if (node == NULL) return Fail(fi::MissingCode(path));
  if (node->held || node->directory) {
    return Fail(node->held ? fi::kErrorSharingViolation
                           : fi::kErrorAccessDenied);
  }
  if (node->contents.size() > most) return Fail(223);  // ERROR_FILE_TOO_LARGE
  bytes->Reset(new char[node->contents.size() + 1]);
  node->contents.copy(bytes->get(), node->contents.size());
  (*bytes)[node->contents.size()] = '\0';
  *size = static_cast<unsigned>(node->contents.size());
  return true;
}

bool RenameFile(const char* from, const char* to) {
  if (!fi::CountCall()) return false;
  std::string parent, name;
  if (!fi::ExistingParent(to, &parent, &name))
    return Fail(fi::kErrorPathNotFound);
  if (fi::Find(to) != NULL) return Fail(fi::kErrorAlreadyExists);
  Node* node = fi::Find(from);
  if (node == NULL) return Fail(fi::MissingCode(from));
  if (node->held) return Fail(fi::kErrorSharingViolation);
  Node moved = *node;
  moved.name = name;
  moved.parent = parent;
  fi::TheWorld().nodes.erase(fi::KeyOf(from));
  fi::TheWorld().nodes[fi::KeyOf(to)] = moved;
  return true;
}

}  // namespace platform
