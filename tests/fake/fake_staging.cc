// Replacing files all or nothing over the fake file system: staged copies
// and backups are files of the world, named as the real layer names them.
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
// name it is stored under.
bool Move(const std::string& from, const std::string& to,
          const std::string& name) {
  std::map<std::string, Node>& nodes = fi::TheWorld().nodes;
  const std::string fromKey = fi::KeyOf(from);
  Node* node = fi::Find(from);
  if (node == NULL) return Fail(fi::MissingCode(from));
  if (node->held) return Fail(fi::kErrorSharingViolation);
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

namespace platform {

bool FindStagedNumber(const char* to, unsigned* number) {
  if (!fi::CountCall() || !CheckDestination(to)) return false;
  for (unsigned attempt = 0; attempt < kStagedNumbers; ++attempt) {
    const unsigned candidate = (*number + attempt) % kStagedNumbers;
    if (fi::Find(Beside(to, candidate, kStagedCopy)) == NULL &&
        fi::Find(Beside(to, candidate, kStagedBackup)) == NULL) {
      *number = candidate;
      return true;
    }
  }
  return Fail(fi::kErrorFileExists);
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
  if (fi::Find(staged) == NULL) return Fail(fi::kErrorFileNotFound);
  Node* existing = fi::Find(to);
  // The replaced file's stored name, letter case and all, is kept.
  const std::string name = existing != NULL ? existing->name : NameOf(to);
  if (existing != NULL && !Move(to, Beside(to, number, kStagedBackup),
                                NameOf(Beside(to, number, kStagedBackup)))) {
    return false;
  }
  return Move(staged, to, name);
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

bool RemoveStaged(const char* to, unsigned number) {
  if (!fi::CountCall() || !CheckDestination(to)) return false;
  const bool staged = Discard(Beside(to, number, kStagedCopy));
  return Discard(Beside(to, number, kStagedBackup)) && staged;
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
