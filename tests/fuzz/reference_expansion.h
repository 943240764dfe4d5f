// The value language's bracket walk and its three passes as they were
// written before they were made linear: every turn walks the text from its
// start. Kept only to hold the linear code to them in the fuzz target.
#ifndef UPDATER_TESTS_FUZZ_REFERENCE_EXPANSION_H_
#define UPDATER_TESTS_FUZZ_REFERENCE_EXPANSION_H_

#include "base/text_string.h"

namespace reference {

int GroupCount(const TextString& text, const char* open, const char* close);
// Groups first..last as offsets (inclusive), as TextString::LocateGroups.
bool LocateGroups(const TextString& text, int first, int last, const char* open,
                  const char* close, int* begin, int* end);

bool ExpandValue(TextString* text, bool* limited);

}  // namespace reference

#endif  // UPDATER_TESTS_FUZZ_REFERENCE_EXPANSION_H_
