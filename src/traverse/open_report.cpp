// The results table of the open traverse.
#include "core/text_utils.h"
#include "traverse/open_traverse.h"
#include "traverse/report_common.h"

namespace korvane::traverse {

void WriteOpenReport(const OpenSolution& s, std::vector<std::string>& lines, const LineSink& sink) {
  ReportLines out{lines, sink};
  const std::vector<Station>& st = s.red.stations;
  const StartValues& v = s.red.start;
  const int n = s.red.n();
  WriteTitleAndStart(out, "支导线", st.front().name, s.endName, v);
  if (v.azimuthForm()) out.add("  起始方位角： α＝" + F5(v.orientX));
  else out.add("  起点定向：  X＝" + F3(v.orientX) + "  起点定向：Y＝" + F3(v.orientY));
  WriteStartTableEnd(out, s.red);
  out.add("  导线总长：    S=" + F3(s.length) + "m");
  out.add("  最弱点点位横(X)向误差估值： mq=±" + S(s.lateralError) + "mm");
  out.add("  最弱点点位纵(Y)向误差估值： ml=±" + S(s.longitudinalError) + "mm");
  if (AnyOneWayLeg(st, st.size())) out.add(std::string("  ") + traverse::kOneWayCorrectionNote);

  out.add(std::string("  ") + "点  号" + "    δS投影(mm)");
  for (int i = 0; i < n; ++i) out.add(Joined("  ", PaddedName(st[i].name), F1(s.red.reductionMm[i])));

  WriteFinalHeading(out, "        平距S(m)");
  std::string distance;
  for (int i = 0; i <= n; ++i) {
    const bool end = i == n;
    // The end point has no leg: blanks as wide as the distance above it.
    distance = end ? std::string(static_cast<std::size_t>(CharCount(distance)), ' ') : F3(s.red.reduced[i]);
    const std::string& name = end ? s.endName : st[i].name;
    out.add(Joined("   ", PaddedName(name), distance, "    ", F3(s.x[i]), "      ", F3(s.y[i]), "        ",
                   F3(s.height[i])));
  }
  out.add(Rule(2));
}

}  // namespace korvane::traverse
