#pragma once
// The HTML report of a weighted adjustment and its sketch picture, written
// side by side: the window and the batch program save them through here, so
// both give the same files for the same input.
#include <QSize>
#include <optional>
#include <string>

#include "report/report_file.h"
#include "core/message.h"
#include "core/sketch.h"
#include "io/text_file.h"
#include "traverse/rigorous_report.h"

namespace korvane::services {

// A pair of files is refused or written like one report.
using ReportFilesWrite = report::ReportWrite;

// Writes a report and its picture beside it (ReportImagePath) as a pair: both
// destinations are checked and both files written to their temporaries and
// flushed before either is put in place, so that after a failure neither is
// new. The picture is renamed first and the report right after: a kill
// between the two leaves the old report beside the new picture of the same
// name, never a report whose picture is missing. `inputs` are the files the
// results were read from; neither output may be one of them.
ReportFilesWrite WriteReportWithPicture(const std::string& reportPath, const SketchSource& picture,
                                        const QSize& pictureSize, const io::LineSource& report,
                                        const std::vector<std::string>& inputs = {});

// Writes the weighted report under `reportPath` (already the final name, see
// ReportFileName) with its picture, whose name the IMG line gives.
ReportFilesWrite WriteRigorousReportFiles(const std::string& reportPath, traverse::RigorousReportInput input,
                                          const std::vector<std::string>& inputs = {});

}  // namespace korvane::services
