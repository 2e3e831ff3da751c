#include "standards/standards_table.h"

#include "core/numbers.h"
#include "core/text_utils.h"
#include "standards/level_limits.h"
#include "standards/tolerance.h"

namespace korvane::standards {
namespace {

std::string Limit(double value, const char* unit) {
  return value == 0 ? std::string("无严格规定") : "≤" + NumberText(value) + unit;
}

// The report's texts stand after "S" and "D="; alone in a cell they lose the
// sign and the blank that joined them.
std::string Cleaned(const std::string& text) {
  std::string out = Trim(text);
  if (out.rfind("=", 0) == 0) out.erase(0, 1);
  if (out.rfind("≤ ", 0) == 0) out.erase(std::string("≤").size(), 1);
  return out;
}

}  // namespace

TextTable TraverseStandardsTable() {
  TextTable table;
  table.headers = {"规范", "等级", "导线长度", "平均边长", "测距中误差", "测角中误差", "方位角闭合差",
                   "导线全长相对闭合差", "高程闭合差", "起算点等级"};
  for (const std::string& standard : Standards()) {
    for (const std::string& grade : GradesForStandard(standard).items) {
      const ToleranceRow& row = SelectToleranceRow(ToleranceCode(standard, grade));
      table.rows.push_back({standard, grade, Cleaned(row.printedLength()), Cleaned(row.printedMeanSide()), Limit(row.msLimit, "mm"),
                            Limit(row.mBetaLimit, "″"), "±" + NumberText(row.kBeta) + "√n″", "≤" + row.kText,
                            row.kh == 0 ? std::string("—") : "±" + NumberText(row.kh) + "√L mm", row.knownGrade});
    }
  }
  return table;
}

TextTable LevellingStandardsTable() {
  TextTable table;
  table.headers = {"等级", "平地闭合差限差(mm)", "山地闭合差限差(mm)", "每千米高差中误差(mm)"};
  for (const LimitTableRow& row : LevellingLimitTable()) table.rows.push_back({row.grade, row.flat, row.hilly, row.priorPerKm});
  return table;
}

std::vector<std::string> LevellingStandardsNotes() {
  return {"L为附合或闭合路线长度(km)，n为测站数。",
          "二等和五等水准没有山地公式，山地也按路线长度计算限差。",
          "每千米高差中误差是平差后卡方检验的先验值；按测站数定权时先验每站中误差取山地限差系数之半。"};
}

}  // namespace korvane::standards
