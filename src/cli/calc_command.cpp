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
      "Keys are the button captions: 0-9 (several digits are pressed one by one), ., neg, + - * / =,\n"
      "Sin Cos Tan Atn 1/x sqrt sqr 10^x e^x Ln Log10 n! PI ArcSin ArcCos Cot ArcCot Sh ArcSh Ch ArcCh\n"
      "cbrt logy yroot Th ArcTh Cth ArcCth Data N Sum Mean SumSq SD SD1 undo clear deg rad,\n"
      "dms2deg (度分秒→度) and deg2dms (度→度分秒).");
  parser.addOption({"degrees", "Start in degree mode (Sin, Cos, Tan, Cot take degrees)."});
  parser.addPositionalArgument("keys", "the keys to press, after --");
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
