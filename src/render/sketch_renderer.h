#pragma once
// Draws a sketch (drawing operations in survey coordinates) with QPainter.
// Shared by the plot window and the batch program.
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

#include "core/sketch.h"

namespace korvane::render {

// The operations of a sketch held whole, as a source (the sketch must outlive it).
SketchSource SketchOperations(const Sketch& sketch);
// Paints the sketch into the target rectangle of the painter's device; the
// sketch's scale operation maps its survey rectangle onto the target.
void PaintSketch(QPainter& painter, const Sketch& sketch, const QRect& target);
// The same for operations handed over as they are made; the labels in the
// first installed of `fontFamilies` (the windows' families when empty).
void PaintSketch(QPainter& painter, const SketchSource& source, const QRect& target,
                 const QStringList& fontFamilies = {});
// A white picture of the given size with the sketch on it.
QImage RenderSketch(const Sketch& sketch, const QSize& size);
QImage RenderSketch(const SketchSource& source, const QSize& size);
// The picture's file bytes: BMP, or JPEG when the name ends in ".jpg"/".jpeg",
// or PNG when it ends in ".png" (in any case). Empty when it cannot be made.
QByteArray EncodeSketchImage(const SketchSource& source, std::string_view path, const QSize& size);
// Writes the picture through the atomic writer under the name's bytes.
// Returns an empty string, or why it could not be written (the refusal of
// the destination included).
std::string SaveSketchImage(const Sketch& sketch, const std::string& path, const QSize& size);
std::string SaveSketchImage(const SketchSource& source, const std::string& path, const QSize& size);

}  // namespace korvane::render
