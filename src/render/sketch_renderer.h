#pragma once
// Draws a sketch (drawing operations in survey coordinates) with QPainter.
// Shared by the plot window and the batch program.
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <string>

#include "core/sketch.h"

namespace korvane {

// Paints the sketch into the target rectangle of the painter's device; the
// sketch's scale operation maps its survey rectangle onto the target.
void PaintSketch(QPainter& painter, const Sketch& sketch, const QRect& target);
// The same for operations handed over as they are made.
void PaintSketch(QPainter& painter, const SketchSource& source, const QRect& target);
// A white picture of the given size with the sketch on it.
QImage RenderSketch(const Sketch& sketch, const QSize& size);
QImage RenderSketch(const SketchSource& source, const QSize& size);
// Writes the picture as BMP, or as JPEG when the name ends in ".jpg"/".jpeg",
// or as PNG when it ends in ".png". Returns false when it could not be written,
// with "无法写入图片：PATH（reason）" in `failure` when one is given.
bool SaveSketchImage(const Sketch& sketch, const QString& path, const QSize& size, std::string* failure = nullptr);
bool SaveSketchImage(const SketchSource& source, const QString& path, const QSize& size,
                     std::string* failure = nullptr);

}  // namespace korvane
