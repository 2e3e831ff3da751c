#pragma once
// The HTML report of a weighted adjustment and its sketch picture, written
// side by side: the window and the batch program save them through here, so
// both give the same files for the same input.
#include <optional>
#include <string>

#include "core/message.h"
#include "rigorous/rigorous_report.h"

namespace korvane {

struct ReportFilesWrite {
  std::optional<Message> refusal;  // the report is read-only: nothing written
  std::string error;               // a file could not be written
  bool ok() const { return !refusal && error.empty(); }
};

// Writes the picture beside the report (ReportImagePath), then the report
// under `reportPath` (already the final name, see ReportFileName), whose IMG
// line names the picture. A read-only report is refused before anything is
// written.
ReportFilesWrite WriteRigorousReportFiles(const std::string& reportPath, RigorousReportInput input);

}  // namespace korvane
