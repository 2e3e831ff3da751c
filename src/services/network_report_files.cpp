#include "services/network_report_files.h"

#include <QSize>
#include <QString>

#include "network/network_report.h"
#include "network/network_sketch.h"
#include "render/sketch_renderer.h"
#include "traverse/rigorous_report.h"

namespace korvane::services {

std::string SaveNetworkSketch(const std::string& path, const network::NetworkResult& result) {
  const Sketch sketch = NetworkSketch(result, EllipseExaggeration(result));
  return render::SaveSketchImage(sketch, path, QSize(network::kNetworkSketchWidth, network::kNetworkSketchHeight));
}

ReportFilesWrite WriteNetworkReportFiles(const std::string& reportPath, const formats::NetworkInput& input,
                                         const network::NetworkResult& result, const network::NetworkOptions& options,
                                         const std::vector<std::string>& inputs) {
  const Sketch sketch = NetworkSketch(result, EllipseExaggeration(result));
  network::NetworkReportInput in{input, result, options, EllipseExaggeration(result), report::ReportImageName(reportPath)};
  const std::vector<std::string> lines = NetworkReportLines(in);
  return WriteReportWithPicture(
      reportPath, render::SketchOperations(sketch), QSize(network::kNetworkSketchWidth, network::kNetworkSketchHeight),
      [&](const io::LineSink& sink) {
        for (const std::string& line : lines) sink(line);
      },
      inputs);
}

}  // namespace korvane::services
