// Shell links in the fake world: saved like IPersistFile::Save would save
// them, recorded per path, and present as files.
#include <string>

#include "platform/platform.h"
#include "tests/fake/fake_names.h"
#include "tests/fake/fake_state.h"
#include "tests/fake/fake_world.h"

namespace {

using fake::internal::Fail;
using fake::internal::Node;
using fake::internal::TheWorld;

std::string Text(const char* text) { return text != NULL ? text : ""; }

// HRESULT_FROM_WIN32, as IPersistFile::Save reports file errors.
unsigned HResultOf(unsigned code) { return 0x80070000u | code; }

}  // namespace

namespace platform {

bool SaveShortcut(const ShortcutFields& fields, const char* path) {
  fake::internal::World& world = TheWorld();
  // CoCreateInstance fails on a thread that has not initialised COM.
  // The link object cuts a target or working folder longer than MAX_PATH
  // characters (bytes on the 95 family): refused, never saved cut.
  const std::string target = Text(fields.target);
  const std::string folder = Text(fields.workingDirectory);
  const bool nt = world.platformId == kPlatformWin32Nt;
  if (fake::internal::WideLength(target) + 1 > kMaxPath ||
      fake::internal::WideLength(folder) + 1 > kMaxPath ||
      (!nt && (target.size() + 1 > kMaxPath || folder.size() + 1 > kMaxPath))) {
    return Fail(fake::internal::kErrorFilenameExcedRange);
  }
  if (world.comDepth <= 0) return Fail(0x800401F0u);  // CO_E_NOTINITIALIZED
  std::string file = Text(path);
  // The UTF-16 path must fit MAX_PATH wide characters with its terminator;
  // MultiByteToWideChar fails with ERROR_INSUFFICIENT_BUFFER.
  if (fake::internal::WideLength(file) + 1 > kMaxPath) return Fail(122);
  if (file.empty()) return Fail(HResultOf(fake::internal::kErrorPathNotFound));
  if (fake::internal::HasInvalidNameCharacters(file)) {
    return Fail(HResultOf(fake::internal::kErrorInvalidName));
  }
  std::string parentKey;
  std::string name;
  if (!fake::internal::ExistingParent(file, &parentKey, &name)) {
    return Fail(HResultOf(fake::internal::kErrorPathNotFound));
  }
  std::string key = fake::internal::KeyOf(file);
  std::map<std::string, Node>::iterator existing = world.nodes.find(key);
  if (existing != world.nodes.end()) {
    const Node& old = existing->second;
    if (old.held) {
      return Fail(HResultOf(fake::internal::kErrorSharingViolation));
    }
    if (old.directory || (old.attributes & kAttributeReadOnly)) {
      return Fail(HResultOf(fake::internal::kErrorAccessDenied));
    }
  }

  fake::Shortcut shortcut;
  shortcut.target = Text(fields.target);
  shortcut.workingDirectory = Text(fields.workingDirectory);
  shortcut.arguments = Text(fields.arguments);
  shortcut.showCommand = fields.showCommand != 0 ? fields.showCommand
                                                 : kSwShowNormal;
  world.shortcuts[key] = shortcut;
  ++world.shortcutSaves;

  Node node;
  node.name = existing != world.nodes.end() ? existing->second.name : name;
  node.parent = parentKey;
  node.directory = false;
  node.contents = "shell link to " + shortcut.target;
  node.attributes = kAttributeArchive;
  node.date = world.today;
  node.held = false;
  node.timeUnreadable = false;
  world.nodes[key] = node;
  return true;
}

}  // namespace platform

namespace fake {

bool HasShortcut(const std::string& path) {
  // A shortcut whose file was deleted since is gone.
  return internal::TheWorld().shortcuts.count(internal::KeyOf(path)) != 0 &&
         Exists(path);
}

Shortcut ShortcutAt(const std::string& path) {
  std::map<std::string, Shortcut>::const_iterator it =
      internal::TheWorld().shortcuts.find(internal::KeyOf(path));
  if (it != internal::TheWorld().shortcuts.end() && Exists(path)) {
    return it->second;
  }
  Shortcut none;
  none.showCommand = 0;
  return none;
}

int ShortcutSaveCount() { return internal::TheWorld().shortcutSaves; }

}  // namespace fake
