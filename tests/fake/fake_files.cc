// Single-call file operations over the fake file system, failing where
// Windows fails.
#include <string>

#include "platform/platform.h"
#include "tests/fake/fake_names.h"
#include "tests/fake/fake_state.h"

namespace {

using fake::internal::Find;
using fake::internal::Node;
using fake::internal::TheWorld;

bool Empty(const char* text) { return text == NULL || *text == '\0'; }

}  // namespace

namespace platform {

bool SetAttributes(const char* path, unsigned attributes) {
  if (Empty(path) || fake::internal::HasWildcards(path)) return false;
  Node* node = Find(path);
  if (node == NULL) return false;
  // Allowed on a held file: changing attributes does not conflict with
  // another process's sharing mode.
  node->attributes =
      fake::internal::StoredAttributes(attributes, node->directory);
  return true;
}

bool MakeDirectory(const char* path) {
  if (Empty(path) || fake::internal::HasInvalidNameCharacters(path)) {
    return false;
  }
  std::string parentKey;
  std::string name;
  if (!fake::internal::ExistingParent(path, &parentKey, &name)) return false;
  std::string key = fake::internal::KeyOf(path);
  fake::internal::World& world = TheWorld();
  if (world.nodes.count(key) != 0) return false;
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
  if (Empty(path)) return false;
  Node* node = Find(path);
  if (node == NULL || node->directory || node->held ||
      (node->attributes & kAttributeReadOnly)) {
    return false;
  }
  TheWorld().nodes.erase(fake::internal::KeyOf(path));
  return true;
}

bool CopyFileOver(const char* from, const char* to) {
  if (Empty(from) || Empty(to)) return false;
  Node* source = Find(from);
  if (source == NULL || source->directory || source->held) return false;
  if (fake::internal::HasInvalidNameCharacters(to)) return false;
  std::string parentKey;
  std::string name;
  if (!fake::internal::ExistingParent(to, &parentKey, &name)) return false;
  std::string fromKey = fake::internal::KeyOf(from);
  std::string toKey = fake::internal::KeyOf(to);
  if (fromKey == toKey) return false;  // the source is open for reading

  fake::internal::World& world = TheWorld();
  std::map<std::string, Node>::iterator existing = world.nodes.find(toKey);
  if (existing != world.nodes.end()) {
    const Node& target = existing->second;
    if (target.directory || target.held ||
        (target.attributes & kAttributeReadOnly)) {
      return false;
    }
    // Replacing a hidden or system file needs a source with the same bit.
    unsigned guarded =
        target.attributes & (kAttributeHidden | kAttributeSystem);
    if ((source->attributes & guarded) != guarded) return false;
  }
  Node copy = *source;
  // An existing entry keeps the letter case of its name.
  copy.name = existing != world.nodes.end() ? existing->second.name : name;
  copy.parent = parentKey;
  copy.held = false;
  copy.timeUnreadable = false;
  // The copy takes the source's attributes and is marked for archiving;
  // the last-write time travels with the contents.
  copy.attributes =
      (source->attributes & ~kAttributeNormal) | kAttributeArchive;
  world.nodes[toKey] = copy;
  return true;
}

bool OpenableForWriting(const char* path) {
  if (Empty(path)) return false;
  Node* node = Find(path);
  // Windows refuses write access to a read-only file.
  return node != NULL && !node->directory && !node->held &&
         (node->attributes & kAttributeReadOnly) == 0;
}

FileDateResult LastWriteDate(const char* path, FileDate* date) {
  if (Empty(path)) return kFileDateNotOpened;
  Node* node = Find(path);
  // Opening without sharing fails on a held file; a directory cannot be
  // opened without backup semantics.
  if (node == NULL || node->directory || node->held) return kFileDateNotOpened;
  if (node->timeUnreadable) return kFileDateNotRead;
  *date = node->date;
  return kFileDateRead;
}

}  // namespace platform
