#include "services/printable_reports.h"

#include <QStringList>

#include "core/numbers.h"
#include "levelling/level_report.h"
#include "network/network_report.h"
#include "network/network_sketch.h"
#include "traverse/rigorous_sketch.h"

namespace korvane::services {
namespace {

// The sketch in the proportions of its survey rectangle, so that the page
// holds the drawing without the blank bands of a picture file's frame.
void SetPicture(render::PrintableReport& report, Sketch sketch) {
  for (const SketchOp& op : sketch.ops) {
    if (const auto* s = std::get_if<SketchScale>(&op)) {
      const QSizeF size(s->right - s->left, s->top - s->bottom);
      if (size.width() > 0 && size.height() > 0) report.pictureSize = size;
      break;
    }
  }
  report.picture = std::move(sketch);
}

QString HtmlText(const std::vector<std::string>& lines) {
  QStringList text;
  // The picture's reference in the file: on the page the sketch itself is drawn.
  for (const std::string& line : lines) {
    if (!line.starts_with("<IMG SRC=")) text << QString::fromStdString(line);
  }
  return text.join('\n');
}

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

render::PrintableReport SimpleResultsPrint(const QString& tableText, const Sketch& sketch) {
  render::PrintableReport report;
  report.body = render::PrintableReport::Body::PlainText;
  report.text = tableText;
  while (report.text.endsWith('\n')) report.text.chop(1);
  report.title = Utf8("导线平差成果表");
  SetPicture(report, sketch);
  return report;
}

render::PrintableReport SimpleResultsPrint(const std::vector<std::string>& lines, const Sketch& sketch) {
  QStringList text;
  for (const std::string& line : lines) text << QString::fromStdString(line);
  return SimpleResultsPrint(text.join('\n'), sketch);
}

render::PrintableReport RigorousReportPrint(traverse::RigorousReportInput input) {
  input.charset = "utf-8";
  input.imageName.clear();
  render::PrintableReport report;
  report.body = render::PrintableReport::Body::Html;
  report.text = HtmlText(RigorousReportLines(input));
  report.title = Utf8("附合导线平差成果表");
  SetPicture(report, RigorousSketch(input.table, input.result));
  return report;
}

render::PrintableReport NetworkReportPrint(const formats::NetworkInput& input, const network::NetworkResult& result,
                                   const network::NetworkOptions& options) {
  const double exaggeration = EllipseExaggeration(result);
  const network::NetworkReportInput in{input, result, options, exaggeration, {}, "utf-8"};
  render::PrintableReport report;
  report.body = render::PrintableReport::Body::Html;
  report.text = HtmlText(NetworkReportLines(in));
  report.title = Utf8("导线网严密平差");
  SetPicture(report, NetworkSketch(result, exaggeration));
  report.pictureCaption = Utf8("误差椭圆放大 %1 倍；洋红粗线为标准化残差最大的观测。")
                              .arg(QString::fromStdString(NumberText(exaggeration)));
  return report;
}

render::PrintableReport LevelReportPrint(const levelling::LevelResult& result) {
  render::PrintableReport report;
  report.body = render::PrintableReport::Body::Html;
  report.text = HtmlText(levelling::LevelReportLines(result, "utf-8"));
  report.title = Utf8("水准测量平差成果");
  return report;
}

}  // namespace korvane::services
