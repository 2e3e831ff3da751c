#include "rigorous/tolerance.h"

#include <cmath>
#include <limits>

#include "core/numbers.h"
#include "core/text_utils.h"

namespace korvane {

const std::vector<ToleranceRow>& ToleranceRows() {
  static const std::vector<ToleranceRow> rows = {
    {"ybc1", "导线限差表：标定等级《城市测量规范》（CJJ 8－99）三等导线", "二等", "三等", 15000, 3000, 18, 1.5, 3, 60000, "1/60000", 20, DiscrepancyRule::SqrtKilometres, 40, "", ""},
    {"ybc2", "导线限差表：标定等级《城市测量规范》（CJJ 8－99；1999-02-10发布）四等导线", "三等", "四等", 10000, 1600, 18, 2.5, 5, 40000, "1/40000", 20, DiscrepancyRule::SqrtKilometres, 40, "", ""},
    {"ybc3", "导线限差表：标定等级《城市测量规范》（CJJ 8－99）一级导线", "四等", "一级", 3600, 300, 15, 5, 10, 14000, "1/14000", 30, DiscrepancyRule::SqrtKilometres, 60, "", ""},
    {"ybc4", "导线限差表：标定等级《城市测量规范》（CJJ 8－99）二级导线", "一级", "二级", 2400, 200, 15, 8, 16, 10000, "1/10000", 30, DiscrepancyRule::SqrtKilometres, 60, "", ""},
    {"ybc5", "导线限差表：标定等级《城市测量规范》（CJJ 8－99）三级导线", "二级", "三级", 1500, 120, 15, 12, 24, 6000, "1/6000", 30, DiscrepancyRule::SqrtKilometres, 60, "", ""},
    {"ybc6", "导线限差表：标定等级《城市测量规范》（CJJ 8－99）图根导线", "三级", "图根", 3000, 250, 0, 0, 40, 4000, "1/4000", 40, DiscrepancyRule::PerKilometre, 400, "=900～3000 m左右", "80～250 m左右"},
    {"ybg1", "导线限差表：标定等级《工程测量规范》（GB50026─93）三等导线", "二等", "三等", 14000, 3000, 20, 1.8, 3.6, 55000, "1/55000", 20, DiscrepancyRule::SqrtKilometres, 40, "", ""},
    {"ybg2", "导线限差表：标定等级《工程测量规范》（GB50026─93）四等导线", "三等", "四等", 9000, 1500, 18, 2.5, 5, 35000, "1/35000", 20, DiscrepancyRule::SqrtKilometres, 40, "", ""},
    {"ybg3", "导线限差表：标定等级《工程测量规范》（GB50026─93）一级导线", "四等", "一级", 5000, 500, 15, 5, 10, 15000, "1/15000", 30, DiscrepancyRule::SqrtKilometres, 60, "", ""},
    {"ybg4", "导线限差表：标定等级《工程测量规范》（GB50026─93）二级导线", "一级", "二级", 2400, 250, 15, 8, 16, 10000, "1/10000", 30, DiscrepancyRule::SqrtKilometres, 60, "", ""},
    {"ybg5", "导线限差表：标定等级《工程测量规范》（GB50026─93）三级导线", "二级", "三级", 1200, 100, 15, 12, 24, 5000, "1/5000", 30, DiscrepancyRule::SqrtKilometres, 60, "", ""},
    // kh is unused here: this grade limits the height misclosure per metre.
    {"ybg6", "导线限差表：标定等级《工程测量规范》（GB50026─93）图根导线", "三级", "图根", 2000, 250, 0, 30, 60, 2000, "1/2000", 0, DiscrepancyRule::SqrtStations, 100, "≤测图比例尺分母m", "1.5倍测图最大视距m"},
    {"ybs1", "导线限差表：标定等级《水利水电工程施工测量规范》（SL52─93）三等导线", "二等", "三等", 5000, 800, 2, 1.8, 3.6, 70000, "1/55000～1/70000", 12, DiscrepancyRule::PerKilometre, 50, "=3200～5000 m左右", "400～800 m左右"},
    {"ybs2", "导线限差表：标定等级《水利水电工程施工测量规范》（SL52─93）四等导线", "三等", "四等", 3500, 700, 5, 2.5, 5, 50000, "1/35000～1/50000", 20, DiscrepancyRule::PerKilometre, 70, "=1800～3500 m左右", "300～700 m左右"},
    {"ybs3", "导线限差表：标定等级《水利水电工程施工测量规范》（SL52─93）五等导线", "四等", "五等", 3000, 500, 7, 5, 10, 25000, "1/18000～1/25000", 30, DiscrepancyRule::PerKilometre, 70, "=2000～3000 m左右", "200～500 m左右"},
  };
  return rows;
}

std::string ToleranceRow::printedLength() const {
  return lengthText.empty() ? "≤" + StrNumber(lmax) + "m" : lengthText;
}

std::string ToleranceRow::printedMeanSide() const {
  return meanText.empty() ? StrNumber(dnom) + "m左右" : meanText;
}

std::string ToleranceCode(std::string_view standard, std::string_view grade) {
  static const std::vector<std::string> sixGrades = {"三等", "四等", "一级", "二级", "三级", "图根"};
  static const std::vector<std::string> waterGrades = {"三等", "四等", "五等"};
  std::string prefix;
  const std::vector<std::string>* grades = &sixGrades;
  if (standard == "城市测量规范") {
    prefix = "ybc";
  } else if (standard == "工程测量规范") {
    prefix = "ybg";
  } else if (standard == "水工测量规范") {
    prefix = "ybs";
    grades = &waterGrades;
  } else {
    return kDefaultToleranceCode;
  }
  for (std::size_t k = 0; k < grades->size(); ++k) {
    if (grade == (*grades)[k]) return prefix + std::to_string(k + 1);
  }
  return kDefaultToleranceCode;
}

const ToleranceRow& SelectToleranceRow(std::string_view code) {
  const std::string key = Trim(code);
  const ToleranceRow* fallback = nullptr;
  for (const ToleranceRow& row : ToleranceRows()) {
    if (row.code == key) return row;
    if (row.code == kDefaultToleranceCode) fallback = &row;
  }
  return *fallback;
}

const std::vector<std::string>& Standards() {
  static const std::vector<std::string> standards = {"城市测量规范", "工程测量规范", "水工测量规范"};
  return standards;
}

const std::vector<std::string>& InitialGrades() {
  static const std::vector<std::string> grades = {"三等", "四等", "一级", "二级", "三级", "图根"};
  return grades;
}

GradeChoice GradesForStandard(std::string_view standard) {
  if (standard == "水工测量规范") return {{"三等", "四等", "五等"}, "五等"};
  return {InitialGrades(), "一级"};
}

namespace {

// Whole millimetres below the value; a value beyond what an int holds (only
// reachable through absurd parameters) is held at the nearest end, and one
// that is no number at all gives 0.
int FloorToInt(double value) {
  if (std::isnan(value)) return 0;
  const double floored = std::floor(value);
  if (floored >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (floored <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(floored);
}

}  // namespace

ToleranceLimits DeriveLimits(const ToleranceRow& row, const RigorousResult& result) {
  ToleranceLimits limits;
  const double total = result.totalLength;
  limits.fBeta = RoundFixed(row.kBeta * std::sqrt(static_cast<double>(result.n)), "#0.0");
  limits.fsRaw = total / (row.kden / 1000);
  limits.fs = RoundFixed(limits.fsRaw, "#0.0");
  limits.fdx = RoundFixed(limits.fsRaw / 1.414, "#0.0");
  // The mapping-control grade of the engineering standard limits the height
  // misclosure per metre of traverse (0.4 mm per metre).
  if (row.code == "ybg6") {
    limits.fh = RoundFixed(400 * total / 1000, "#0.0");
  } else {
    limits.fh = RoundFixed(row.kh * std::sqrt(total / 1000), "#0.0");
  }
  limits.side.resize(result.reducedLength.size());
  for (std::size_t i = 0; i < limits.side.size(); ++i) {
    const double length = result.reducedLength[i];
    double value = 0;
    switch (row.rule) {
      case DiscrepancyRule::SqrtKilometres: value = row.kd * std::sqrt(length / 1000); break;
      case DiscrepancyRule::PerKilometre: value = row.kd * length / 1000; break;
      case DiscrepancyRule::SqrtStations: value = row.kd * std::sqrt(static_cast<double>(result.n)); break;
    }
    limits.side[i] = FloorToInt(value);
  }
  return limits;
}

ToleranceMarks CheckTolerance(const ToleranceRow& row, const ToleranceLimits& limits,
                              const RigorousResult& result, bool checked) {
  ToleranceMarks marks;
  const std::size_t sides = result.n > 1 ? static_cast<std::size_t>(result.n - 1) : 0;
  marks.discrepancy.assign(sides, false);
  marks.checked = checked;
  if (!checked) return marks;
  // The reported (rounded) values are compared, so that a value printed equal
  // to its printed limit is never marked.
  if (result.fs != 0 && result.totalLengthRaw / result.fs < row.kden) {
    marks.relativeClosure = marks.fs = marks.m = true;
  }
  marks.fx = std::fabs(result.fxMm) > limits.fdx;
  marks.fy = std::fabs(result.fyMm) > limits.fdx;
  marks.totalLength = result.totalLength > row.lmax;
  marks.fBeta = std::fabs(result.fBetaSeconds) > limits.fBeta;
  if (std::fabs(result.fhMm) > limits.fh) marks.fh = marks.mh = marks.deltaKm = true;
  marks.mBeta = row.mBetaLimit != 0 && result.mBeta > row.mBetaLimit;
  marks.ms = row.msLimit != 0 && result.ms > row.msLimit;
  for (std::size_t i = 0; i < sides; ++i) {
    const double limit = limits.side[i] / 1000.0;
    // A one-way side has no back observation and so no discrepancy.
    marks.discrepancy[i] = !result.oneWay[i] && result.discrepancy(static_cast<int>(i)) > limit;
  }
  return marks;
}

std::string SideLimitText(const ToleranceMarks& marks, const ToleranceLimits& limits, std::size_t side) {
  return marks.checked ? StrNumber(limits.side[side] / 1000.0) : std::string("未限定");
}

std::string MarkRed(std::string_view text) {
  return "<FONT COLOR=#FF0000>" + std::string(text) + "</FONT>";
}

}  // namespace korvane
