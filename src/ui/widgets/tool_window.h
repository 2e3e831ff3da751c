#pragma once
// The common frame of the small tool windows (前方交会, 后方交会, 归心改正,
// 边长投影改正, 单向高程计算改正): labelled boxes for the typed figures and
// the results, a note under them, the buttons 计算, 全部清空 and 退出子程序,
// and the showing of a refusal or a warning. Each tool window lays out its
// own boxes, keeps them as members and calls its engine.
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/message.h"
#include "export/figure.h"

class QGridLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;

// What a labelled box is: its control name, caption and tooltip.
struct LabelledBox {
  const char* name;
  const char* caption;
  const char* tooltip;
};

// A box named as the control it is, its caption left of it in `grid` at
// (row, column), the box at column + 1; result boxes are read-only.
QLineEdit* AddLabelledBox(QGridLayout* grid, int row, int column, const LabelledBox& entry, bool result);

// How the tools take an angle and a plane coordinate.
inline constexpr const char* kAngleTip = "角度输入格式例：45度30分15秒则输入：45.3015";
inline constexpr const char* kCoordinateTip = "坐标以米为单位，X为纵坐标（北），Y为横坐标（东）";

// The X and Y boxes of a known point.
struct PointBoxes {
  QLineEdit* x = nullptr;
  QLineEdit* y = nullptr;
};

// The texts of the boxes, in the order given.
std::vector<std::string> Texts(std::initializer_list<const QLineEdit*> boxes);

class ToolWindow : public QWidget {
  Q_OBJECT
 public:
  ToolWindow(MessageBoxes& messages, QWidget* parent, const char* objectName, const char* title);

  // 计算: reads the boxes, runs the engine, fills the result boxes.
  virtual void compute() = 0;
  // 全部清空: every input and result box.
  void clearAll();
  void clearResults();

 signals:
  // 退出子程序.
  void leaveToolRequested();

 protected:
  // A labelled box of this window: an input computes on Enter and, edited,
  // takes away results that no longer belong to it.
  QLineEdit* addBox(QGridLayout* grid, int row, int column, const LabelledBox& entry, bool result);
  // The inputs in column 0 and the results in column 2 of `grid`, one a row;
  // the boxes in the order of the lists.
  std::vector<QLineEdit*> addInputs(QGridLayout* grid, std::initializer_list<LabelledBox> entries);
  std::vector<QLineEdit*> addResults(QGridLayout* grid, std::initializer_list<LabelledBox> entries);
  // The boxes of known point `letter` in `row`: Text_XA and Text_YA for "A".
  PointBoxes addPoint(QGridLayout* grid, int row, const char* letter);
  // The result boxes Text_XP and Text_YP of the point found, captioned
  // `caption` followed by XP and YP.
  PointBoxes addResultPoint(QGridLayout* grid, int row, const char* caption);
  void showResults(std::initializer_list<std::pair<QLineEdit*, std::string>> results);
  // Shows a refusal (and clears the results: true) or a warning after the
  // results are shown (false).
  bool refused(const std::optional<Message>& refusal);
  void warn(const std::optional<Message>& warning);
  // The window's column: what a tool puts above its boxes goes here first.
  QVBoxLayout* column() const { return column_; }
  // The grid of the boxes, next in the column.
  QGridLayout* addFigures();
  // Ends the column: the note under the boxes (formulas, how figures are
  // measured) named `noteName`, and the buttons.
  void finish(const char* noteName, const char* note);
  // 导出DXF… and 导出坐标… join the buttons beside 计算 (call before
  // finish); they export the figure of the result shown and are enabled
  // only while there is one.
  void offerExports(FileDialogs& files);
  void showFigure(exporting::Figure figure);

  void showEvent(QShowEvent* event) override;

 private:
  MessageBoxes& messages_;
  QVBoxLayout* column_;
  std::vector<QLineEdit*> inputs_, results_;
  FileDialogs* files_ = nullptr;
  exporting::Figure figure_;
  std::vector<QPushButton*> exports_;
  QString exportFolder_;
  bool centred_ = false;
};

}  // namespace korvane::ui
