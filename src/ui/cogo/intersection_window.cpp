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
namespace {

const char* const kCoordinate = "坐标以米为单位，X为纵坐标（北），Y为横坐标（东）";
const char* const kAngle = "角度输入格式例：45度30分15秒则输入：45.3015";
const char* const kNote =
    "A、B、P按逆时针方向编号：P点位于A→B方向的左侧（边长交会可选右侧）。\n"
    "α为A点内角∠BAP，β为B点内角∠ABP；交会角γ小于30°或大于150°时提醒，仍计算。";

}  // namespace

IntersectionWindow::IntersectionWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent)
    : PlaneToolWindow(messages, parent, "qfjh", "前方交会") {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buildMethod());
  layout->addWidget(buildFigures());
  auto* note = new QLabel(QString::fromUtf8(kNote), this);
  note->setObjectName("Label_sm");
  layout->addWidget(note);
  offerExports(files);
  layout->addWidget(buildButtons());
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
  connect(right_, &QCheckBox::toggled, this, &PlaneToolWindow::clearResults);
  return frame;
}

QWidget* IntersectionWindow::buildFigures() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  addBox(grid, 0, 0, "Text_XA", "XA", kCoordinate, false);
  addBox(grid, 0, 2, "Text_YA", "YA", kCoordinate, false);
  addBox(grid, 1, 0, "Text_XB", "XB", kCoordinate, false);
  addBox(grid, 1, 2, "Text_YB", "YB", kCoordinate, false);
  addBox(grid, 2, 0, "Text_alpha", "α（A点内角）", kAngle, false);
  addBox(grid, 2, 2, "Text_beta", "β（B点内角）", kAngle, false);
  addBox(grid, 3, 0, "Text_SA", "SA（A至P边长）", "边长以米为单位", false);
  addBox(grid, 3, 2, "Text_SB", "SB（B至P边长）", "边长以米为单位", false);
  addBox(grid, 4, 0, "Text_XP", "交会点XP", "结果：P点纵坐标（米）", true);
  addBox(grid, 4, 2, "Text_YP", "交会点YP", "结果：P点横坐标（米）", true);
  addBox(grid, 5, 0, "Text_jhj", "交会角γ", "P点处两方向的夹角", true);
  return page;
}

bool IntersectionWindow::byDistances() const { return byDistances_->isChecked(); }

void IntersectionWindow::methodChanged() {
  const bool distances = byDistances();
  for (const char* name : {"Text_alpha", "Text_beta"}) box(name)->setEnabled(!distances);
  for (const char* name : {"Text_SA", "Text_SB"}) box(name)->setEnabled(distances);
  right_->setEnabled(distances);
  clearResults();
}

void IntersectionWindow::compute() {
  const std::vector<std::string> figures =
      byDistances() ? texts({"Text_XA", "Text_YA", "Text_XB", "Text_YB", "Text_SA", "Text_SB"})
                    : texts({"Text_XA", "Text_YA", "Text_XB", "Text_YB", "Text_alpha", "Text_beta"});
  const cogo::intersection::Result r = byDistances() ? cogo::intersection::ByDistances(figures, right_->isChecked())
                                                     : cogo::intersection::ByAngles(figures);
  if (refused(r.refusal)) return;
  showResults({{"Text_XP", r.x}, {"Text_YP", r.y}, {"Text_jhj", r.angleText}});
  showFigure(exporting::IntersectionFigure(byDistances() ? "边长交会" : "前方交会", figures, r));
  warn(r.warning);
}

}  // namespace korvane::ui
