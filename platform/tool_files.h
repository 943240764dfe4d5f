// What the command-line tools (updater-check) take from the system besides
// platform.h: their arguments, full paths and files to read, all named in
// code page 932 like every other text, whatever code page the system uses.
#ifndef UPDATER_PLATFORM_TOOL_FILES_H_
#define UPDATER_PLATFORM_TOOL_FILES_H_

#include <stdio.h>

#include <string>
#include <vector>

namespace platform {

// The arguments after the program's name. On the NT family they come from
// the wide command line (CommandLineToArgvW) converted to code page 932, so
// that a Japanese file name arrives whole on a system whose ANSI code page
// is not 932; an argument 932 cannot hold stays as the ANSI `argv` has it.
// Elsewhere `argv` as it is.
std::vector<std::string> ToolArguments(int argc, char** argv);

// fopen(path, "rb"), the path converted from code page 932 on the NT
// family (_wfopen).
FILE* OpenForReading(const char* path);

// The full path of `path` (GetFullPathNameW, realpath elsewhere); `path`
// itself when there is none.
std::string FullPathOf(const std::string& path);

}  // namespace platform

#endif  // UPDATER_PLATFORM_TOOL_FILES_H_
