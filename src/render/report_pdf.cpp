#include "render/report_pdf.h"

#include <algorithm>
#include <cerrno>

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextOption>

#include "io/atomic_output.h"
#include "render/chinese_fonts.h"
#include "render/sketch_renderer.h"

namespace korvane::render {
namespace {

// The page is laid out in units of 1/96 inch, as the reports show on the
// screen (HTML borders and paddings are given in such pixels), and scaled
// onto the device's resolution when painted.
constexpr double kLayoutDpi = 96.0;
constexpr double kMarginMm = 20.0;       // around the text on every side
constexpr double kFooterMm = 10.0;       // the page number's baseline above the lower edge
constexpr double kTablePoints = 10.0;    // the plain table, unless too wide for the page
constexpr double kSmallestPoints = 5.0;  // a wider table wraps at this size
constexpr double kHtmlPoints = 9.0;
constexpr double kFooterPoints = 9.0;

double Units(double mm) { return mm / 25.4 * kLayoutDpi; }

QFont PrintFont(const QStringList& families, double points) {
  QFont font;
  font.setFamilies(families);
  font.setPointSizeF(points);
  return font;
}

// The monospaced font at the size at which the widest line fits the width.
QFont TableFont(const QString& text, double width, const QPaintDevice* device) {
  QFont font = PrintFont(PdfMonoFamilies(), kTablePoints);
  const QFontMetricsF metrics(font, device);
  double widest = 0;
  for (const QString& line : text.split('\n')) widest = std::max(widest, metrics.horizontalAdvance(line));
  if (widest > width) font.setPointSizeF(std::max(kSmallestPoints, kTablePoints * width / widest * 0.98));
  return font;
}

// Where the picture goes: its rectangle and the page (0-based) it is on.
struct PicturePlace {
  QRectF rect;
  int page = -1;
};

class ReportLayout {
 public:
  ReportLayout(const PrintableReport& report, QSizeF page) : report_(report), page_(page) {
    // A fixed resolution for the layout, whatever the screen's.
    reference_.setDotsPerMeterX(static_cast<int>(kLayoutDpi / 0.0254 + 0.5));
    reference_.setDotsPerMeterY(static_cast<int>(kLayoutDpi / 0.0254 + 0.5));
    doc_.documentLayout()->setPaintDevice(&reference_);
    doc_.setUseDesignMetrics(true);
    const double margin = Units(kMarginMm);
    if (report.body == PrintableReport::Body::Html) {
      doc_.setDefaultFont(PrintFont(PdfSansFamilies(), kHtmlPoints));
      // Every table of the reports is a grid of values, drawn in thin lines
      // (the weighted report's cells, which start without a row, would
      // otherwise lose the border the browsers draw).
      doc_.setDefaultStyleSheet(
          "table { border-style: solid; border-width: 1px; border-color: black; border-collapse: collapse; }"
          " td, th { border-style: solid; border-width: 1px; border-color: black; padding: 2px; }");
      doc_.setHtml(report.text);
    } else {
      QTextOption option;
      option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
      doc_.setDefaultTextOption(option);
      doc_.setDefaultFont(TableFont(report.text, page.width() - 2 * margin, &reference_));
      doc_.setPlainText(report.text);
    }
    QTextFrameFormat frame = doc_.rootFrame()->frameFormat();
    frame.setLeftMargin(margin);
    frame.setRightMargin(margin);
    frame.setTopMargin(margin);
    frame.setBottomMargin(margin);
    doc_.rootFrame()->setFrameFormat(frame);
    doc_.setPageSize(page);
    textPages_ = std::max(1, doc_.pageCount());
    placePicture();
  }

  int pages() const { return std::max(textPages_, picture_.page + 1); }

  // The painter's fonts are sized for its device, whose resolution the
  // painter's scale already brings in: their points are taken back by it.
  void setDeviceDpi(double dpi) { pointScale_ = kLayoutDpi / dpi; }

  void paintPage(QPainter& painter, int page) {
    if (page < textPages_) {
      painter.save();
      const QRectF view(0, page * page_.height(), page_.width(), page_.height());
      painter.translate(0, -page * page_.height());
      painter.setClipRect(view);
      QAbstractTextDocumentLayout::PaintContext context;
      context.clip = view;
      context.palette.setColor(QPalette::Text, Qt::black);
      doc_.documentLayout()->draw(&painter, context);
      painter.restore();
    }
    if (page == picture_.page) paintPicture(painter);
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(PrintFont(PdfSansFamilies(), kFooterPoints * pointScale_));
    const QRectF foot(0, page_.height() - Units(kFooterMm) - Units(6), page_.width(), Units(6));
    painter.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
                     QString::fromUtf8("第 %1 页 / 共 %2 页").arg(page + 1).arg(pages()));
    painter.restore();
  }

 private:
  double captionHeight() const {
    if (report_.pictureCaption.isEmpty()) return 0;
    return QFontMetricsF(PrintFont(PdfSansFamilies(), kHtmlPoints), &reference_).lineSpacing() * 1.5;
  }

  // Below the text on its last page where the picture fits there at the
  // width of the text (or at the height of a page, whichever is less), else
  // at the top of a page of its own.
  void placePicture() {
    if (report_.picture.ops.empty()) return;
    const double margin = Units(kMarginMm);
    const double width = page_.width() - 2 * margin, height = page_.height() - 2 * margin - captionHeight();
    const QSizeF size = report_.pictureSize.isValid() && !report_.pictureSize.isEmpty()
                            ? report_.pictureSize.scaled(QSizeF(width, height), Qt::KeepAspectRatio)
                            : QSizeF(width, std::min(width, height));
    const double gap = Units(5);
    const QRectF last = doc_.documentLayout()->blockBoundingRect(doc_.lastBlock());
    const double used = last.bottom() - (textPages_ - 1) * page_.height();
    const double left = (page_.width() - size.width()) / 2;
    if (used + gap + size.height() + captionHeight() <= page_.height() - margin) {
      picture_ = {QRectF(QPointF(left, used + gap), size), textPages_ - 1};
    } else {
      picture_ = {QRectF(QPointF(left, margin), size), textPages_};
    }
  }

  void paintPicture(QPainter& painter) {
    painter.save();
    const QRect target = picture_.rect.toAlignedRect();
    painter.setClipRect(target);
    PaintSketch(painter, SketchOperations(report_.picture), target, PdfSansFamilies());
    painter.restore();
    if (report_.pictureCaption.isEmpty()) return;
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(PrintFont(PdfSansFamilies(), kHtmlPoints * pointScale_));
    const QRectF below(Units(kMarginMm), picture_.rect.bottom(), page_.width() - 2 * Units(kMarginMm),
                       captionHeight());
    painter.drawText(below, Qt::AlignHCenter | Qt::AlignVCenter, report_.pictureCaption);
    painter.restore();
  }

  const PrintableReport& report_;
  QSizeF page_;
  QImage reference_{1, 1, QImage::Format_RGB32};
  QTextDocument doc_;
  int textPages_ = 1;
  double pointScale_ = 1;
  PicturePlace picture_;
};

}  // namespace

int PaintReport(QPagedPaintDevice& device, const PrintableReport& report) {
  if (device.width() <= 0 || device.height() <= 0) return 0;
  const double scaleX = device.logicalDpiX() / kLayoutDpi, scaleY = device.logicalDpiY() / kLayoutDpi;
  ReportLayout layout(report, QSizeF(device.width() / scaleX, device.height() / scaleY));
  layout.setDeviceDpi(device.logicalDpiY());
  QPainter painter;
  if (!painter.begin(&device)) return 0;
  painter.scale(scaleX, scaleY);
  const int pages = layout.pages();
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !device.newPage()) return 0;
    layout.paintPage(painter, page);
  }
  return painter.end() ? pages : 0;
}

QByteArray ReportPdfBytes(const PrintableReport& report) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return {};
  int pages = 0;
  {
    QPdfWriter writer(&buffer);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(600);
    writer.setTitle(report.title);
    writer.setCreator("Korvane");
    pages = PaintReport(writer, report);
  }
  buffer.close();
  return pages > 0 ? bytes : QByteArray();
}

std::string PdfWriteErrorText(int error, const std::string& writerText) {
  if (error == ENOSPC || error == EDQUOT) return "磁盘满，空间不够!";
  return writerText;
}

report::ReportWrite WriteReportPdf(const std::string& path, const PrintableReport& report,
                                const std::vector<std::string>& inputs) {
  report::ReportWrite write;
  write.refusal = io::DestinationRefusal(path, inputs);
  if (write.refusal) return write;
  const QByteArray bytes = ReportPdfBytes(report);
  if (bytes.isEmpty()) {
    write.error = "无法生成PDF文件：" + io::PathForDisplay(path);
    return write;
  }
  io::AtomicOutput output;
  int error = output.open(path, false);
  if (error == 0) error = output.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (error == 0) error = output.commit();
  if (error == io::AtomicOutput::kRefused) write.refusal = output.refusal();
  else if (error != 0) write.error = PdfWriteErrorText(error, output.errorText(error));
  return write;
}

}  // namespace korvane::render
