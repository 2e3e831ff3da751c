// The results table of the connecting and the closed traverse.
#include <cmath>

#include "core/angles.h"
#include "core/text_utils.h"
#include "traverse/closing_traverse.h"
#include "traverse/report_common.h"

namespace korvane::traverse {
namespace {

void WriteStartData(ReportLines& out, const ClosingSolution& s) {
  const StartValues& v = s.red.start;
  const std::vector<Station>& st = s.red.stations;
  const std::string& first = st.front().name;
  const std::string& last = st.back().name;
  out.add("  起始数据表：");
  out.add(Rule(2));
  const std::string startLabel = s.closed ? "起终点" : "起点";
  WritePointLines(out, startLabel, first, F3(v.startX), F3(v.startY), F3(v.startH));
  if (v.azimuthForm()) {
    out.add("  起始方位角： α＝" + F5(v.orientX));
    if (s.closed) {
      out.add("  附合方位角：α＝" + F5(ReverseAzimuth(v.orientX)));
    } else {
      WritePointLines(out, "终点", last, F3(v.endX), F3(v.endY), F3(v.endH));
      out.add("  附合方位角：α＝" + F5(v.endOrientX));
    }
  } else if (s.closed) {
    out.add("  定向：X＝" + F3(v.orientX) + "  定向：Y＝" + F3(v.orientY));
  } else {
    out.add("  起点定向：  X＝" + F3(v.orientX) + "  起点定向：Y＝" + F3(v.orientY));
    WritePointLines(out, "终点", last, F3(v.endX), F3(v.endY), F3(v.endH));
    out.add("  终点定向：X＝" + F3(v.endOrientX) + "  终点定向：Y＝" + F3(v.endOrientY));
  }
  WriteProjectionLine(out, s.red.planeHeight);
  if (v.scaleConstant > 0) WriteConstantsLine(out, v.additiveConstant, v.scaleConstant);
  out.add(Rule(2));
}

void WriteCharacteristics(ReportLines& out, const ClosingSolution& s) {
  WriteCharacteristicsHeading(out, s.closed ? 1 : 2);
  out.add("  导线总长：    S=" + SF3(s.adjustedSum) + "m");
  out.add("  水平角闭合差： fβ=" + SF1(s.angularMisclosure * 3600) + "″");
  out.add("  x增量闭合差： fx=" + S(Tenths(s.fx * 1000)) + "mm");
  out.add("  y增量闭合差： fy=" + S(Tenths(s.fy * 1000)) + "mm");
  out.add("  边长闭合差： fs=" + S(Tenths(s.fs * 1000)) + "mm");
  out.add("  高程闭合差： fh=" + S(Tenths(s.fh * 1000)) + "mm");
  out.add("  高差每Km改正值： δKm=" + S(Tenths(s.correctionPerKm)) + "mm");
  if (AnyOneWayLeg(s.red.stations, s.red.stations.size() - 1))
    out.add(std::string("  ") + traverse::kOneWayCorrectionNote);
  out.add("  导线全长相对闭合差： Κ=fs/∑s =" + s.relativeMisclosure);
}

// The correction rows, each checked for its column width before it is written.
std::optional<Message> WriteCorrections(ReportLines& out, const ClosingSolution& s) {
  const std::vector<Station>& st = s.red.stations;
  out.add(std::string("  ") + "点  号" + "     δβ″" + " δX(mm)" + "  δY(mm)" + "  δH(mm)" +
          "  δS投影(mm)" + "  δS平差(mm)");
  const std::string first = NumberText(s.angleCorrectionSeconds[0]);
  if (CharCount(first) > 6) return PlaneWidthRefusal();
  out.add("  " + PaddedName(st[0].name) + SText(first));
  for (std::size_t i = 0; i + 1 < st.size(); ++i) {
    const std::string beta = NumberText(s.angleCorrectionSeconds[i + 1]);
    const std::string vx = S(s.correctionXmm[i]);
    const std::string vy = S(s.correctionYmm[i]);
    const std::string reduction = SF1(s.red.reductionMm[i]);
    const std::string vh = S(s.heightCorrectionMm[i]);
    if (CharCount(beta) > 6 || CharCount(vx) > 6 || CharCount(vy) > 6 || CharCount(reduction) > 6)
      return PlaneWidthRefusal();
    if (CharCount(vh) > 6) return HeightWidthRefusal();
    out.add(Joined("  ", PaddedName(st[i + 1].name), " ", PadRight(beta, 6), " ", PadRight(vx, 6), "  ",
                   PadRight(vy, 6), "   ", PadRight(vh, 6), "    ", PadRight(reduction, 6), "       ",
                   S(s.distanceChangeMm[i])));
  }
  return std::nullopt;
}

void WriteFinal(ReportLines& out, const ClosingSolution& s) {
  const std::vector<Station>& st = s.red.stations;
  WriteFinalHeading(out, "        平距S(m)");
  for (std::size_t i = 0; i + 1 < st.size(); ++i) {
    out.add(Joined("   ", PaddedName(st[i + 1].name), SF3(s.adjusted[i]), "    ", S(s.x[i + 1]),
                   "      ", S(s.y[i + 1]), "        ", SF3(s.height[i + 1])));
  }
  out.add(Rule(s.closed ? 3 : 2));
}

}  // namespace

std::optional<Message> WriteClosingReport(const ClosingSolution& s, std::vector<std::string>& lines,
                                          const LineSink& sink) {
  ReportLines out{lines, sink};
  const std::vector<Station>& st = s.red.stations;
  if (s.closed) WriteTitle(out, "闭合导线", st.front().name, "-", st.front().name);
  else WriteTitle(out, "附合导线", st.front().name, "—", st.back().name);
  WriteStartData(out, s);
  WriteObservationTables(out, st);
  WriteCharacteristics(out, s);
  if (auto refusal = WriteCorrections(out, s)) return refusal;
  WriteFinal(out, s);
  return std::nullopt;
}

}  // namespace korvane::traverse
