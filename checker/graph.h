// The flow of a settings file as a Graphviz DOT picture: every list in its
// order, SWITCH branches as edges labelled 1 and 0, the procedures a SWITCH
// or a MSGBOX FLAG tests, the answers that end the run (ISABORT), and the
// procedures no list reaches, greyed.
#ifndef UPDATER_CHECKER_GRAPH_H_
#define UPDATER_CHECKER_GRAPH_H_

#include <string>

#include "checker/flow.h"

namespace checker {

// DOT text; names are bytes of the settings file (code page 932).
std::string FlowGraph(const Flow& flow);

}  // namespace checker

#endif  // UPDATER_CHECKER_GRAPH_H_
