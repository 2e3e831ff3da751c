#pragma once
#include <string>
// The plot window (Form_wcty): a drawing surface larger than its viewport,
// with scroll bars, on which a compute command's sketch is drawn; the menu
// "保存图形" writes the picture to a file.
#include <QMainWindow>
#include <QWidget>

#include "core/sketch.h"

class QScrollArea;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;

// The drawing surface (Picture2).
class SketchCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit SketchCanvas(QWidget* parent);
  void setSketch(const Sketch& sketch);
  const Sketch& sketch() const { return sketch_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Sketch sketch_;
};

class PlotWindow : public QMainWindow {
  Q_OBJECT
 public:
  PlotWindow(QWidget* parent, MessageBoxes& messages, FileDialogs& files);

  // Draws the sketch on a fresh surface and shows the window.
  void showSketch(const Sketch& sketch);
  // Saves the picture under a name chosen in the save dialog.
  void saveFigure();
  // Writes the picture of the surface; an empty string, or why it could not
  // be written.
  std::string savePicture(const QString& path) const;

  SketchCanvas* canvas() const { return canvas_; }
  QScrollArea* viewport() const { return area_; }

  static QSize SurfaceSize();

 private:
  MessageBoxes& messages_;
  FileDialogs& files_;
  QScrollArea* area_;
  SketchCanvas* canvas_;
};

}  // namespace korvane::ui
