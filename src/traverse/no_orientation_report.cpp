// The results table of the no-orientation traverse.
#include "core/text_utils.h"
#include "traverse/no_orientation_traverse.h"
#include "traverse/report_common.h"

namespace korvane::traverse {
namespace {

std::optional<Message> WriteCorrections(ReportLines& out, const NoOrientationSolution& s) {
  const std::vector<Station>& st = s.red.stations;
  out.add(std::string("  ") + "点  号" + "   δX(mm)" + "  δY(mm)" + "  δH(mm)" + "  δS投影(mm)" +
          "  δS平差(mm)");
  for (std::size_t i = 0; i < st.size(); ++i) {
    const std::string vx = S(s.correctionXmm[i]);
    const std::string vy = S(s.correctionYmm[i]);
    const std::string reduction = SF1(s.red.reductionMm[i]);
    const std::string vh = SF1(s.heightCorrectionMm[i]);
    if (CharCount(vx) > 6 || CharCount(vy) > 6 || CharCount(reduction) > 6) return PlaneWidthRefusal();
    if (CharCount(vh) > 6) return HeightWidthRefusal();
    out.add(Joined("  ", PaddedName(st[i].name), " ", PadRight(vx, 6), "  ", PadRight(vy, 6), "   ",
                   PadRight(vh, 6), "    ", PadRight(reduction, 6), "       ", SF1(s.distanceChangeMm[i])));
  }
  return std::nullopt;
}

}  // namespace

std::optional<Message> WriteNoOrientationReport(const NoOrientationSolution& s,
                                                std::vector<std::string>& lines, const LineSink& sink) {
  ReportLines out{lines, sink};
  const std::vector<Station>& st = s.red.stations;
  const StartValues& v = s.red.start;
  const int n = s.red.n();
  WriteTitleAndStart(out, "无定向导线", st.front().name, s.endName, v);
  WritePointLines(out, "终点", s.endName, F3(v.endX), F3(v.endY), F3(v.endH));
  WriteStartTableEnd(out, s.red);
  out.add("  导线总长：    S=" + F3(s.adjustedSum) + " m");
  out.add("  真假方位角差： αAB=" + S(s.turnDms) + "  度.分秒");
  out.add("  x增量闭合差： fx=" + F1(Tenths(s.fx * 1000)) + "mm");
  out.add("  y增量闭合差： fy=" + F1(Tenths(s.fy * 1000)) + "mm");
  out.add("  边长闭合差： fs=" + F1(Tenths(s.fs * 1000)) + "mm");
  out.add("  高程闭合差： fh=" + F1(Tenths(s.fh * 1000)) + "mm");
  out.add("  高差每Km改正值： δKm=" + F1(Tenths(s.correctionPerKm)) + "mm");
  if (AnyOneWayLeg(st, st.size())) out.add(std::string("  ") + traverse::kOneWayCorrectionNote);
  out.add("  导线全长相对闭合差： Κ=fs/∑s =" + s.relativeMisclosure);

  if (auto refusal = WriteCorrections(out, s)) return refusal;

  WriteFinalHeading(out, "           平距S(m)");
  std::string distance;
  for (int i = 0; i <= n; ++i) {
    const bool end = i == n;
    distance = end ? std::string(static_cast<std::size_t>(CharCount(distance)), ' ') : F3(s.adjusted[i]);
    const std::string& name = end ? s.endName : st[i].name;
    out.add(Joined("   ", PaddedName(name), distance, "    ", F3(s.x[i]), "      ", F3(s.y[i]), "        ",
                   F3(s.height[i])));
  }
  out.add(Rule(2));
  return std::nullopt;
}

}  // namespace korvane::traverse
