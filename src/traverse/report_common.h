#pragma once
// The parts of the results table that all four kinds share: title, start
// points, projection plane and distance-meter constants, the observation tables.
#include <string>
#include <vector>

#include "traverse/pipeline.h"
#include "traverse/report_format.h"

namespace korvane::traverse {

// The title line followed by two empty lines.
void WriteTitle(ReportLines& out, const std::string& kindName, const std::string& from,
                const std::string& separator, const std::string& to);
// The title of a traverse from its start point to `endName`, "  起始数据表：",
// the rule and the start point's lines.
void WriteTitleAndStart(ReportLines& out, const std::string& kindName, const std::string& startName,
                        const std::string& endName, const StartValues& start);
// The projection plane and distance-meter constants that close the start
// table, its rule, the observation tables and the characteristics' heading,
// as the open and the no-orientation traverse write them.
void WriteStartTableEnd(ReportLines& out, const Reduction& red);
// "  <label>(name)：X＝…   <label>(name)：Y＝…" and "  <label>(name)：H＝…".
void WritePointLines(ReportLines& out, const std::string& label, const std::string& name,
                     const std::string& xText, const std::string& yText, const std::string& hText);
void WriteProjectionLine(ReportLines& out, double planeHeight);
void WriteConstantsLine(ReportLines& out, double a, double b);
// The empty line, "  观测数据表：", the rule, the forward and back tables.
void WriteObservationTables(ReportLines& out, const std::vector<Station>& stations);
// The rule, the empty line, "  导线特征值：" and the rule.
void WriteCharacteristicsHeading(ReportLines& out, int ruleIndent);
// The rule, "  平差最终结果：", the rule and the column headings.
void WriteFinalHeading(ReportLines& out, const std::string& distanceHeading);

// The station name padded to 12 characters.
std::string PaddedName(const std::string& name);

}  // namespace korvane::traverse
