#pragma once
// The results of a simple adjustment in the main window: the table in the
// results pane (RichTextBox1), its sketch in the plot window, and what is
// made of them: 保存文本, 打印…, 保存为PDF…, 导出DXF… and 导出坐标….
#include <QString>

#include "core/sketch.h"
#include "export/figure.h"
#include "formats/traverse_kind.h"
#include "traverse/simple_adjustment.h"

class QPlainTextEdit;
class QWidget;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;
class PlotWindow;

class SimpleResults {
 public:
  // `folder` is the folder the window's file dialogs start in.
  SimpleResults(QWidget* window, MessageBoxes& messages, FileDialogs& files, QString& folder);
  ~SimpleResults();
  SimpleResults(const SimpleResults&) = delete;
  SimpleResults& operator=(const SimpleResults&) = delete;

  QPlainTextEdit* pane() const { return pane_; }
  PlotWindow* plotWindow() const { return plot_; }

  // A computation begins: nothing of the last one is exported any more.
  void forgetFigure() { figure_ = {}; }
  // The table of a computation, also of one stopped part way, and the
  // sketch printed with it.
  void showTable(const traverse::SimpleResult& result);
  void keepSketch(const Sketch& sketch) { sketch_ = sketch; }
  // An adjusted traverse: its sketch in the plot window, its points ready
  // for export.
  void showAdjusted(const traverse::SimpleResult& result, formats::TraverseKind kind);
  // 返回: the pane emptied, the sketch closed, nothing to export.
  void clear();
  void closePlot();

  void save();                  // 保存文本
  void print(bool pdf);         // 打印… and 保存为PDF…
  void exportDrawing();         // 导出DXF…
  void exportCoordinates();     // 导出坐标…

 private:
  // False (and the user told) when the pane holds nothing.
  bool holdsTable() const;

  QWidget* window_;
  MessageBoxes& messages_;
  FileDialogs& files_;
  QString& folder_;
  QPlainTextEdit* pane_;
  PlotWindow* plot_ = nullptr;
  Sketch sketch_;  // of the table in the pane
  // The adjusted points of the results shown.
  exporting::Figure figure_;
};

}  // namespace korvane::ui
