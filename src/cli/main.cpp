// korvane-cli: the batch program. It runs the same engines as the windows
// on files and prints the results tables.
#include <exception>
#include <iostream>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "cli_command.h"

namespace korvane::cli {
namespace {

struct Command {
  std::string usage;
  CommandFunction run;
};

std::map<std::string, Command>& Commands() {
  static std::map<std::string, Command> commands;
  return commands;
}

}  // namespace

CommandRegistration::CommandRegistration(const std::string& name, const std::string& usage,
                                         CommandFunction run) {
  Commands()[name] = Command{usage, std::move(run)};
}

}  // namespace korvane::cli

int main(int argc, char** argv) {
  using korvane::cli::Commands;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    std::cerr << "usage:\n";
    for (const auto& [name, command] : Commands()) std::cerr << "  korvane-cli " << command.usage << "\n";
    return args.empty() ? 1 : 0;
  }
  auto it = Commands().find(args[0]);
  if (it == Commands().end()) {
    std::cerr << "korvane-cli: unknown command '" << args[0] << "'\n";
    return 1;
  }
  // Whatever goes wrong inside a command (memory running out above all) is
  // reported and ends the program with status 1, never with an abort.
  try {
    return it->second.run(std::vector<std::string>(args.begin() + 1, args.end()));
  } catch (const std::bad_alloc&) {
    std::cerr << "korvane-cli: 内存不足，无法完成计算\n";
  } catch (const std::exception& e) {
    std::cerr << "korvane-cli: 无法完成计算：" << e.what() << "\n";
  } catch (...) {
    std::cerr << "korvane-cli: 无法完成计算\n";
  }
  return 1;
}
