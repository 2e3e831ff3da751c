#pragma once
// Option parsing shared by the tool commands: one syntax (QCommandLineParser),
// "--help" for each command, usage errors on standard error with status 1.
#include <QCommandLineParser>
#include <csignal>
#include <QStringList>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"

namespace korvane::cli {

// Parses the arguments of a command; returns the exit status when the
// command should end here (help shown: 0, usage error: 1).
inline std::optional<int> ParseCommandLine(QCommandLineParser& parser, const std::string& command,
                                           const std::vector<std::string>& args) {
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({"h", "help"}, "Shows this help.");
  parser.addOption(help);
  QStringList list{QString::fromStdString("korvane-cli " + command)};
  for (const std::string& arg : args) list << QString::fromLocal8Bit(arg.c_str());
  if (!parser.parse(list)) {
    std::cerr << "korvane-cli " << command << ": " << parser.errorText().toStdString() << "\n"
              << parser.helpText().toStdString();
    return 1;
  }
  if (parser.isSet(help)) {
    std::cout << parser.helpText().toStdString();
    return 0;
  }
  return std::nullopt;
}

inline int UsageError(const QCommandLineParser& parser, const std::string& command,
                      const std::string& why) {
  std::cerr << "korvane-cli " << command << ": " << why << "\n" << parser.helpText().toStdString();
  return 1;
}

inline void PrintMessage(const Message& m) { std::cerr << m.title << ": " << m.text << "\n"; }

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
