// korvane-cli: the batch program. It runs the same engines as the windows
// on files and prints the results tables.
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli_command.h"
#include "core/message_text.h"

namespace {

using korvane::cli::Command;

// Every command of the batch program, in the order the help lists them.
const Command* const kCommands[] = {
    &korvane::cli::kTraverseCommand, &korvane::cli::kRigorousCommand, &korvane::cli::kGeodeticCommand,
    &korvane::cli::kCalcCommand,     &korvane::cli::kConvertCommand,  &korvane::cli::kSplitCommand,
    &korvane::cli::kMergeCommand,    &korvane::cli::kLevelCommand,    &korvane::cli::kNetworkCommand,
    &korvane::cli::kIntersectCommand, &korvane::cli::kResectCommand, &korvane::cli::kCentringCommand,
    &korvane::cli::kGaussCommand,    &korvane::cli::kReduceCommand,   &korvane::cli::kHeightCommand,
};

const Command* FindCommand(const std::string& name) {
  for (const Command* command : kCommands)
    if (name == command->name) return command;
  return nullptr;
}

void PrintUsage(std::ostream& out) {
  out << "用法：korvane-cli 命令 [选项] [-- 数值]   （korvane-cli 命令 --help 查看详细说明）\n";
  for (const Command* command : kCommands) out << "  korvane-cli " << command->usage << "\n";
  out << "退出状态：0 完成，1 用法有误或文件不能用，2 计算被拒绝（标准错误输出“标题: 消息”）。\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintUsage(std::cerr);
    return 1;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    PrintUsage(std::cout);
    return 0;
  }
  const Command* command = FindCommand(args[0]);
  if (!command) {
    std::cerr << "korvane-cli: 未知的命令：" << args[0] << "\n";
    PrintUsage(std::cerr);
    return 1;
  }
  // Whatever goes wrong inside a command (memory running out above all) is
  // reported and ends the program with status 1, never with an abort.
  try {
    return command->run(std::vector<std::string>(args.begin() + 1, args.end()));
  } catch (const std::bad_alloc&) {
    std::cerr << "korvane-cli: 内存不足，无法完成计算\n";
  } catch (const std::exception& e) {
    std::cerr << "korvane-cli: 无法完成计算：" << korvane::ExceptionText(e) << "\n";
  } catch (...) {
    std::cerr << "korvane-cli: 无法完成计算\n";
  }
  return 1;
}
