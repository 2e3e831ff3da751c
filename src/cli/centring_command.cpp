// korvane-cli centring: the centring corrections of one observed direction.
#include <QCommandLineParser>
#include <QStringList>
#include <iostream>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "cogo/centring.h"

namespace korvane::cli {
namespace {

int RunCentring(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Centring corrections of a direction observed with the instrument and/or the target\n"
      "beside its mark centre. S: distance between the two centres (m). E, THETA: the\n"
      "station's eccentric distance (m) and angle; E1, THETA1 the target's (leave them out,\n"
      "or give 0 0, for a centred target; give 0 0 for E THETA when only the target is\n"
      "eccentric). An eccentric angle is measured at the eccentric point, clockwise from the\n"
      "direction towards its own centre to the line of sight, in DMS notation.\n"
      "  station  c\" = rho\"·E·sin(THETA)/S      target  r\" = rho\"·E1·sin(THETA1)/S\n"
      "computed exactly as arcsin; together d = arcsin((E·sin THETA + E1·sin THETA1)/S).\n"
      "Prints c, r and d in seconds to 0.01\", one a line, and with --direction the\n"
      "corrected direction (observed + d) in DMS notation.\n"
      "Exit status: 0 done, 1 usage error, 2 refused (\"title: message\" on standard error).");
  const QCommandLineOption direction("direction", "The observed direction, DMS notation.", "DMS");
  parser.addOption(direction);
  parser.addPositionalArgument("values", "S E THETA [E1 THETA1]");
  if (const auto status = ParseCommandLine(parser, kCentringCommand, args)) return *status;
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 3 && positional.size() != 5)
    return UsageError(kCentringCommand, "应为 S e θ 三个数值，可再加 e1 θ1");
  std::vector<std::string> values;
  for (const QString& value : positional) values.push_back(value.toStdString());
  values.resize(5);
  values.push_back(parser.value(direction).toStdString());
  const cogo::centring::Result r = cogo::centring::Correct(values);
  if (r.refusal) return Refuse(*r.refusal);
  std::cout << r.stationText << "\n" << r.targetText << "\n" << r.totalText << "\n";
  if (!r.correctedDms.empty()) std::cout << r.correctedDms << "\n";
  return 0;
}

}  // namespace

const Command kCentringCommand{"centring", "centring [--direction DMS] [--] S E THETA [E1 THETA1]",
                               RunCentring};
}  // namespace korvane::cli
