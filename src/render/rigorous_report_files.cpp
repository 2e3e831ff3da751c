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
  // Drawn as it is made, so that a long traverse's sketch is never held whole.
  const SketchSource sketch = [&](const SketchSink& draw) { DrawRigorousSketch(input.table, input.result, draw); };
  if (!SaveSketchImage(sketch, QString::fromStdString(imagePath), QSize(kRigorousSketchWidth, kRigorousSketchHeight),
                       &write.error))
    return write;
  input.imageName = ReportImageName(reportPath);
  const ReportWrite report =
      WriteRigorousReport(reportPath, [&](const LineSink& sink) { WriteRigorousReportLines(input, sink); });
  write.refusal = report.refusal;
  write.error = report.error;
  return write;
}

}  // namespace korvane
