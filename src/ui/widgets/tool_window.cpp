#include "ui/widgets/tool_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/shell/platform.h"
#include "ui/widgets/button_row.h"
#include "ui/shell/user_prompts.h"
#include "ui/widgets/export_commands.h"

namespace korvane::ui {

QLineEdit* AddLabelledBox(QGridLayout* grid, int row, int column, const LabelledBox& entry, bool result) {
  QWidget* owner = grid->parentWidget();
  auto* edit = new QLineEdit(owner);
  edit->setObjectName(entry.name);
  edit->setToolTip(QString::fromUtf8(entry.tooltip));
  edit->setReadOnly(result);
  edit->setMinimumWidth(140);
  auto* label = new QLabel(QString::fromUtf8(entry.caption), owner);
  label->setBuddy(edit);
  grid->addWidget(label, row, column, Qt::AlignRight);
  grid->addWidget(edit, row, column + 1);
  return edit;
}

std::vector<std::string> Texts(std::initializer_list<const QLineEdit*> boxes) {
  std::vector<std::string> list;
  for (const QLineEdit* box : boxes) list.push_back(box->text().toStdString());
  return list;
}

ToolWindow::ToolWindow(MessageBoxes& messages, QWidget* parent, const char* objectName, const char* title)
    : QWidget(parent, Qt::Window), messages_(messages), column_(new QVBoxLayout(this)) {
  setObjectName(objectName);
  setWindowTitle(QString::fromUtf8(title));
}

QLineEdit* ToolWindow::addBox(QGridLayout* grid, int row, int column, const LabelledBox& entry, bool result) {
  QLineEdit* edit = AddLabelledBox(grid, row, column, entry, result);
  if (result) {
    results_.push_back(edit);
  } else {
    inputs_.push_back(edit);
    // Results of other figures must not stand beside an edited one; Enter computes.
    connect(edit, &QLineEdit::textEdited, this, &ToolWindow::clearResults);
    connect(edit, &QLineEdit::returnPressed, this, [this] { compute(); });
  }
  return edit;
}

std::vector<QLineEdit*> ToolWindow::addInputs(QGridLayout* grid, std::initializer_list<LabelledBox> entries) {
  std::vector<QLineEdit*> boxes;
  for (const LabelledBox& entry : entries) boxes.push_back(addBox(grid, static_cast<int>(boxes.size()), 0, entry, false));
  return boxes;
}

std::vector<QLineEdit*> ToolWindow::addResults(QGridLayout* grid, std::initializer_list<LabelledBox> entries) {
  std::vector<QLineEdit*> boxes;
  for (const LabelledBox& entry : entries) boxes.push_back(addBox(grid, static_cast<int>(boxes.size()), 2, entry, true));
  return boxes;
}

PointBoxes ToolWindow::addPoint(QGridLayout* grid, int row, const char* letter) {
  PointBoxes point;
  for (const char axis : {'X', 'Y'}) {
    const std::string caption = axis + std::string(letter);
    const std::string name = "Text_" + caption;
    QLineEdit* box = addBox(grid, row, axis == 'X' ? 0 : 2, {name.c_str(), caption.c_str(), kCoordinateTip}, false);
    (axis == 'X' ? point.x : point.y) = box;
  }
  return point;
}

PointBoxes ToolWindow::addResultPoint(QGridLayout* grid, int row, const char* caption) {
  const std::string x = caption + std::string("XP"), y = caption + std::string("YP");
  return {addBox(grid, row, 0, {"Text_XP", x.c_str(), "结果：P点纵坐标（米）"}, true),
          addBox(grid, row, 2, {"Text_YP", y.c_str(), "结果：P点横坐标（米）"}, true)};
}

void ToolWindow::showResults(std::initializer_list<std::pair<QLineEdit*, std::string>> results) {
  for (const auto& [box, text] : results) box->setText(QString::fromStdString(text));
}

bool ToolWindow::refused(const std::optional<Message>& refusal) {
  if (!refusal) return false;
  clearResults();
  messages_.inform(this, *refusal);
  return true;
}

void ToolWindow::warn(const std::optional<Message>& warning) {
  if (warning) messages_.inform(this, *warning);
}

void ToolWindow::clearResults() {
  for (QLineEdit* edit : results_) edit->clear();
  showFigure({});
}

void ToolWindow::offerExports(FileDialogs& files) { files_ = &files; }

void ToolWindow::showFigure(exporting::Figure figure) {
  figure_ = std::move(figure);
  for (QPushButton* button : exports_) button->setEnabled(!figure_.points.empty());
}

void ToolWindow::clearAll() {
  for (QLineEdit* edit : inputs_) edit->clear();
  clearResults();
}

QGridLayout* ToolWindow::addFigures() {
  auto* page = new QWidget(this);
  column_->addWidget(page);
  return new QGridLayout(page);
}

void ToolWindow::finish(const char* noteName, const char* note) {
  auto* label = new QLabel(QString::fromUtf8(note), this);
  label->setObjectName(noteName);
  label->setWordWrap(true);
  column_->addWidget(label);
  auto* buttons = new ButtonRow(this);
  buttons->add("js", "计算", [this] { compute(); });
  if (files_) {
    exports_ = {buttons->add("dcdxf", "导出DXF…", [this] { ExportDrawing({this, messages_, *files_, exportFolder_}, figure_); }),
                buttons->add("dczb", "导出坐标…",
                             [this] { ExportCoordinates({this, messages_, *files_, exportFolder_}, figure_); })};
    showFigure({});
  }
  buttons->add("qbqk", "全部清空", [this] { clearAll(); });
  buttons->add("tczcx", "退出子程序", [this] { emit leaveToolRequested(); });
  column_->addWidget(buttons);
}

void ToolWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  CentreOnFirstShow(this, centred_);
}

}  // namespace korvane::ui
