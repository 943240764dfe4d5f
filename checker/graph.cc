#include "checker/graph.h"

#include "checker/findings.h"
#include "checker/markup.h"
#include "checker/settings_text.h"
#include "commands/item_list.h"
#include "commands/msgbox.h"
#include "commands/switch.h"

namespace checker {

namespace {

// A DOT string: quotes and backslashes escaped, line feeds as "\n";
// double-byte characters pass whole.
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i])) &&
        i + 1 < text.size()) {
      quoted += text.substr(i++, 2);
    } else if (text[i] == '\n') {
      quoted += "\\n";
    } else {
      if (text[i] == '"' || text[i] == '\\') quoted += '\\';
      quoted += text[i];
    }
  }
  return quoted + "\"";
}

std::string NodeId(size_t list, size_t item) {
  return Printf("n%d_%d", static_cast<int>(list), static_cast<int>(item));
}

bool IsMode(const ProcRecord* record, const char* mode) {
  return record && EqualsIgnoringCase(record->mode.Text(), mode);
}

// The first item of `list` named `target`, or -1.
int Find(const FlowList& list, const std::string& target) {
  for (size_t i = 0; i < list.items.size(); ++i) {
    if (EqualsIgnoringCase(list.items[i].name, target)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string Label(const FlowItem& item) {
  if (!item.record) return item.name + "\n(does not load)";
  std::string label = item.name + "\n" + item.record->mode.Text();
  if (IsMode(item.record, "MSGBOX")) {
    const MSGBOX_INFO* box = static_cast<const MSGBOX_INFO*>(item.record);
    label += std::string(" ") + box->TYPE.Text();
  }
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
    if (IsMode(item.record, "SWITCH")) *dot += ", shape=diamond";
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
    if (IsMode(item.record, "SWITCH")) {
      const SWITCH_INFO* info = static_cast<const SWITCH_INFO*>(item.record);
      TextString target(info->PROC);
      target.Trim(" ");
      const int tested = Find(list, target.Text());
      if (tested >= 0) {
        *dot += "  " + NodeId(l, tested) + " -> " + node +
                " [style=dotted, constraint=false, label=\"tested\"];\n";
      }
      for (int b = 1; b >= 0; --b) {
        const int branch = item.branch[b];
        if (branch < 0 || flow.lists[branch].items.empty()) continue;
        *dot +=
            "  " + node + " -> " + NodeId(branch, 0) +
            Printf(" [label=\"%d%s\"%s];\n", b, item.loops[b] ? " (again)" : "",
                   item.loops[b] ? ", color=red, style=dashed" : "");
        // After the branch the list goes on after the SWITCH.
        const std::string next = i + 1 < list.items.size()
                                     ? NodeId(l, i + 1)
                                     : (l == 0 ? "end" : "");
        if (!item.loops[b] && !next.empty()) {
          *dot += "  " + NodeId(branch, flow.lists[branch].items.size() - 1) +
                  " -> " + next + " [style=dashed, color=grey];\n";
        }
      }
    } else if (IsMode(item.record, "MSGBOX")) {
      const MSGBOX_INFO* info = static_cast<const MSGBOX_INFO*>(item.record);
      if (info->FLAG.ItemCount(",") >= 2) {
        const int tested = Find(list, ListItem(info->FLAG, 0).Text());
        if (tested >= 0) {
          *dot += "  " + NodeId(l, tested) + " -> " + node +
                  Printf(
                      " [style=dotted, constraint=false, label=\"FLAG "
                      "%d\"];\n",
                      ListItem(info->FLAG, 1).ToInt());
        }
      }
      const bool yesNo =
          info->TYPE.Equals("QUESTION") || info->TYPE.Equals("WARNING");
      const char* answers[2] = {yesNo ? "Yes" : "OK", "No"};
      for (int a = 0; a < (yesNo ? 2 : 1); ++a) {
        if (info->ISABORT.Item(a, ",").ToInt() == 0) continue;
        *dot += "  " + node + " -> end [style=dashed, label=\"" + answers[a] +
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
