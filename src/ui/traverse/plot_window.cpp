#include "ui/traverse/plot_window.h"

#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include "render/sketch_renderer.h"
#include "ui/shell/platform.h"
#include "ui/shell/user_prompts.h"

namespace korvane::ui {

QSize PlotWindow::SurfaceSize() { return {1000, 900}; }

SketchCanvas::SketchCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName("Picture2");
  setFixedSize(PlotWindow::SurfaceSize());
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
}

void SketchCanvas::setSketch(const Sketch& sketch) {
  sketch_ = sketch;
  update();
}

void SketchCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setFont(UiFont(10));
  render::PaintSketch(painter, sketch_, rect());
}

PlotWindow::PlotWindow(QWidget* parent, MessageBoxes& messages, FileDialogs& files)
    : QMainWindow(parent, Qt::Window), messages_(messages), files_(files) {
  setObjectName("Form_wcty");
  setWindowTitle(QString::fromUtf8("误差椭圆"));
  setFont(UiFont(10));
  KeepOnTop(this);

  auto* save = menuBar()->addAction(QString::fromUtf8("保存图形"));
  save->setObjectName("mune_bc");
  connect(save, &QAction::triggered, this, &PlotWindow::saveFigure);

  area_ = new QScrollArea(this);
  area_->setObjectName("Picture1");
  area_->setWidgetResizable(false);
  area_->verticalScrollBar()->setObjectName("VScroll1");
  area_->horizontalScrollBar()->setObjectName("HScroll1");
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  canvas_ = new SketchCanvas(area_);
  area_->setWidget(canvas_);
  setCentralWidget(area_);
  FitToScreen(this, {760, 600});
}

void PlotWindow::showSketch(const Sketch& sketch) {
  canvas_->setSketch(sketch);
  const bool first = !isVisible();
  show();
  if (first) {
    CentreOnScreen(this);
    // The traverse lies in the middle of its widened frame: start there.
    QScrollBar* h = area_->horizontalScrollBar();
    QScrollBar* v = area_->verticalScrollBar();
    h->setValue((h->minimum() + h->maximum()) / 2);
    v->setValue((v->minimum() + v->maximum()) / 2);
  }
  raise();
}

std::string PlotWindow::savePicture(const QString& path) const {
  return render::SaveSketchImage(canvas_->sketch(), QFile::encodeName(path).toStdString(), SurfaceSize());
}

void PlotWindow::saveFigure() {
  FileDialogRequest request;
  request.title = QString::fromUtf8("保存文件");
  request.filters = {"bmp(*.bmp)", "jpg(*.jpg)", QString::fromUtf8("所有文件(*)")};
  request.folder = QDir::homePath();
  request.defaultSuffix = "bmp";
  const QString chosen = WithDefaultSuffix(files_.saveFile(this, request), "bmp");
  if (chosen.isEmpty()) return;
  if (const std::string error = savePicture(chosen); !error.empty())
    messages_.inform(this, Message{"图形无法保存：" + error, "请检查", MessageIcon::Warning});
}

}  // namespace korvane::ui
