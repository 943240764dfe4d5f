// Name rules of the fake file system shared by several operations.
#ifndef UPDATER_TESTS_FAKE_FAKE_NAMES_H_
#define UPDATER_TESTS_FAKE_FAKE_NAMES_H_

#include <string>

namespace fake {
namespace internal {

// Characters Win32 refuses in a file name (the drive's colon aside):
// wildcards, quotes, angle brackets, bars, control characters and colons.
bool HasInvalidNameCharacters(const std::string& path);
bool HasWildcards(const std::string& text);

// The attributes a file or directory keeps after SetFileAttributesA.
unsigned StoredAttributes(unsigned requested, bool directory);

}  // namespace internal
}  // namespace fake

#endif  // UPDATER_TESTS_FAKE_FAKE_NAMES_H_
