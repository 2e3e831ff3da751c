#include "ui/cogo/intersection_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "export/figures.h"
#include "cogo/intersection.h"

namespace korvane::ui {

IntersectionWindow::IntersectionWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent)
    : ToolWindow(messages, parent, "qfjh", "前方交会") {
  column()->addWidget(buildMethod());
  buildFigures();
  offerExports(files);
  finish("Label_sm",
         "A、B、P按逆时针方向编号：P点位于A→B方向的左侧（边长交会可选右侧）。\n"
         "α为A点内角∠BAP，β为B点内角∠ABP；交会角γ小于30°或大于150°时提醒，仍计算。");
  methodChanged();
}

QWidget* IntersectionWindow::buildMethod() {
  auto* frame = new QGroupBox(QString::fromUtf8("交会方法"), this);
  frame->setObjectName("Frame_ff");
  auto* row = new QHBoxLayout(frame);
  byAngles_ = new QRadioButton(QString::fromUtf8("角度交会"), frame);
  byAngles_->setObjectName("Option_jd");
  byDistances_ = new QRadioButton(QString::fromUtf8("边长交会"), frame);
  byDistances_->setObjectName("Option_bc");
  right_ = new QCheckBox(QString::fromUtf8("右侧"), frame);
  right_->setObjectName("Check_yc");
  right_->setToolTip(QString::fromUtf8("P点位于A→B方向的右侧"));
  byAngles_->setChecked(true);
  for (QWidget* w : {static_cast<QWidget*>(byAngles_), static_cast<QWidget*>(byDistances_),
                     static_cast<QWidget*>(right_)})
    row->addWidget(w);
  connect(byAngles_, &QRadioButton::toggled, this, &IntersectionWindow::methodChanged);
  connect(right_, &QCheckBox::toggled, this, &ToolWindow::clearResults);
  return frame;
}

void IntersectionWindow::buildFigures() {
  QGridLayout* grid = addFigures();
  a_ = addPoint(grid, 0, "A");
  b_ = addPoint(grid, 1, "B");
  alphaBox_ = addBox(grid, 2, 0, {"Text_alpha", "α（A点内角）", kAngleTip}, false);
  betaBox_ = addBox(grid, 2, 2, {"Text_beta", "β（B点内角）", kAngleTip}, false);
  distanceABox_ = addBox(grid, 3, 0, {"Text_SA", "SA（A至P边长）", "边长以米为单位"}, false);
  distanceBBox_ = addBox(grid, 3, 2, {"Text_SB", "SB（B至P边长）", "边长以米为单位"}, false);
  result_ = addResultPoint(grid, 4, "交会点");
  angleBox_ = addBox(grid, 5, 0, {"Text_jhj", "交会角γ", "P点处两方向的夹角"}, true);
}

bool IntersectionWindow::byDistances() const { return byDistances_->isChecked(); }

void IntersectionWindow::methodChanged() {
  const bool distances = byDistances();
  for (QLineEdit* box : {alphaBox_, betaBox_}) box->setEnabled(!distances);
  for (QLineEdit* box : {distanceABox_, distanceBBox_}) box->setEnabled(distances);
  right_->setEnabled(distances);
  clearResults();
}

void IntersectionWindow::compute() {
  const std::vector<std::string> figures =
      byDistances() ? Texts({a_.x, a_.y, b_.x, b_.y, distanceABox_, distanceBBox_})
                    : Texts({a_.x, a_.y, b_.x, b_.y, alphaBox_, betaBox_});
  const cogo::intersection::Result r = byDistances() ? cogo::intersection::ByDistances(figures, right_->isChecked())
                                                     : cogo::intersection::ByAngles(figures);
  if (refused(r.refusal)) return;
  showResults({{result_.x, r.x}, {result_.y, r.y}, {angleBox_, r.angleText}});
  showFigure(exporting::IntersectionFigure(byDistances() ? "边长交会" : "前方交会", figures, r));
  warn(r.warning);
}

}  // namespace korvane::ui
