#include "traverse/report_common.h"

#include <cmath>

#include "core/angles.h"
#include "core/text_utils.h"

namespace korvane::traverse {

std::string Rule(int indent) {
  std::string rule(static_cast<std::size_t>(indent), ' ');
  for (int i = 0; i < 34; ++i) rule += "—";
  return rule;
}

std::string RelativeMisclosureText(double lengthSum, double fs) {
  // A misclosure printed as 0.0 mm is no misclosure to the reader either.
  if (!(RoundFixed(fs * kMillimetresPerMetre, "#0.0") > 0)) return "1 / ∞";
  // The quotient is taken on its 15-digit form, so that 1234.5 / 0.05 gives
  // 24690 and not the 24689.99… of its binary value.
  const double quotient = ParseLenient(NumberText(lengthSum / fs));
  return "1 /" + StrNumber(std::floor(quotient));
}

Message PlaneWidthRefusal() {
  return Message{"平面闭合差远远超限，不接受继续计算！", "提醒", MessageIcon::Information};
}
Message HeightWidthRefusal() {
  return Message{"高程闭合差远远超限，不接受继续计算！", "提醒", MessageIcon::Information};
}

// Names are padded by the columns they take, so that a row with a Chinese
// name lines up with the others in the saved GBK file and the pane.
std::string PaddedName(const std::string& name) { return PadRightToWidth(name, 12); }

void WriteTitle(ReportLines& out, const std::string& kindName, const std::string& from,
                const std::string& separator, const std::string& to) {
  out.add("     **********  " + kindName + "( " + from + separator + to + "段)平差成果表 **********");
  out.add("");
  out.add("");
}

void WriteTitleAndStart(ReportLines& out, const std::string& kindName, const std::string& startName,
                        const std::string& endName, const StartValues& start) {
  WriteTitle(out, kindName, startName, "-", endName);
  out.add("  起始数据表：");
  out.add(Rule(2));
  WritePointLines(out, "起点", startName, F3(start.startX), F3(start.startY), F3(start.startH));
}

void WriteStartTableEnd(ReportLines& out, const Reduction& red) {
  WriteProjectionLine(out, red.planeHeight);
  WriteConstantsLine(out, red.start.additiveConstant, red.start.scaleConstant);
  out.add(Rule(2));
  WriteObservationTables(out, red.stations);
  WriteCharacteristicsHeading(out, 2);
}

void WritePointLines(ReportLines& out, const std::string& label, const std::string& name,
                     const std::string& xText, const std::string& yText, const std::string& hText) {
  out.add("  " + label + "(" + name + ")：X＝" + xText + "   " + label + "(" + name + ")：Y＝" + yText);
  out.add("  " + label + "(" + name + ")：H＝" + hText);
}

void WriteProjectionLine(ReportLines& out, double planeHeight) {
  out.add("  投影高程面：Hm＝" + S(planeHeight) + "m");
}

void WriteConstantsLine(ReportLines& out, double a, double b) {
  out.add("  测距仪加常数：a＝" + F1(a) + "  测距仪乘常数： b＝" + F1(b));
}

void WriteObservationTables(ReportLines& out, const std::vector<Station>& stations) {
  out.add("");
  out.add("  观测数据表：");
  out.add(Rule(2));
  out.add(std::string("  测站名    ") + "  水 平 角  " + " 水平距离  " + "往测仪高  " + " 往测标高  " +
          " 往测竖角  ");
  for (const Station& s : stations) {
    out.add(Joined("  ", PaddedName(s.name), F5(s.angleDms), PadRight(S(s.distance), 10), "  ",
                   PadRight(S(s.instrumentForward), 10), PadRight(S(s.targetForward), 10), "  ",
                   F5(s.verticalDms)));
  }
  out.add(std::string("  测站名    ") + "  返测仪髙  " + " 返测标髙  " + " 返测竖角  ");
  for (const Station& s : stations) {
    std::string instrument, target, vertical;
    if (!s.oneWay()) {
      instrument = SF3(s.instrumentBack);
      target = SF3(s.targetBack);
      vertical = S(RadiansToDms(s.verticalBack));
    }
    out.add(Joined("  ", PaddedName(s.name), PadRight(instrument, 10), " ", PadRight(target, 10),
                   PadRight(vertical, 10)));
  }
}

void WriteCharacteristicsHeading(ReportLines& out, int ruleIndent) {
  out.add(Rule(ruleIndent));
  out.add("");
  out.add("  导线特征值：");
  out.add(Rule(ruleIndent));
}

void WriteFinalHeading(ReportLines& out, const std::string& distanceHeading) {
  out.add(Rule(2));
  out.add("  平差最终结果：");
  out.add(Rule(2));
  out.add(std::string("  ") + "点  号" + distanceHeading + "    纵坐标X(m)" + "       横坐标Y(m)" +
          "       高程H(m)");
}

}  // namespace korvane::traverse
