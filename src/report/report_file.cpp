#include "report/report_file.h"

#include "core/text_utils.h"
#include "io/atomic_output.h"
#include "io/read_only.h"

namespace korvane::report {
namespace {

std::string FileNamePart(std::string_view path, std::size_t& start) {
  const std::size_t slash = path.find_last_of('/');
  start = slash == std::string_view::npos ? 0 : slash + 1;
  return std::string(path.substr(start));
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

std::string ReportFileName(std::string_view chosen) {
  if (chosen.empty()) return {};
  // The name is kept as typed: on a file system that tells capitals apart a
  // lower-cased name would be another file. Only the ending's test ignores case.
  std::string path(chosen);
  const std::string lower = ToLowerAscii(chosen);
  if (!EndsWith(lower, ".htm") && !EndsWith(lower, ".html")) path += ".html";
  return path;
}

std::string ReportImagePath(std::string_view reportPath) {
  std::size_t start = 0;
  const std::string name = FileNamePart(reportPath, start);
  const std::size_t dot = name.find_last_of('.');
  const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  return std::string(reportPath.substr(0, start)) + stem + ".bmp";
}

std::string ReportImageName(std::string_view reportPath) {
  std::size_t start = 0;
  return io::PathForDisplay(FileNamePart(ReportImagePath(reportPath), start));
}

Message SaveReportQuestion() {
  return {"要保存结果吗？", "平差结果为HTML文件", MessageIcon::Question};
}

Message ReadOnlyReportMessage() { return io::ReadOnlyFileMessage(); }

ReportWrite WriteReport(const std::string& path, const io::LineSource& produce) {
  ReportWrite write;
  write.refusal = io::DestinationRefusal(path);
  if (write.refusal) return write;
  write.error = io::WriteLinesAtomically(path, produce);
  return write;
}

ReportWrite WriteReport(const std::string& path, const std::vector<std::string>& lines) {
  return WriteReport(path, [&](const io::LineSink& sink) {
    for (const std::string& line : lines) sink(line);
  });
}

}  // namespace korvane::report
