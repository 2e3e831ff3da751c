#pragma once
// The HTML report of a weighted adjustment: the start data, the limits of the
// chosen standard, the characteristic values, the corrections, the adjusted
// observations, the final coordinates and heights, and the sketch picture.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "core/text_file.h"
#include "rigorous/rigorous_adjustment.h"
#include "rigorous/rigorous_table.h"
#include "rigorous/tolerance.h"

namespace korvane {

struct RigorousReportInput {
  const RigorousTable& table;
  const RigorousParameters& params;
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
void WriteRigorousReportLines(const RigorousReportInput& input, const LineSink& sink);
// The same lines gathered.
std::vector<std::string> RigorousReportLines(const RigorousReportInput& input);

// The file name the report is written under: the chosen name as typed, with
// ".html" appended unless it ends in ".htm" or ".html" (in any case).
// An empty choice stays empty (nothing is written).
std::string ReportFileName(std::string_view chosen);
// The picture beside the report: the report's name with ".bmp" instead of its
// extension, and the same without the folder as text for the IMG line (a
// name in GBK bytes read as GBK).
std::string ReportImagePath(std::string_view reportPath);
std::string ReportImageName(std::string_view reportPath);

// The question after a successful adjustment, and the save dialog's texts.
Message SaveReportQuestion();
inline constexpr const char* kReportDialogTitle = "保存HTML文件";
inline constexpr const char* kReportDialogFilter = "HTML文件(*.HTML)|*.HTML";

Message ReadOnlyReportMessage();

struct ReportWrite {
  std::optional<Message> refusal;  // the target is refused: nothing written
  std::string error;               // the file could not be written
  bool ok() const { return !refusal && error.empty(); }
};
// Replaces the file with the lines in GBK and CR LF, unless the destination
// is refused (read-only, or no regular file).
ReportWrite WriteRigorousReport(const std::string& path, const std::vector<std::string>& lines);
// The same for lines written as they are produced.
ReportWrite WriteRigorousReport(const std::string& path, const LineSource& produce);

}  // namespace korvane
