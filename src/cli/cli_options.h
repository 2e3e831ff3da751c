#pragma once
// Option parsing shared by every command: one syntax (QCommandLineParser),
// "--help" for each command, usage errors on standard error with status 1.
#include <QCommandLineParser>
#include <QStringList>
#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli_command.h"
#include "core/message.h"

namespace korvane::cli {

// Parses the arguments of a command with one syntax for every command
// ("--name value" or "--name=value"; numbers that may be negative after
// "--"); returns the exit status when the command ends here (help shown: 0,
// usage error: 1).
inline std::optional<int> ParseCommandLine(QCommandLineParser& parser, const Command& command,
                                           const std::vector<std::string>& args) {
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({"h", "help"}, "Shows this help.");
  parser.addOption(help);
  QStringList list{QString::fromStdString(std::string("korvane-cli ") + command.name)};
  for (const std::string& arg : args) list << QString::fromLocal8Bit(arg.c_str());
  if (!parser.parse(list)) {
    std::cerr << "korvane-cli " << command.name << ": " << parser.errorText().toStdString() << "\n"
              << "usage: korvane-cli " << command.usage << "\n";
    return 1;
  }
  if (parser.isSet(help)) {
    // Without an application object the help names "<executable_name>".
    QString text = parser.helpText();
    text.replace("<executable_name>", QString::fromStdString(std::string("korvane-cli ") + command.name));
    std::cout << "usage: korvane-cli " << command.usage << "\n\n" << text.toStdString();
    return 0;
  }
  return std::nullopt;
}

inline int UsageError(const Command& command, const std::string& why) {
  std::cerr << "korvane-cli " << command.name << ": " << why << "\n"
            << "usage: korvane-cli " << command.usage << "\n";
  return 1;
}

inline void PrintMessage(const Message& m) { std::cerr << m.title << ": " << m.text << "\n"; }

// A refused computation: "title: message" on standard error, status 2.
inline int Refuse(const Message& m) {
  PrintMessage(m);
  return 2;
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
