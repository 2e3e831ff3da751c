#include "standards/tolerance.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/numbers.h"
#include "core/text_utils.h"

namespace korvane::standards {

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

StandardGradeChoice ChooseStandardGrade(const std::optional<std::string>& standard,
                                        const std::optional<std::string>& grade) {
  const std::string name = standard.value_or(kInitialStandard);
  const std::vector<std::string>& offered = Standards();
  if (std::find(offered.begin(), offered.end(), name) == offered.end()) return {{}, "未知的规范：" + name};
  const GradeChoice choice = GradesForStandard(name);
  const std::string wanted = Trim(grade.value_or(choice.text));
  std::string list;
  for (const std::string& item : choice.items) {
    if (Trim(item) == wanted) return {ToleranceCode(name, Trim(item)), std::nullopt};
    list += (list.empty() ? "" : "、") + Trim(item);
  }
  return {{}, name + "没有" + wanted + "，可选" + list};
}

}  // namespace korvane::standards
