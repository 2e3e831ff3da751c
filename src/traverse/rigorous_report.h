#pragma once
// The HTML report of a weighted adjustment: the start data, the limits of the
// chosen standard, the characteristic values, the corrections, the adjusted
// observations, the final coordinates and heights, and the sketch picture.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "io/text_file.h"
#include "report/report_file.h"
#include "traverse/rigorous_adjustment.h"
#include "formats/rigorous_table.h"
#include "standards/tolerance.h"
#include "traverse/weighted_limits.h"

namespace korvane::traverse {

struct RigorousReportInput {
  const formats::RigorousTable& table;
  const formats::RigorousParameters& params;
  const RigorousResult& result;
  const ToleranceRow& row;
  const ToleranceLimits& limits;
  const ToleranceMarks& marks;
  bool checked = false;     // the grade check box
  std::string imageName;    // the picture's name relative to the report
  std::string charset = "gbk";  // declared in the head; the file is GBK
};

// The report's lines (UTF-8, without line breaks), handed to the sink one at a
// time as they are made.
void WriteRigorousReportLines(const RigorousReportInput& input, const io::LineSink& sink);
// The same lines gathered.
std::vector<std::string> RigorousReportLines(const RigorousReportInput& input);

}  // namespace korvane::traverse
