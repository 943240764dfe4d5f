// Log files, the temporary folder and named mutexes in the fake world.
#include <string.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/fake/fake_names.h"
#include "tests/fake/fake_state.h"
#include "tests/fake/fake_world.h"

namespace {

using fake::internal::Fail;
using fake::internal::Node;
using fake::internal::TheWorld;
typedef fake::internal::World::KernelObjectData ObjectData;
namespace fi = fake::internal;

size_t NumberOf(void* handle) { return reinterpret_cast<size_t>(handle); }

ObjectData* DataOf(void* handle) {
  std::map<size_t, ObjectData>& objects = TheWorld().kernelObjects;
  std::map<size_t, ObjectData>::iterator it = objects.find(NumberOf(handle));
  return it != objects.end() ? &it->second : NULL;
}

void* NewObject(bool mutex, const std::string& key) {
  static size_t lastNumber = 0;
  ObjectData data;
  data.mutex = mutex;
  data.key = key;
  TheWorld().kernelObjects[++lastNumber] = data;
  return reinterpret_cast<void*>(lastNumber);
}

// Whether this process holds a handle to the mutex `name`.
bool HeldHere(const std::string& name) {
  const std::map<size_t, ObjectData>& objects = TheWorld().kernelObjects;
  for (std::map<size_t, ObjectData>::const_iterator it = objects.begin();
       it != objects.end(); ++it) {
    if (it->second.mutex && it->second.key == name) return true;
  }
  return false;
}

}  // namespace

namespace platform {

KernelObjectTraits::Handle KernelObjectTraits::Null() { return NULL; }

bool KernelObjectTraits::IsValid(Handle handle) { return handle != NULL; }

void KernelObjectTraits::Close(Handle handle) {
  // Nothing when closed already or opened in a world since reset.
  TheWorld().kernelObjects.erase(NumberOf(handle));
}

unsigned TempDirectory(char* buffer, unsigned size) {
  const std::string& temp = TheWorld().tempDirectory;
  if (temp.empty() || temp.size() >= size) {
    if (size != 0) buffer[0] = '\0';
    return 0;
  }
  memcpy(buffer, temp.c_str(), temp.size() + 1);
  return static_cast<unsigned>(temp.size());
}

bool OpenLogFile(const char* path, LogOpenMode mode, KernelObject* file,
                 bool* created) {
  const std::string name = path != NULL ? path : "";
  if (name.empty()) return Fail(fi::kErrorPathNotFound);
  if (fi::HasInvalidNameCharacters(name)) return Fail(fi::kErrorInvalidName);
  Node* node = fi::Find(name);
  if (node != NULL) {
    if (mode == kLogCreateNew) return Fail(fi::kErrorFileExists);
    if (node->directory || (node->attributes & kAttributeReadOnly)) {
      return Fail(fi::kErrorAccessDenied);
    }
    // Sharing read and write: only a holder without sharing is in the way.
    if (node->held) return Fail(fi::kErrorSharingViolation);
    *created = false;
  } else {
    std::string parentKey;
    std::string leaf;
    if (!fi::ExistingParent(name, &parentKey, &leaf)) {
      return Fail(fi::kErrorPathNotFound);
    }
    fake::AddFile(name);
    *created = true;
  }
  file->Reset(NewObject(false, fi::KeyOf(name)));
  return true;
}

bool AppendToFile(const KernelObject& file, const char* bytes, unsigned size) {
  ObjectData* data = DataOf(file.get());
  if (data == NULL || data->mutex) return Fail(6);  // ERROR_INVALID_HANDLE
  std::map<std::string, Node>::iterator it = TheWorld().nodes.find(data->key);
  // The file was deleted under the open handle: the data goes nowhere.
  if (it == TheWorld().nodes.end()) return true;
  it->second.contents.append(bytes, size);
  return true;
}

MutexResult CreateNamedMutex(const char* name, KernelObject* held) {
  const std::string key = name != NULL ? name : "";
  // Kernel object names hold no backslash but after a namespace prefix.
  const size_t slash = key.find('\\');
  if (slash != std::string::npos && (key.compare(0, slash, "Global") != 0 &&
                                     key.compare(0, slash, "Local") != 0)) {
    Fail(fi::kErrorPathNotFound);
    return kMutexFailed;
  }
  const bool existed =
      TheWorld().foreignMutexes.count(key) != 0 || HeldHere(key);
  held->Reset(NewObject(true, key));
  return existed ? kMutexExisted : kMutexCreated;
}

}  // namespace platform

namespace fake {

void SetTempDirectory(const std::string& path) {
  TheWorld().tempDirectory = path;
}

void HoldMutexElsewhere(const std::string& name) {
  TheWorld().foreignMutexes.insert(name);
}

std::vector<std::string> MutexesHeld() {
  std::vector<std::string> names;
  const std::map<size_t, ObjectData>& objects = TheWorld().kernelObjects;
  for (std::map<size_t, ObjectData>::const_iterator it = objects.begin();
       it != objects.end(); ++it) {
    if (it->second.mutex) names.push_back(it->second.key);
  }
  return names;
}

int OpenKernelObjectCount() {
  return static_cast<int>(TheWorld().kernelObjects.size());
}

}  // namespace fake
