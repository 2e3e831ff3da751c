#include "render/sketch_renderer.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QPen>
#include <QPointF>
#include <QStringList>

#include "io/atomic_output.h"
#include "core/message_text.h"
#include "io/text_file.h"
#include "core/text_utils.h"
#include "render/chinese_fonts.h"

namespace korvane::render {
namespace {

constexpr double kMarkRadius = 2.5;     // pixels
constexpr double kLabelOffset = 4.0;    // pixels right of and below the mark
constexpr int kLabelPixelSize = 13;

QColor ToColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

// Survey rectangle to pixels at one scale for both axes, centred in the target,
// so that distances and ellipse shapes are not distorted.
class Mapping {
 public:
  Mapping(const SketchScale& s, const QRect& target) {
    const double width = s.right - s.left;
    const double height = s.top - s.bottom;
    const double kx = width > 0 ? target.width() / width : 0;
    const double ky = height > 0 ? target.height() / height : 0;
    k_ = kx > 0 && ky > 0 ? std::min(kx, ky) : std::max({kx, ky, 1.0});
    left_ = s.left;
    top_ = s.top;
    originX_ = target.left() + (target.width() - width * k_) / 2;
    originY_ = target.top() + (target.height() - height * k_) / 2;
  }
  QPointF map(double east, double north) const {
    return QPointF(originX_ + (east - left_) * k_, originY_ + (top_ - north) * k_);
  }
  double length(double metres) const { return metres * k_; }

 private:
  double k_ = 1, left_ = 0, top_ = 0, originX_ = 0, originY_ = 0;
};

QFont LabelFont(const QStringList& families) {
  QFont font;
  font.setFamilies(families.isEmpty() ? ChineseSansFamilies() : families);
  font.setPixelSize(kLabelPixelSize);
  return font;
}

struct PenState {
  int width = 1;
  Qt::PenStyle style = Qt::SolidLine;
  QPen pen(const Rgb& color) const {
    QPen p(ToColor(color));
    p.setWidth(width);
    p.setStyle(style);
    return p;
  }
};

}  // namespace

SketchSource SketchOperations(const Sketch& sketch) {
  return [&sketch](const SketchSink& sink) {
    for (const SketchOp& op : sketch.ops) sink(op);
  };
}

void PaintSketch(QPainter& painter, const Sketch& sketch, const QRect& target) {
  PaintSketch(painter, SketchOperations(sketch), target);
}

void PaintSketch(QPainter& painter, const SketchSource& source, const QRect& target,
                 const QStringList& fontFamilies) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  // Whole pixel coordinates fall on pixel centres, so thin lines stay crisp.
  painter.translate(0.5, 0.5);
  painter.setFont(LabelFont(fontFamilies));
  Mapping mapping(SketchScale{0, 1, 1, 0}, target);
  PenState state;
  source([&](const SketchOp& op) {
    std::visit(
        [&](const auto& o) {
          using T = std::decay_t<decltype(o)>;
          if constexpr (std::is_same_v<T, SketchScale>) {
            mapping = Mapping(o, target);
          } else if constexpr (std::is_same_v<T, SketchPoint>) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(ToColor(o.color));
            painter.drawEllipse(mapping.map(o.east, o.north), kMarkRadius, kMarkRadius);
            painter.setBrush(Qt::NoBrush);
          } else if constexpr (std::is_same_v<T, SketchLine>) {
            painter.setPen(state.pen(o.color));
            painter.drawLine(mapping.map(o.east1, o.north1), mapping.map(o.east2, o.north2));
          } else if constexpr (std::is_same_v<T, SketchBox>) {
            painter.setPen(state.pen(o.color));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(mapping.map(o.east1, o.north1), mapping.map(o.east2, o.north2)).normalized());
          } else if constexpr (std::is_same_v<T, SketchEllipse>) {
            // The radius is the longer semi-axis; the ratio is vertical to horizontal.
            double horizontal = o.radius, vertical = o.radius;
            if (o.ratio >= 1) horizontal = o.radius / o.ratio;
            else vertical = o.radius * o.ratio;
            painter.setPen(state.pen(o.color));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(mapping.map(o.east, o.north), mapping.length(horizontal),
                                mapping.length(vertical));
          } else if constexpr (std::is_same_v<T, SketchText>) {
            painter.setPen(QPen(Qt::black));
            const QPointF at = mapping.map(o.east, o.north) + QPointF(kLabelOffset, kLabelOffset);
            const QString text = QString::fromUtf8(o.text.data(), static_cast<qsizetype>(o.text.size()));
            painter.drawText(QRectF(at, QSizeF(4000, 200)), Qt::AlignLeft | Qt::AlignTop, text);
          } else if constexpr (std::is_same_v<T, SketchWidth>) {
            state.width = std::max(1, o.width);
          } else if constexpr (std::is_same_v<T, SketchStyle>) {
            state.style = o.style == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine;
          }
        },
        op);
  });
  painter.restore();
}

QImage RenderSketch(const Sketch& sketch, const QSize& size) { return RenderSketch(SketchOperations(sketch), size); }

QImage RenderSketch(const SketchSource& source, const QSize& size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintSketch(painter, source, QRect(QPoint(0, 0), size));
  painter.end();
  return image;
}

QByteArray EncodeSketchImage(const SketchSource& source, std::string_view path, const QSize& size) {
  const std::string lower = ToLowerAscii(path);
  const char* format = "BMP";
  if (lower.ends_with(".png")) format = "PNG";
  else if (lower.ends_with(".jpg") || lower.ends_with(".jpeg")) format = "JPG";
  QByteArray encoded;
  QBuffer buffer(&encoded);
  if (!buffer.open(QIODevice::WriteOnly) || !RenderSketch(source, size).save(&buffer, format)) return {};
  return encoded;
}

std::string SaveSketchImage(const Sketch& sketch, const std::string& path, const QSize& size) {
  return SaveSketchImage(SketchOperations(sketch), path, size);
}

std::string SaveSketchImage(const SketchSource& source, const std::string& path, const QSize& size) {
  // Encoded in memory and written through the atomic writer, so that a kill
  // leaves the old picture or the new one, never a part of either.
  if (const std::optional<Message> refusal = io::DestinationRefusal(path)) return refusal->text;
  const QByteArray encoded = EncodeSketchImage(source, path, size);
  if (encoded.isEmpty()) return "无法生成图片：" + io::PathForDisplay(path);
  io::AtomicOutput output;
  int error = output.open(path, false);
  if (error == 0) error = output.write(std::string_view(encoded.constData(), static_cast<std::size_t>(encoded.size())));
  if (error == 0) error = output.commit();
  if (error == 0) return {};
  if (error == io::AtomicOutput::kRefused) return output.errorText(error);
  return "无法写入图片：" + io::PathForDisplay(path) + "（" + SystemErrorText(error) + "）";
}

}  // namespace korvane::render
