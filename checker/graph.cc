#include "checker/graph.h"

#include "checker/findings.h"
#include "checker/markup.h"
#include "checker/report.h"
#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "commands/msgbox.h"
#include "commands/switch.h"

namespace checker {

namespace {

// A DOT string of a settings text: converted to UTF-8 first (a byte that is
// no character becomes "?"), then quotes and backslashes escaped and line
// feeds written "\n". No byte of a UTF-8 character equals a quote or a
// backslash, so the string always ends where it should.
std::string Quoted(const std::string& text) {
  const std::string utf8 = ToUtf8(text);
  std::string quoted = "\"";
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\n') {
      quoted += "\\n";
    } else {
      if (utf8[i] == '"' || utf8[i] == '\\') quoted += '\\';
      quoted += utf8[i];
    }
  }
  return quoted + "\"";
}

std::string NodeId(size_t list, size_t item) {
  return Printf("n%d_%d", static_cast<int>(list), static_cast<int>(item));
}

// The first item of `list` named `target`: true with its index.
bool Find(const FlowList& list, const std::string& target, size_t* index) {
  for (size_t i = 0; i < list.items.size(); ++i) {
    if (SameText(list.items[i].name, target)) {
      *index = i;
      return true;
    }
  }
  return false;
}

// The value of the record's first key of `form`, or null.
const TextString* ValueOf(const ProcRecord* record, ValueForm form) {
  if (!record) return 0;
  for (int k = 0; k < record->kind->keyCount; ++k) {
    if (record->kind->keys[k].form == form) {
      return KeyText(*record, record->kind->keys[k]);
    }
  }
  return 0;
}

std::string Label(const FlowItem& item) {
  if (!item.record) return item.name + "\n(does not load)";
  std::string label = item.name + "\n" + item.record->mode.Text();
  const TextString* type = ValueOf(item.record, kBoxType);
  if (type) label += std::string(" ") + type->Text();
  return label;
}

void AddNodes(const Flow& flow, size_t l, std::string* dot) {
  const FlowList& list = flow.lists[l];
  *dot += Printf("  subgraph cluster_%d {\n", static_cast<int>(l));
  *dot += "    label=" + Quoted("[" + list.owner + "] " + list.key) + ";\n";
  for (size_t i = 0; i < list.items.size(); ++i) {
    const FlowItem& item = list.items[i];
    *dot += "    " + NodeId(l, i) + " [label=" + Quoted(Label(item));
    if (!item.record) *dot += ", color=red, fontcolor=red";
    if (!item.branches.empty()) *dot += ", shape=diamond";
    *dot += "];\n";
  }
  *dot += "  }\n";
}

void AddEdges(const Flow& flow, size_t l, std::string* dot) {
  const FlowList& list = flow.lists[l];
  for (size_t i = 0; i < list.items.size(); ++i) {
    const FlowItem& item = list.items[i];
    const std::string node = NodeId(l, i);
    if (i + 1 < list.items.size()) {
      *dot += "  " + node + " -> " + NodeId(l, i + 1) + ";\n";
    } else if (l == 0) {
      *dot += "  " + node + " -> end;\n";
    }
    const TextString* proc = ValueOf(item.record, kTestedProcedure);
    if (proc) {
      size_t tested = 0;
      if (Find(list, TestedName(*proc).Text(), &tested)) {
        *dot += "  " + NodeId(l, tested) + " -> " + node +
                " [style=dotted, constraint=false, label=\"tested\"];\n";
      }
    }
    // The branches, the last key first.
    for (size_t b = item.branches.size(); b-- > 0;) {
      const FlowBranch& branch = item.branches[b];
      if (branch.list < 0 || flow.lists[branch.list].items.empty()) continue;
      *dot += "  " + node + " -> " + NodeId(branch.list, 0) + " [label=" +
              Quoted(branch.key + (branch.loops ? " (again)" : "")) +
              (branch.loops ? ", color=red, style=dashed" : "") + "];\n";
      // After the branch the list goes on after the SWITCH.
      const std::string next =
          i + 1 < list.items.size() ? NodeId(l, i + 1) : (l == 0 ? "end" : "");
      if (!branch.loops && !next.empty()) {
        *dot += "  " +
                NodeId(branch.list, flow.lists[branch.list].items.size() - 1) +
                " -> " + next + " [style=dashed, color=grey];\n";
      }
    }
    const TextString* flag = ValueOf(item.record, kFlagTest);
    TextString target;
    int expected = 0;
    if (flag && ParseFlag(*flag, &target, &expected)) {
      size_t tested = 0;
      if (Find(list, target.Text(), &tested)) {
        *dot += "  " + NodeId(l, tested) + " -> " + node +
                Printf(
                    " [style=dotted, constraint=false, label=\"FLAG "
                    "%d\"];\n",
                    expected);
      }
    }
    const TextString* answers = ValueOf(item.record, kAnswers);
    if (answers) {
      const TextString* type = ValueOf(item.record, kBoxType);
      const bool yesNo =
          type && (MsgboxStyle(*type) & 0xF) == platform::kMbYesNo;
      const char* names[2] = {yesNo ? "Yes" : "OK", "No"};
      for (int a = 0; a < (yesNo ? 2 : 1); ++a) {
        if (answers->Item(a, ",").ToInt() == 0) continue;
        *dot += "  " + node + " -> end [style=dashed, label=\"" + names[a] +
                ": end\"];\n";
      }
    }
  }
}

}  // namespace

std::string FlowGraph(const Flow& flow) {
  std::string dot =
      "digraph settings {\n"
      "  graph [fontname=\"Helvetica\"];\n"
      "  node [shape=box, fontname=\"Helvetica\"];\n"
      "  edge [fontname=\"Helvetica\", fontsize=10];\n"
      "  start [shape=circle, label=\"start\"];\n"
      "  end [shape=doublecircle, label=\"end\"];\n";
  for (size_t l = 0; l < flow.lists.size(); ++l) AddNodes(flow, l, &dot);
  if (!flow.lists.empty() && !flow.lists[0].items.empty()) {
    dot += "  start -> " + NodeId(0, 0) + ";\n";
  }
  for (size_t l = 0; l < flow.lists.size(); ++l) AddEdges(flow, l, &dot);
  if (!flow.unreachable.empty()) {
    dot +=
        "  subgraph cluster_unreached {\n"
        "    label=\"no list reaches\";\n"
        "    color=grey; fontcolor=grey40;\n"
        "    node [style=filled, fillcolor=grey90, color=grey, "
        "fontcolor=grey40];\n";
    for (size_t i = 0; i < flow.unreachable.size(); ++i) {
      dot += Printf("    u%d [label=", static_cast<int>(i)) +
             Quoted(flow.unreachable[i]) + "];\n";
    }
    dot += "  }\n";
  }
  return dot + "}\n";
}

}  // namespace checker
