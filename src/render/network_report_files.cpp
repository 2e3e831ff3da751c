#include "render/network_report_files.h"

#include <QSize>
#include <QString>

#include "core/read_only.h"
#include "network/network_report.h"
#include "network/network_sketch.h"
#include "render/sketch_renderer.h"
#include "rigorous/rigorous_report.h"

namespace korvane {

bool SaveNetworkSketch(const std::string& path, const NetworkResult& result, std::string* failure) {
  const Sketch sketch = NetworkSketch(result, EllipseExaggeration(result));
  return SaveSketchImage(sketch, QString::fromStdString(path), QSize(kNetworkSketchWidth, kNetworkSketchHeight),
                         failure);
}

ReportFilesWrite WriteNetworkReportFiles(const std::string& reportPath, const NetworkInput& input,
                                         const NetworkResult& result, const NetworkOptions& options) {
  ReportFilesWrite write;
  if (IsReadOnlyFile(reportPath)) {
    write.refusal = ReadOnlyReportMessage();
    return write;
  }
  const std::string imagePath = ReportImagePath(reportPath);
  if (!SaveNetworkSketch(imagePath, result, &write.error)) return write;
  NetworkReportInput in{input, result, options, EllipseExaggeration(result), ReportImageName(reportPath)};
  const ReportWrite report = WriteRigorousReport(reportPath, NetworkReportLines(in));
  write.refusal = report.refusal;
  write.error = report.error;
  return write;
}

}  // namespace korvane
