#include "services/rigorous_report_files.h"

#include <unistd.h>

#include <QByteArray>
#include <QSize>

#include "io/atomic_output.h"
#include "render/sketch_renderer.h"
#include "traverse/rigorous_sketch.h"

namespace korvane::services {

ReportFilesWrite WriteReportWithPicture(const std::string& reportPath, const SketchSource& picture,
                                        const QSize& pictureSize, const io::LineSource& report,
                                        const std::vector<std::string>& inputs) {
  ReportFilesWrite write;
  const std::string imagePath = report::ReportImagePath(reportPath);
  for (const std::string& path : {reportPath, imagePath}) {
    write.refusal = io::DestinationRefusal(path, inputs);
    if (write.refusal) return write;
  }
  const QByteArray encoded = render::EncodeSketchImage(picture, imagePath, pictureSize);
  if (encoded.isEmpty()) {
    write.error = "无法生成图片：" + io::PathForDisplay(imagePath);
    return write;
  }
  io::AtomicOutput image, text;
  // The first failure's message; a refused destination is a refusal.
  auto failed = [&](const io::AtomicOutput& output, int error) {
    if (error == io::AtomicOutput::kRefused) write.refusal = output.refusal();
    else write.error = output.errorText(error);
    return write;
  };
  if (int error = image.open(imagePath, false); error != 0) return failed(image, error);
  if (int error = image.write(std::string_view(encoded.constData(), static_cast<std::size_t>(encoded.size())));
      error != 0)
    return failed(image, error);
  if (int error = text.open(reportPath, false); error != 0) return failed(text, error);
  if (int error = WriteLines(text, report); error != 0) return failed(text, error);
  // Both on the disk before either replaces its file.
  if (::fsync(image.fd()) != 0 || ::fsync(text.fd()) != 0) return failed(text, errno);
  if (int error = image.commit(); error != 0) return failed(image, error);
  if (int error = text.commit(); error != 0) return failed(text, error);
  return write;
}

ReportFilesWrite WriteRigorousReportFiles(const std::string& reportPath, traverse::RigorousReportInput input,
                                          const std::vector<std::string>& inputs) {
  input.imageName = report::ReportImageName(reportPath);
  // Drawn as it is made, so that a long traverse's sketch is never held whole.
  const SketchSource sketch = [&](const SketchSink& draw) { DrawRigorousSketch(input.table, input.result, draw); };
  return WriteReportWithPicture(
      reportPath, sketch, QSize(traverse::kRigorousSketchWidth, traverse::kRigorousSketchHeight),
      [&](const io::LineSink& sink) { WriteRigorousReportLines(input, sink); }, inputs);
}

}  // namespace korvane::services
