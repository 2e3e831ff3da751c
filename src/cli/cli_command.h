#pragma once
// The commands of korvane-cli. Each command's file defines its entry; main
// lists them all in one table.
#include <string>
#include <vector>

namespace korvane::cli {

// Runs a command with its arguments (after the command's name) and returns
// the process exit status: 0 done, 1 unusable input (missing or unreadable
// file, wrong arguments), 2 a refusal of the computation.
using CommandFunction = int (*)(const std::vector<std::string>& args);

struct Command {
  const char* name;
  const char* usage;  // the arguments after "korvane-cli", as the help shows them
  CommandFunction run;
};

extern const Command kTraverseCommand;
extern const Command kRigorousCommand;
extern const Command kGeodeticCommand;
extern const Command kCalcCommand;
extern const Command kConvertCommand;
extern const Command kSplitCommand;
extern const Command kMergeCommand;
extern const Command kNetworkCommand;

}  // namespace korvane::cli
