// Single-call file operations over the fake file system, failing where
// Windows fails.
#include <string>

#include "platform/platform.h"
#include "tests/fake/fake_names.h"
#include "tests/fake/fake_state.h"

namespace {

using fake::internal::Fail;
using fake::internal::Find;
using fake::internal::MissingCode;
using fake::internal::Node;
using fake::internal::TheWorld;
namespace fi = fake::internal;

bool Empty(const char* text) { return text == NULL || *text == '\0'; }

}  // namespace

namespace fake {
namespace internal {

// Either route succeeds or fails as a whole here: the fake's disks never
// fill, so the two differ only in what they refuse.
bool CopyNode(const char* from, const char* to, const std::string* stagedAs) {
  using platform::kAttributeArchive;
  using platform::kAttributeHidden;
  using platform::kAttributeNormal;
  using platform::kAttributeReadOnly;
  using platform::kAttributeSystem;
  if (Empty(from) || Empty(to)) return Fail(fi::kErrorPathNotFound);
  // Windows' own limit, in wide characters: either route takes the same
  // paths (the temporary name beside the destination takes a form of its
  // own that has no such limit).
  if (fi::WideLength(from) >= platform::kMaxPath ||
      fi::WideLength(to) >= platform::kMaxPath) {
    return Fail(fi::kErrorFilenameExcedRange);
  }
  Node* source = Find(from);
  if (source == NULL) return Fail(MissingCode(from));
  if (source->directory) return Fail(fi::kErrorAccessDenied);
  if (source->held) return Fail(fi::kErrorSharingViolation);
  if (fake::internal::HasInvalidNameCharacters(to)) {
    return Fail(fi::kErrorInvalidName);
  }
  std::string parentKey;
  std::string name;
  if (!fake::internal::ExistingParent(to, &parentKey, &name)) {
    return Fail(fi::kErrorPathNotFound);
  }
  std::string fromKey = fake::internal::KeyOf(from);
  std::string toKey = fake::internal::KeyOf(to);
  fake::internal::ParsedPath parsed;
  fake::internal::ParsePath(to, &parsed);
  if (parsed.trailingBackslash) return Fail(fi::kErrorInvalidName);
  // CopyFileA holds the source open for reading.
  if (stagedAs == NULL && fromKey == toKey) {
    return Fail(fi::kErrorSharingViolation);
  }

  fake::internal::World& world = TheWorld();
  std::map<std::string, Node>::iterator existing = world.nodes.find(toKey);
  if (existing != world.nodes.end()) {
    const Node& target = existing->second;
    // Writing into a held file is a sharing violation; staging beside it
    // does not touch it.
    if (target.held && stagedAs == NULL) {
      return Fail(fi::kErrorSharingViolation);
    }
    if (target.directory || (target.attributes & kAttributeReadOnly)) {
      return Fail(fi::kErrorAccessDenied);
    }
    // A hidden or system file is replaced only by a copy with the same
    // bits: CopyFileA's CREATE_ALWAYS carries the source's attributes, and
    // StageCopy checks the same.
    const unsigned guarded =
        target.attributes & (kAttributeHidden | kAttributeSystem);
    if ((source->attributes & guarded) != guarded) {
      return Fail(fi::kErrorAccessDenied);
    }
  }
  Node copy = *source;
  // An existing entry keeps the letter case of its name.
  copy.name = existing != world.nodes.end() ? existing->second.name : name;
  copy.parent = parentKey;
  if (stagedAs != NULL) {
    toKey = KeyOf(*stagedAs);
    if (world.nodes.count(toKey) != 0) return Fail(fi::kErrorFileExists);
    copy.name = stagedAs->substr(stagedAs->rfind('\\') + 1);
  }
  copy.held = false;
  copy.timeUnreadable = false;
  // The copy takes the source's attributes and is marked for archiving;
  // the last-write time travels with the contents.
  copy.attributes =
      (source->attributes & ~kAttributeNormal) | kAttributeArchive;
  world.nodes[toKey] = copy;
  return true;
}

}  // namespace internal
}  // namespace fake

namespace platform {

bool SetAttributes(const char* path, unsigned attributes) {
  if (!fi::CountCall()) return false;
  if (Empty(path)) return Fail(fi::kErrorPathNotFound);
  if (fake::internal::HasWildcards(path)) return Fail(fi::kErrorInvalidName);
  Node* node = Find(path);
  if (node == NULL) return Fail(MissingCode(path));
  // Allowed on a held file: changing attributes does not conflict with
  // another process's sharing mode.
  node->attributes =
      fake::internal::StoredAttributes(attributes, node->directory);
  return true;
}

bool MakeDirectory(const char* path) {
  if (!fi::CountCall()) return false;
  if (Empty(path)) return Fail(fi::kErrorPathNotFound);
  if (fake::internal::HasInvalidNameCharacters(path)) {
    return Fail(fi::kErrorInvalidName);
  }
  std::string parentKey;
  std::string name;
  if (!fake::internal::ExistingParent(path, &parentKey, &name)) {
    return Fail(fi::kErrorPathNotFound);
  }
  std::string key = fake::internal::KeyOf(path);
  fake::internal::World& world = TheWorld();
  if (world.nodes.count(key) != 0) return Fail(fi::kErrorAlreadyExists);
  Node node;
  node.name = name;
  node.parent = parentKey;
  node.directory = true;
  node.attributes = kAttributeDirectory;
  node.date = world.today;
  node.held = false;
  node.timeUnreadable = false;
  world.nodes[key] = node;
  return true;
}

bool RemoveFile(const char* path) {
  if (!fi::CountCall()) return false;
  if (Empty(path)) return Fail(fi::kErrorPathNotFound);
  Node* node = Find(path);
  if (node == NULL) return Fail(MissingCode(path));
  if (node->held) return Fail(fi::kErrorSharingViolation);
  if (node->directory || (node->attributes & kAttributeReadOnly)) {
    return Fail(fi::kErrorAccessDenied);
  }
  TheWorld().nodes.erase(fake::internal::KeyOf(path));
  return true;
}

bool CopyFileOver(const char* from, const char* to) {
  return fi::CountCall() && fi::CopyNode(from, to, NULL);
}

bool OpenableForWriting(const char* path) {
  if (Empty(path)) return false;
  Node* node = Find(path);
  // Windows refuses write access to a read-only file.
  return node != NULL && !node->directory && !node->held &&
         (node->attributes & kAttributeReadOnly) == 0;
}

FileDateResult LastWriteDate(const char* path, FileDate* date) {
  Node* node = Empty(path) ? NULL : Find(path);
  // Opening without sharing fails on a held file; a directory cannot be
  // opened without backup semantics.
  if (node == NULL) {
    Fail(Empty(path) ? fi::kErrorPathNotFound : MissingCode(path));
    return kFileDateNotOpened;
  }
  if (node->directory || node->held) {
    Fail(node->held ? fi::kErrorSharingViolation : fi::kErrorAccessDenied);
    return kFileDateNotOpened;
  }
  if (node->timeUnreadable) {
    Fail(fi::kErrorAccessDenied);
    return kFileDateNotRead;
  }
  *date = node->date;
  return kFileDateRead;
}

}  // namespace platform
