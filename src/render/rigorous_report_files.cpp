#include "render/rigorous_report_files.h"

#include <QSize>
#include <QString>

#include "core/read_only.h"
#include "render/sketch_renderer.h"
#include "rigorous/rigorous_sketch.h"

namespace korvane {

ReportFilesWrite WriteRigorousReportFiles(const std::string& reportPath, RigorousReportInput input) {
  ReportFilesWrite write;
  if (IsReadOnlyFile(reportPath)) {
    write.refusal = ReadOnlyReportMessage();
    return write;
  }
  // The picture first, so that a report never refers to a picture older
  // than itself; both go through the atomic writer.
  const std::string imagePath = ReportImagePath(reportPath);
  const Sketch sketch = RigorousSketch(input.table, input.result);
  if (!SaveSketchImage(sketch, QString::fromStdString(imagePath),
                       QSize(kRigorousSketchWidth, kRigorousSketchHeight))) {
    write.error = "cannot write the picture " + imagePath;
    return write;
  }
  input.imageName = ReportImageName(reportPath);
  const ReportWrite report = WriteRigorousReport(reportPath, RigorousReportLines(input));
  write.refusal = report.refusal;
  write.error = report.error;
  return write;
}

}  // namespace korvane
