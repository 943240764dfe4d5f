#include "platform/tool_files.h"

#include <stdlib.h>

#include "platform/c_library.h"

namespace platform {

std::vector<std::string> ToolArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

FILE* OpenForReading(const char* path) { return fopen(path, "rb"); }

std::string FullPathOf(const std::string& path) {
  ScopedMallocText full(realpath(path.c_str(), 0));
  return full.valid() ? std::string(full.get()) : path;
}

}  // namespace platform
