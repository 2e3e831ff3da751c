#include "services/network_report_files.h"

#include <QSize>
#include <QString>

#include "network/network_report.h"
#include "network/network_sketch.h"
#include "render/sketch_renderer.h"
#include "traverse/rigorous_report.h"

namespace korvane::services {

std::string SaveNetworkSketch(const std::string& path, const NetworkResult& result) {
  const Sketch sketch = NetworkSketch(result, EllipseExaggeration(result));
  return SaveSketchImage(sketch, path, QSize(kNetworkSketchWidth, kNetworkSketchHeight));
}

ReportFilesWrite WriteNetworkReportFiles(const std::string& reportPath, const NetworkInput& input,
                                         const NetworkResult& result, const NetworkOptions& options,
                                         const std::vector<std::string>& inputs) {
  const Sketch sketch = NetworkSketch(result, EllipseExaggeration(result));
  NetworkReportInput in{input, result, options, EllipseExaggeration(result), ReportImageName(reportPath)};
  const std::vector<std::string> lines = NetworkReportLines(in);
  return WriteReportWithPicture(
      reportPath, SketchOperations(sketch), QSize(kNetworkSketchWidth, kNetworkSketchHeight),
      [&](const LineSink& sink) {
        for (const std::string& line : lines) sink(line);
      },
      inputs);
}

}  // namespace korvane::services
