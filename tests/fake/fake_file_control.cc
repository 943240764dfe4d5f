// The tests' side of the fake file system: arranging and inspecting it.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/fake/fake_names.h"
#include "tests/fake/fake_state.h"
#include "tests/fake/fake_world.h"

namespace fake {

namespace {

using internal::Node;
using internal::TheWorld;

// A misuse of the control API is a broken test: stop loudly.
void Misuse(const char* what, const std::string& path) {
  fprintf(stderr, "fake world: %s: %s\n", what, path.c_str());
  abort();
}

internal::ParsedPath ParseOrDie(const std::string& path) {
  internal::ParsedPath parsed;
  if (!internal::ParsePath(path, &parsed)) Misuse("not a full path", path);
  return parsed;
}

Node& NodeOrDie(const std::string& path) {
  Node* node = internal::Find(path);
  if (node == NULL) Misuse("no such file or directory", path);
  return *node;
}

Node NewNode(const std::string& name, const std::string& parent,
             bool directory) {
  Node node;
  node.name = name;
  node.parent = parent;
  node.directory = directory;
  node.attributes =
      directory ? platform::kAttributeDirectory : platform::kAttributeArchive;
  node.date = TheWorld().today;
  node.held = false;
  node.timeUnreadable = false;
  return node;
}

void AddDirectories(const internal::ParsedPath& parsed, size_t count) {
  std::map<std::string, Node>& nodes = TheWorld().nodes;
  for (size_t i = 1; i <= count; ++i) {
    std::string key = internal::JoinKey(parsed.parts, i);
    std::map<std::string, Node>::iterator it = nodes.find(key);
    if (it == nodes.end()) {
      std::string parent = i > 1 ? internal::JoinKey(parsed.parts, i - 1) : "";
      nodes[key] = NewNode(parsed.parts[i - 1], parent, true);
    } else if (!it->second.directory) {
      Misuse("a file is in the way of a directory", key);
    }
  }
}

bool HasAncestor(const std::map<std::string, Node>& nodes,
                 const std::string& key, const std::string& ancestor) {
  std::string current = key;
  while (!current.empty()) {
    if (current == ancestor) return true;
    std::map<std::string, Node>::const_iterator it = nodes.find(current);
    if (it == nodes.end()) return false;
    current = it->second.parent;
  }
  return false;
}

}  // namespace

void AddDirectory(const std::string& path) {
  internal::ParsedPath parsed = ParseOrDie(path);
  AddDirectories(parsed, parsed.parts.size());
}

void AddFile(const std::string& path, const std::string& contents,
             unsigned attributes) {
  internal::ParsedPath parsed = ParseOrDie(path);
  if (parsed.parts.size() < 2 || parsed.trailingBackslash) {
    Misuse("not a file path", path);
  }
  if (internal::HasInvalidNameCharacters(path)) {
    Misuse("Windows refuses this name", path);
  }
  AddDirectories(parsed, parsed.parts.size() - 1);
  std::string key = internal::JoinKey(parsed.parts, parsed.parts.size());
  std::map<std::string, Node>& nodes = TheWorld().nodes;
  if (nodes.count(key) != 0 && nodes[key].directory) {
    Misuse("a directory is in the way of a file", path);
  }
  Node node =
      NewNode(parsed.parts.back(),
              internal::JoinKey(parsed.parts, parsed.parts.size() - 1), false);
  node.contents = contents;
  node.attributes = internal::StoredAttributes(attributes, false);
  nodes[key] = node;
}

void RemovePath(const std::string& path) {
  std::string key = internal::KeyOf(path);
  std::map<std::string, Node>& nodes = TheWorld().nodes;
  std::vector<std::string> doomed;
  for (std::map<std::string, Node>::iterator it = nodes.begin();
       it != nodes.end(); ++it) {
    if (HasAncestor(nodes, it->first, key)) doomed.push_back(it->first);
  }
  for (size_t i = 0; i < doomed.size(); ++i) nodes.erase(doomed[i]);
}

void SetFileDate(const std::string& path, int year, int month, int day) {
  Node& node = NodeOrDie(path);
  node.date.year = static_cast<unsigned short>(year);
  node.date.month = static_cast<unsigned short>(month);
  node.date.day = static_cast<unsigned short>(day);
}

void SetAttributesOf(const std::string& path, unsigned attributes) {
  Node& node = NodeOrDie(path);
  node.attributes = internal::StoredAttributes(attributes, node.directory);
}

void SetHeld(const std::string& path, bool held) {
  Node& node = NodeOrDie(path);
  if (node.directory) Misuse("only files are held", path);
  node.held = held;
}

void SetFileTimeUnreadable(const std::string& path, bool unreadable) {
  NodeOrDie(path).timeUnreadable = unreadable;
}

void SetToday(int year, int month, int day) {
  platform::FileDate& today = TheWorld().today;
  today.year = static_cast<unsigned short>(year);
  today.month = static_cast<unsigned short>(month);
  today.day = static_cast<unsigned short>(day);
}

bool Exists(const std::string& path) { return internal::Find(path) != NULL; }

bool IsDirectory(const std::string& path) {
  Node* node = internal::Find(path);
  return node != NULL && node->directory;
}

std::string Contents(const std::string& path) {
  Node* node = internal::Find(path);
  return node != NULL ? node->contents : std::string();
}

unsigned Attributes(const std::string& path) {
  Node* node = internal::Find(path);
  return node != NULL ? node->attributes : kNoAttributes;
}

platform::FileDate DateOf(const std::string& path) {
  Node* node = internal::Find(path);
  platform::FileDate none = {0, 0, 0};
  return node != NULL ? node->date : none;
}

std::vector<std::string> List(const std::string& directory) {
  std::string key = internal::KeyOf(directory);
  std::vector<std::pair<std::string, std::string> > named;
  const std::map<std::string, Node>& nodes = TheWorld().nodes;
  for (std::map<std::string, Node>::const_iterator it = nodes.begin();
       it != nodes.end(); ++it) {
    if (!key.empty() && it->second.parent == key) {
      named.push_back(
          std::make_pair(internal::Upper(it->second.name), it->second.name));
    }
  }
  std::sort(named.begin(), named.end());
  std::vector<std::string> names;
  for (size_t i = 0; i < named.size(); ++i) names.push_back(named[i].second);
  return names;
}

int OpenSearchCount() { return TheWorld().openSearches; }

}  // namespace fake

namespace fake {

unsigned CountedCalls() { return internal::TheWorld().countedCalls; }

void FailCall(unsigned call, unsigned code) {
  internal::TheWorld().failingCalls[call] = code;
}

void KillAfterCall(unsigned call) { internal::TheWorld().lastLiveCall = call; }

void NewProcess() {
  internal::World& world = internal::TheWorld();
  world.countedCalls = 0;
  world.failingCalls.clear();
  world.lastLiveCall = 0;
}

}  // namespace fake
