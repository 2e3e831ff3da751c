#pragma once
// Limits of the national surveying standards for traverses: the fifteen rows
// (standard and grade) and the standard and grade selectors.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::standards {

// How the limit of the discrepancy between forward and back height
// differences of one side grows.
enum class DiscrepancyRule {
  SqrtKilometres,  // k * sqrt(S' / 1000)
  PerKilometre,    // k * S' / 1000
  SqrtStations,    // k * sqrt(n), the same for every side
};

struct ToleranceRow {
  std::string code;        // "ybc1" ... "ybs3"
  std::string title;       // heading of the limits table
  std::string knownGrade;  // grade of the known points
  std::string newGrade;    // grade of the new points
  double lmax;             // longest traverse, m
  double dnom;             // nominal mean side, m
  double msLimit;          // distance error limit, mm; 0 = no strict rule
  double mBetaLimit;       // angle error limit, seconds; 0 = no strict rule
  double kBeta;            // angular misclosure factor, seconds
  double kden;             // relative closure denominator
  std::string kText;       // relative closure limit as printed
  double kh;               // height misclosure factor, mm per sqrt(km)
  DiscrepancyRule rule;
  double kd;               // factor of the discrepancy rule, mm
  std::string lengthText;  // printed traverse length limit (empty: from lmax)
  std::string meanText;    // printed mean side (empty: from dnom)
  // The limits table's texts for the traverse length and the mean side.
  std::string printedLength() const;
  std::string printedMeanSide() const;
};

inline constexpr const char* kDefaultToleranceCode = "ybc3";

const std::vector<ToleranceRow>& ToleranceRows();
// The row code from the texts of the standard and grade selectors, compared
// exactly; any other combination gives "ybc3".
std::string ToleranceCode(std::string_view standard, std::string_view grade);
// The row of a code (trimmed); an unknown code gives the "ybc3" row.
const ToleranceRow& SelectToleranceRow(std::string_view code);

// The standards offered, and the grade selector's items and text after a
// standard has been picked.
const std::vector<std::string>& Standards();
struct GradeChoice {
  std::vector<std::string> items;
  std::string text;
};
GradeChoice GradesForStandard(std::string_view standard);
// The selectors at window start.
inline constexpr const char* kInitialStandard = "城市测量规范";
inline constexpr const char* kInitialGrade = " 一级";
const std::vector<std::string>& InitialGrades();

// What a command's --standard and --grade choose (either may be absent: the
// standard is then 城市测量规范, the grade the one the standard's selector
// starts with): the tolerance row's code, or the refusal of a standard that is
// not offered or a grade the standard does not have, e.g.
// "水工测量规范没有一级，可选三等、四等、五等".
struct StandardGradeChoice {
  std::string code;
  std::optional<std::string> refusal;
};
StandardGradeChoice ChooseStandardGrade(const std::optional<std::string>& standard,
                                        const std::optional<std::string>& grade);

}  // namespace korvane::standards
