#pragma once
// Option parsing shared by every command: one syntax (QCommandLineParser),
// "--help" for each command, usage errors on standard error with status 1.
#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "argument_bytes.h"
#include "cli_command.h"
#include "io/atomic_output.h"
#include "standards/tolerance.h"
#include "core/message.h"

namespace korvane::cli {

// Parses the arguments of a command with one syntax for every command
// ("--name value" or "--name=value"; numbers that may be negative after
// "--"); returns the exit status when the command ends here (help shown: 0,
// usage error: 1). The parser's own errors are English; they are given in
// Chinese here, so that no translation of the toolkit needs to be loaded.
inline int UsageError(const Command& command, const std::string& why) {
  std::cerr << "korvane-cli " << command.name << ": " << why << "\n"
            << "用法：korvane-cli " << command.usage << "\n";
  return 1;
}

// The parser's complaint in Chinese: an unknown option, or an option whose
// value is missing or not wanted (the option is named between quotes).
inline std::string ParserErrorText(const QCommandLineParser& parser) {
  const QStringList unknown = parser.unknownOptionNames();
  if (!unknown.isEmpty()) return "未知的选项：" + unknown.join("、").toStdString();
  const QString text = parser.errorText();
  const qsizetype open = text.indexOf('\''), close = text.lastIndexOf('\'');
  const std::string option = open >= 0 && close > open ? text.mid(open + 1, close - open - 1).toStdString() : "";
  if (text.startsWith("Missing value")) return "选项 " + option + " 缺少值";
  if (text.startsWith("Unexpected value")) return "选项 " + option + " 不带值";
  return "命令行有误";
}

// An option's value, or nothing when it was not given.
inline std::optional<std::string> OptionValue(const QCommandLineParser& parser, const QCommandLineOption& option) {
  if (!parser.isSet(option)) return std::nullopt;
  return parser.value(option).toStdString();
}

// --standard and --grade, as every command that checks against a standard
// takes them; one meaning for all (standards::ChooseStandardGrade).
struct StandardGradeOptions {
  const QCommandLineOption standard{"standard", "城市测量规范（默认）、工程测量规范或水工测量规范。", "STANDARD"};
  const QCommandLineOption grade{"grade", "三等、四等、五等、一级、二级、三级或图根。", "GRADE"};
  standards::StandardGradeChoice choose(const QCommandLineParser& parser) const {
    return standards::ChooseStandardGrade(OptionValue(parser, standard), OptionValue(parser, grade));
  }
};

// A required option that was not given.
inline std::string MissingOption(const char* option) { return std::string("缺少选项 ") + option; }
// A positional argument the command does not take.
inline std::string ExtraArgument(const QString& argument) {
  return "多余的参数：" + io::PathForDisplay(ArgBytes(argument));
}

// The toolkit's help text with its own words in Chinese. The toolkit pads
// the names of the arguments to one width by characters; a Chinese name
// takes two columns a character, so it loses one blank per character.
inline QString ChineseHelp(QString text, const Command& command) {
  // Without an application object the help names "<executable_name>".
  text.replace("<executable_name>", QString::fromStdString(std::string("korvane-cli ") + command.name));
  text.replace("Usage: ", "用法：").replace("[options]", "[选项]").replace("Options:", "选项：");
  const qsizetype arguments = text.indexOf("Arguments:\n");
  if (arguments < 0) return text;
  QStringList lines = text.mid(arguments).split('\n');
  lines.front() = "参数：";
  for (QString& line : lines) {
    if (!line.startsWith("  ") || line.size() < 3 || line[2] == ' ') continue;  // a wrapped description
    const qsizetype end = line.indexOf(' ', 2);
    if (end < 0) continue;
    qsizetype wide = 0, blanks = 0;
    for (qsizetype i = 2; i < end; ++i) wide += line[i].unicode() >= 0x2E80 ? 1 : 0;
    while (end + blanks < line.size() && line[end + blanks] == ' ') ++blanks;
    line.remove(end, std::min(wide, blanks - 1));
  }
  return text.left(arguments) + lines.join('\n');
}

inline std::optional<int> ParseCommandLine(QCommandLineParser& parser, const Command& command,
                                           const std::vector<std::string>& args) {
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({"h", "help"}, "显示本帮助。");
  parser.addOption(help);
  QStringList list{QString::fromStdString(std::string("korvane-cli ") + command.name)};
  for (const std::string& arg : args) list << ArgText(arg);
  if (!parser.parse(list)) return UsageError(command, ParserErrorText(parser));
  if (parser.isSet(help)) {
    std::cout << "用法：korvane-cli " << command.usage << "\n\n" << ChineseHelp(parser.helpText(), command).toStdString();
    return 0;
  }
  return std::nullopt;
}

// The last line of the help of the commands that compute a point.
inline constexpr char kExitStatusNote[] = "退出状态：0 完成，1 用法有误，2 计算被拒绝（标准错误输出“标题: 消息”）。";

inline void PrintMessage(const Message& m) { std::cerr << m.title << ": " << m.text << "\n"; }

// A refused computation: "title: message" on standard error, status 2.
inline int Refuse(const Message& m) {
  PrintMessage(m);
  return 2;
}

// A computed point: refused (status 2), or its warning if any and then X and
// Y, a line each.
template <typename PointResult>
int PrintPoint(const PointResult& r) {
  if (r.refusal) return Refuse(*r.refusal);
  if (r.warning) PrintMessage(*r.warning);
  std::cout << r.x << "\n" << r.y << "\n";
  return 0;
}

// The end of a command that wrote its files: a refused destination ("提示:
// …") or a file that could not be written on standard error with status 1;
// otherwise 0.
template <typename FilesWrite>
int WriteStatus(const Command& command, const FilesWrite& write) {
  if (write.refusal) {
    PrintMessage(*write.refusal);
    return 1;
  }
  if (!write.error.empty()) {
    std::cerr << "korvane-cli " << command.name << ": " << write.error << "\n";
    return 1;
  }
  return 0;
}

// Every destination that may not be written (no regular file, read-only, or
// one of the input files) is refused before anything is written: its message
// ("提示: …") on standard error, status 1, as for any unusable file.
// Two outputs of one command that are one file (the same name, or two names
// of one file): the second would overwrite the first.
inline bool SameOutput(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::equivalent(fs::path(a), fs::path(b), error) && !error) return true;
  std::error_code errorA, errorB;
  const fs::path pa = fs::weakly_canonical(fs::path(a), errorA), pb = fs::weakly_canonical(fs::path(b), errorB);
  if (!errorA && !errorB) return pa == pb;
  return fs::path(a).lexically_normal() == fs::path(b).lexically_normal();
}

inline std::optional<int> RefuseDestinations(const std::vector<std::string>& outputs,
                                             const std::vector<std::string>& inputs) {
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    const std::string& output = outputs[i];
    if (output.empty()) continue;
    for (std::size_t j = 0; j < i; ++j) {
      if (outputs[j].empty() || !SameOutput(outputs[j], output)) continue;
      PrintMessage({"输出文件“" + io::PathForDisplay(output) + "”在命令中给了两次，后写的会盖掉先写的：请给每个输出另起文件名。",
                    "提示", MessageIcon::Information});
      return 1;
    }
    if (const std::optional<Message> refusal = io::DestinationRefusal(output, inputs)) {
      PrintMessage(*refusal);
      return 1;
    }
  }
  return std::nullopt;
}

// Ctrl+C or a termination request while files are written: the command
// notices it between blocks and cleans up instead of dying half-way.
inline volatile std::sig_atomic_t& InterruptFlag() {
  static volatile std::sig_atomic_t flag = 0;
  return flag;
}
inline void WatchInterrupts() {
  auto handler = [](int) { InterruptFlag() = 1; };
  std::signal(SIGINT, handler);
  std::signal(SIGTERM, handler);
}
inline bool Interrupted() { return InterruptFlag() != 0; }

}  // namespace korvane::cli
