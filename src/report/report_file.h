#pragma once
// The files of the HTML reports: the name a report is written under, the
// picture beside it, the question before saving, and the check-then-write
// that refuses a destination before anything is written.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "io/text_file.h"

namespace korvane::report {

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
ReportWrite WriteReport(const std::string& path, const std::vector<std::string>& lines);
// The same for lines written as they are produced.
ReportWrite WriteReport(const std::string& path, const io::LineSource& produce);

}  // namespace korvane::report
