#pragma once
// The subcommands of korvane-cli register themselves here.
#include <functional>
#include <string>
#include <vector>

namespace korvane::cli {

// Runs a subcommand with its arguments (after the subcommand's name) and
// returns the process exit status: 0 success, 1 unusable input (missing or
// unreadable file, wrong arguments), 2 a refusal of the computation.
using CommandFunction = std::function<int(const std::vector<std::string>& args)>;

struct CommandRegistration {
  CommandRegistration(const std::string& name, const std::string& usage, CommandFunction run);
};

}  // namespace korvane::cli
