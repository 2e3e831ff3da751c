// korvane-cli calc: presses calculator keys in order and prints the display,
// then every message shown on the way.
#include <QCommandLineParser>
#include <QStringList>
#include <iostream>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "utilities/calculator.h"

namespace korvane::cli {
namespace {

int RunCalc(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "按顺序按下计算器的键，输出显示的结果，然后是途中出现的每条消息。\n"
      "键名为按钮上的文字：0-9（多位数逐位按）、.、neg（负号）、+ - * / =、\n"
      "Sin Cos Tan Atn 1/x sqrt sqr 10^x e^x Ln Log10 n! PI ArcSin ArcCos Cot ArcCot\n"
      "Sh ArcSh Ch ArcCh cbrt logy yroot Th ArcTh Cth ArcCth、\n"
      "统计键 Data N Sum Mean SumSq SD SD1、undo clear deg rad，\n"
      "以及 dms2deg（度分秒→度）和 deg2dms（度→度分秒）。");
  parser.addOption({"degrees", "以角度方式开始（Sin、Cos、Tan、Cot 按度计算）。"});
  parser.addPositionalArgument("KEY", "要按的键，写在 -- 之后", "KEY...");
  if (const auto status = ParseCommandLine(parser, kCalcCommand, args)) return *status;
  std::vector<std::string> keys;
  for (const QString& key : parser.positionalArguments()) {
    keys.push_back(key.toStdString());
    if (!utilities::IsKeyToken(keys.back())) return UsageError(kCalcCommand, "未知的按键：" + keys.back());
  }
  utilities::Calculator calculator;
  calculator.setDegrees(parser.isSet("degrees"));
  const std::vector<Message> messages = PressKeys(calculator, keys);
  std::cout << calculator.display() << "\n";
  for (const Message& m : messages) std::cout << m.title << ": " << m.text << "\n";
  return 0;
}

}  // namespace

const Command kCalcCommand{"calc", "calc [--degrees] -- KEY...", RunCalc};
}  // namespace korvane::cli
