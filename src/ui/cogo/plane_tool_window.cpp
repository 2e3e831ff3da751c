#include "ui/cogo/plane_tool_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/shell/platform.h"
#include "ui/widgets/button_row.h"
#include "ui/shell/user_prompts.h"
#include "ui/widgets/export_commands.h"

namespace korvane::ui {

PlaneToolWindow::PlaneToolWindow(MessageBoxes& messages, QWidget* parent, const char* objectName,
                                 const char* title)
    : QWidget(parent, Qt::Window), messages_(messages) {
  setObjectName(objectName);
  setWindowTitle(QString::fromUtf8(title));
}

QLineEdit* PlaneToolWindow::addBox(QGridLayout* grid, int row, int column, const char* name,
                                   const char* caption, const char* tooltip, bool result) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  edit->setToolTip(QString::fromUtf8(tooltip));
  edit->setReadOnly(result);
  edit->setMinimumWidth(140);
  grid->addWidget(new QLabel(QString::fromUtf8(caption), this), row, column, Qt::AlignRight);
  grid->addWidget(edit, row, column + 1);
  if (result) {
    results_.push_back(edit);
  } else {
    inputs_.push_back(edit);
    // Results of other figures must not stand beside an edited one; Enter computes.
    connect(edit, &QLineEdit::textEdited, this, &PlaneToolWindow::clearResults);
    connect(edit, &QLineEdit::returnPressed, this, [this] { compute(); });
  }
  return edit;
}

QLineEdit* PlaneToolWindow::box(const char* name) const { return findChild<QLineEdit*>(name); }

std::vector<std::string> PlaneToolWindow::texts(std::initializer_list<const char*> names) const {
  std::vector<std::string> list;
  for (const char* name : names) list.push_back(box(name)->text().toStdString());
  return list;
}

void PlaneToolWindow::showResults(std::initializer_list<std::pair<const char*, std::string>> results) {
  for (const auto& [name, text] : results) box(name)->setText(QString::fromStdString(text));
}

bool PlaneToolWindow::refused(const std::optional<Message>& refusal) {
  if (!refusal) return false;
  clearResults();
  messages_.inform(this, *refusal);
  return true;
}

void PlaneToolWindow::warn(const std::optional<Message>& warning) {
  if (warning) messages_.inform(this, *warning);
}

void PlaneToolWindow::clearResults() {
  for (QLineEdit* edit : results_) edit->clear();
  showFigure({});
}

void PlaneToolWindow::offerExports(FileDialogs& files) { files_ = &files; }

void PlaneToolWindow::showFigure(exporting::Figure figure) {
  figure_ = std::move(figure);
  for (QPushButton* button : exports_) button->setEnabled(!figure_.points.empty());
}

void PlaneToolWindow::clearAll() {
  for (QLineEdit* edit : inputs_) edit->clear();
  clearResults();
}

QWidget* PlaneToolWindow::buildButtons() {
  ButtonRow buttons(this);
  buttons.add("js", "计算", [this] { compute(); });
  if (files_) {
    exports_ = {buttons.add("dcdxf", "导出DXF…", [this] { ExportDrawing({this, messages_, *files_, exportFolder_}, figure_); }),
                buttons.add("dczb", "导出坐标…",
                            [this] { ExportCoordinates({this, messages_, *files_, exportFolder_}, figure_); })};
    showFigure({});
  }
  buttons.add("qbqk", "全部清空", [this] { clearAll(); });
  buttons.add("tczcx", "退出子程序", [this] { emit leaveToolRequested(); });
  return buttons.widget();
}

void PlaneToolWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!centred_ && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
    adjustSize();
    CentreOnScreen(this);
    centred_ = true;
  }
}

}  // namespace korvane::ui
