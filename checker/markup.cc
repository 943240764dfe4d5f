#include "checker/markup.h"

#include "base/text_string.h"
#include "checker/findings.h"
#include "platform/text_rules.h"
#include "settings/expansion.h"

namespace checker {

namespace {

// A lookup head: where a "?App\" or "?AppPath\" (letter case ignored)
// starts a character of the text, as an offset, and whether the character
// before it is a "{" of its own.
struct LookupHead {
  size_t at;
  bool braced;
};

std::vector<LookupHead> LookupHeads(const std::string& text) {
  std::vector<LookupHead> heads;
  bool afterBrace = false;
  for (const char* p = text.c_str(); *p;) {
    const char* next = NextTextChar(p);
    if (*p == '?') {
      size_t ahead = 0;  // the head is 9 bytes at most
      while (ahead < 9 && p[ahead]) ++ahead;
      const std::string rest(p, ahead);
      if (SameText(rest.substr(0, 5), "?App\\") ||
          SameText(rest.substr(0, 9), "?AppPath\\")) {
        const LookupHead head = {static_cast<size_t>(p - text.c_str()),
                                 afterBrace};
        heads.push_back(head);
      }
    }
    afterBrace = next - p == 1 && *p == '{';
    p = next;
  }
  return heads;
}

// The lookup from `head` to the next comma or the end, as written.
std::string BareLookup(const std::string& text, size_t head) {
  const size_t comma = text.find(',', head);
  return text.substr(head, comma == std::string::npos ? comma : comma - head);
}

}  // namespace

bool SameText(const std::string& a, const std::string& b) {
  return TextString(a.c_str()).Equals(b.c_str());
}

std::string FoldedKey(const std::string& text) {
  std::string key = text;
  if (!key.empty()) {
    platform::FoldTextCase(&key[0], static_cast<unsigned>(key.size()));
  }
  return key;
}

std::vector<std::string> References(const std::string& text) {
  std::vector<std::string> found;
  const char* const s = text.c_str();
  const char* open = 0;
  for (const char* p = s; *p; p = NextTextChar(p)) {
    if (*p == '<') {
      open = p;
    } else if (*p == '>' && open) {
      found.push_back(std::string(open, p + 1));
      open = 0;
    }
  }
  return found;
}

std::vector<AppPathsGroup> AppPathsGroups(const std::string& text,
                                          std::vector<std::string>* problems) {
  std::vector<AppPathsGroup> groups;
  std::vector<std::pair<size_t, size_t> > spans;  // [begin, end) of groups
  GroupWalk walk(text.c_str(), "{", "}");
  const char* begin;
  const char* end;
  while (walk.Next(&begin, &end)) {
    const size_t first = static_cast<size_t>(begin - text.c_str());
    const size_t last = static_cast<size_t>(end - text.c_str());
    spans.push_back(std::make_pair(first, last + 1));
    const std::string whole = text.substr(first, last + 1 - first);
    TextString program;
    bool wantDefault = false;
    if (!ParseAppPathsGroup(TextString(whole.c_str()), &program, &wantDefault)) {
      TextString inside(whole.c_str());
      inside.Trim("{", "}");
      const std::string head = inside.Item(0, "\\").Text();
      if (!head.empty() && head[0] == '?') {
        problems->push_back(
            Printf("'%s' is no App Paths lookup: write "
                   "{?App\\prog.exe} or {?AppPath\\prog.exe}",
                   whole.c_str()));
      } else if (inside.ItemCount("\\") > 1 &&
                 (SameText(head, "App") || SameText(head, "AppPath"))) {
        problems->push_back(
            Printf("'%s' lacks the '?' of an App Paths lookup", whole.c_str()));
      }
      continue;
    }
    if (walk.Unclosed()) {
      // The updater's turns are its closed groups: one without its close is
      // never looked up.
      problems->push_back(Printf("'%s' has no closing '}': it stays as written",
                                 whole.c_str()));
      continue;
    }
    AppPathsGroup group;
    group.whole = whole;
    group.program = program.Text();
    group.wantDefault = wantDefault;
    TextString inside(whole.c_str());
    inside.Trim("{", "}");
    if (program.Length() == 0) {
      group.problem =
          Printf("'%s' names no program: write %s\\prog.exe inside the braces",
                 whole.c_str(), inside.Item(0, "\\").Text());
    } else if (inside.ItemCount("\\") > 2) {
      group.problem = Printf(
          "'%s': the text after '%s' is replaced with the group; put it "
          "after the '}'",
          whole.c_str(), program.Text());
    }
    if (!group.problem.empty()) problems->push_back(group.problem);
    groups.push_back(group);
  }
  // A lookup the bracket walk puts in no group is plain text to the updater.
  const std::vector<LookupHead> heads = LookupHeads(text);
  for (size_t h = 0; h < heads.size(); ++h) {
    const size_t at = heads[h].at;
    bool inGroup = false;
    for (size_t g = 0; g < spans.size(); ++g) {
      inGroup = inGroup || (at > spans[g].first && at < spans[g].second);
    }
    if (inGroup) continue;
    const std::string bare = BareLookup(text, at);
    if (!heads[h].braced) {
      problems->push_back(Printf("'%s' is not in braces: write {%s}",
                                 bare.c_str(), bare.c_str()));
    } else if (TextString(bare.c_str()).CountOf("}") == 0) {
      problems->push_back(Printf(
          "'{%s' has no closing '}': it stays as written", bare.c_str()));
    } else {
      problems->push_back(
          Printf("'{%s' is never looked up: a '}' before it closes no '{', "
                 "so the braces after it form no group",
                 bare.c_str()));
    }
  }
  return groups;
}

}  // namespace checker
