#pragma once
// The common frame of the small plane-surveying tools (前方交会, 后方交会,
// 归心改正): labelled boxes for the typed figures and the results, the
// buttons 计算, 全部清空 and 退出子程序, and the showing of a refusal or a
// warning. Each tool window lays out its own boxes and calls its engine.
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/message.h"
#include "export/figure.h"
#include "ui/shell/platform.h"

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;

class PlaneToolWindow : public QWidget {
  Q_OBJECT
 public:
  PlaneToolWindow(MessageBoxes& messages, QWidget* parent, const char* objectName, const char* title);

  // 计算: reads the boxes, runs the engine, fills the result boxes.
  virtual void compute() = 0;
  // 全部清空: every input and result box.
  void clearAll();
  void clearResults();

 signals:
  // 退出子程序.
  void leaveToolRequested();

 protected:
  // A labelled box in `grid` at (row, column): the caption left of the box.
  QLineEdit* addBox(QGridLayout* grid, int row, int column, const char* name, const char* caption,
                    const char* tooltip, bool result);
  QLineEdit* box(const char* name) const;
  std::vector<std::string> texts(std::initializer_list<const char*> names) const;
  void showResults(std::initializer_list<std::pair<const char*, std::string>> results);
  // Shows a refusal (and clears the results: true) or a warning after the
  // results are shown (false).
  bool refused(const std::optional<Message>& refusal);
  void warn(const std::optional<Message>& warning);
  QWidget* buildButtons();
  // 导出DXF… and 导出坐标… join the buttons beside 计算 (call before
  // buildButtons); they export the figure of the result shown and are
  // enabled only while there is one.
  void offerExports(FileDialogs& files);
  void showFigure(exporting::Figure figure);

  void showEvent(QShowEvent* event) override;

 private:
  MessageBoxes& messages_;
  std::vector<QLineEdit*> inputs_, results_;
  FileDialogs* files_ = nullptr;
  exporting::Figure figure_;
  std::vector<QPushButton*> exports_;
  QString exportFolder_;
  bool centred_ = false;
};

// Shows the one window of type W that belongs to `owner`, made on first use;
// closing hides it, and it comes back as it was left.
template <typename W>
W* ShowToolWindow(QWidget* owner, MessageBoxes& messages) {
  W* window = owner->findChild<W*>(QString(), Qt::FindDirectChildrenOnly);
  if (!window) {
    window = new W(messages, owner);
    QObject::connect(window, &PlaneToolWindow::leaveToolRequested, window, &QWidget::close);
  }
  BringUp(window);
  return window;
}

}  // namespace korvane::ui
