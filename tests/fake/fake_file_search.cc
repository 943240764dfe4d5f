// FindFirstFileA / FindNextFileA over the fake file system.
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/fake/fake_names.h"
#include "tests/fake/fake_state.h"

namespace {

using fake::internal::IsLeadByte;
using fake::internal::Node;
using fake::internal::Upper;

struct Search {
  std::vector<platform::FindEntry> entries;
  size_t next;
};

// The characters of a code page 932 text; a double-byte character is one.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> result;
  for (size_t i = 0; i < text.size(); ++i) {
    size_t length =
        IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()
            ? 2
            : 1;
    result.push_back(text.substr(i, length));
    i += length - 1;
  }
  return result;
}

bool MatchFrom(const std::vector<std::string>& pattern, size_t p,
               const std::vector<std::string>& name, size_t n) {
  while (p < pattern.size()) {
    if (pattern[p] == "*") {
      for (size_t k = n; k <= name.size(); ++k) {
        if (MatchFrom(pattern, p + 1, name, k)) return true;
      }
      return false;
    }
    if (n == name.size()) return false;
    if (pattern[p] != "?" && pattern[p] != name[n]) return false;
    ++p;
    ++n;
  }
  return n == name.size();
}

// "*" matches any run of characters, "?" exactly one, letters without regard
// to case; "*.*" matches every name, names without a dot too.
bool Matches(const std::string& pattern, const std::string& name) {
  std::string upperPattern = Upper(pattern);
  if (upperPattern == "*.*") return true;
  return MatchFrom(Characters(upperPattern), 0, Characters(Upper(name)), 0);
}

platform::FindEntry MakeEntry(const std::string& name, const Node& node) {
  platform::FindEntry entry;
  memset(&entry, 0, sizeof(entry));
  entry.attributes = node.attributes;
  entry.size = node.directory ? 0 : static_cast<unsigned>(node.contents.size());
  strncpy(entry.name, name.c_str(), platform::kMaxPath - 1);
  return entry;
}

bool ByUpperName(const platform::FindEntry& a, const platform::FindEntry& b) {
  return Upper(a.name) < Upper(b.name);
}

// Position of the last path separator outside double-byte characters.
size_t LastSeparator(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(c)) {
      ++i;
    } else if (c == '\\' || c == '/') {
      last = i;
    }
  }
  return last;
}

bool Collect(const std::string& pattern,
             std::vector<platform::FindEntry>* out) {
  size_t separator = LastSeparator(pattern);
  // Relative names are not modelled; a path ending in a separator never
  // matches anything.
  if (separator == std::string::npos || separator + 1 == pattern.size()) {
    return false;
  }
  std::string directoryPath = pattern.substr(0, separator);
  std::string last = pattern.substr(separator + 1);
  if (fake::internal::HasWildcards(directoryPath)) return false;

  if (!fake::internal::HasWildcards(last)) {
    Node* node = fake::internal::Find(pattern);
    // A drive's root ("C:\.") has no entry of its own to find.
    if (node == NULL || node->parent.empty()) return false;
    out->push_back(MakeEntry(node->name, *node));
    return true;
  }

  Node* directory = fake::internal::Find(directoryPath + "\\");
  if (directory == NULL || !directory->directory) return false;
  std::string directoryKey = fake::internal::KeyOf(directoryPath);
  // Every directory but a drive's root lists "." and ".." first.
  if (!directory->parent.empty()) {
    const char* dots[] = {".", ".."};
    for (int i = 0; i < 2; ++i) {
      if (Matches(last, dots[i])) {
        out->push_back(MakeEntry(dots[i], *directory));
      }
    }
  }
  std::vector<platform::FindEntry> children;
  const std::map<std::string, Node>& nodes = fake::internal::TheWorld().nodes;
  for (std::map<std::string, Node>::const_iterator it = nodes.begin();
       it != nodes.end(); ++it) {
    if (it->second.parent == directoryKey && Matches(last, it->second.name)) {
      children.push_back(MakeEntry(it->second.name, it->second));
    }
  }
  std::sort(children.begin(), children.end(), ByUpperName);
  out->insert(out->end(), children.begin(), children.end());
  return !out->empty();
}

}  // namespace

namespace platform {

FindHandleTraits::Handle FindHandleTraits::Null() { return NULL; }

bool FindHandleTraits::IsValid(Handle handle) { return handle != NULL; }

void FindHandleTraits::Close(Handle handle) {
  delete static_cast<Search*>(handle);
  --fake::internal::TheWorld().openSearches;
}

// The fake's names are code page 932 already: a listing never fails on an
// entry, and failed() stays false.
bool FileSearch::First(const char* pattern, FindEntry* entry) {
  Close();
  failed_ = false;
  if (pattern == NULL || *pattern == '\0') return false;
  std::vector<FindEntry> entries;
  if (!Collect(pattern, &entries)) return false;
  Search* search = new Search;
  search->entries = entries;
  search->next = 1;
  handle_.Reset(search);
  ++fake::internal::TheWorld().openSearches;
  *entry = entries[0];
  return true;
}

bool FileSearch::Next(FindEntry* entry) {
  if (!handle_.valid()) return false;
  Search* search = static_cast<Search*>(handle_.get());
  if (search->next >= search->entries.size()) return false;
  *entry = search->entries[search->next++];
  return true;
}

}  // namespace platform
