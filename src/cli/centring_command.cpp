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
  parser.setApplicationDescription(QString(
      "仪器或照准标志（或两者）偏离标石中心时，观测方向的归心改正。\n"
      "S：两标石中心间的距离（米）。E、THETA：测站偏心距（米）和偏心角；\n"
      "E1、THETA1：照准点的偏心距和偏心角（照准点对中时省略或给 0 0；\n"
      "只有照准点偏心时 E THETA 给 0 0）。偏心角在偏心点上量取：\n"
      "自偏心点至其标石中心的方向起，顺时针量至视线方向，度.分秒。\n"
      "  测站归心改正    c″ = ρ″·E·sin(THETA)/S\n"
      "  照准点归心改正  r″ = ρ″·E1·sin(THETA1)/S\n"
      "按反正弦严密计算；两端合计 d = arcsin((E·sin THETA + E1·sin THETA1)/S)。\n"
      "输出 c、r 和 d（秒，到 0.01″），每行一个；给出 --direction 时再输出改正后的方向\n"
      "（观测值 + d），度.分秒。\n") + kExitStatusNote);
  const QCommandLineOption direction("direction", "观测方向值，度.分秒。", "DMS");
  parser.addOption(direction);
  parser.addPositionalArgument("数值", "S E THETA [E1 THETA1]");
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
