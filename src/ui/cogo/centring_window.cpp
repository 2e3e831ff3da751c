#include "ui/cogo/centring_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "cogo/centring.h"

namespace korvane::ui {
namespace {

const char* const kAngle = "角度输入格式例：45度30分15秒则输入：45.3015";
const char* const kFormulas =
    "测站归心改正  c″ = ρ″·e·sinθ / S        照准点归心改正  r″ = ρ″·e₁·sinθ₁ / S\n"
    "严密计算：c = arcsin(e·sinθ/S)，r = arcsin(e₁·sinθ₁/S)，两端均偏心时\n"
    "总改正 δ = arcsin((e·sinθ + e₁·sinθ₁)/S)；改正后方向 = 观测方向 + δ。\n"
    "θ的量法：在偏心点上，自偏心点至其标石中心的方向起，顺时针量至视线方向"
    "（测站偏心：至照准点；照准点偏心：至测站）。\n"
    "S为两标石中心间的距离，e、e₁为偏心距（米）；对中的一端偏心距与偏心角留空。";

}  // namespace

CentringWindow::CentringWindow(MessageBoxes& messages, QWidget* parent)
    : PlaneToolWindow(messages, parent, "gxgz", "归心改正") {
  auto* layout = new QVBoxLayout(this);
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  addBox(grid, 0, 0, "Text_S", "边长S", "两标石中心间的距离（米）", false);
  addBox(grid, 0, 2, "Text_M", "观测方向", "可不填：填入后给出改正后的方向", false);
  addBox(grid, 1, 0, "Text_e", "测站偏心距e", "仪器中心至测站标石中心的距离（米）", false);
  addBox(grid, 1, 2, "Text_theta", "测站偏心角θ", kAngle, false);
  addBox(grid, 2, 0, "Text_e1", "照准点偏心距e₁", "照准标志中心至照准点标石中心的距离（米）", false);
  addBox(grid, 2, 2, "Text_theta1", "照准点偏心角θ₁", kAngle, false);
  addBox(grid, 3, 0, "Text_c", "测站归心改正c″", "秒", true);
  addBox(grid, 3, 2, "Text_r", "照准点归心改正r″", "秒", true);
  addBox(grid, 4, 0, "Text_zgz", "总改正δ″", "秒", true);
  addBox(grid, 4, 2, "Text_gzfx", "改正后方向", "角度输出格式例：45.312074为45度31分20.74秒", true);
  layout->addWidget(page);
  auto* formulas = new QLabel(QString::fromUtf8(kFormulas), this);
  formulas->setObjectName("Label_gs");
  formulas->setWordWrap(true);
  layout->addWidget(formulas);
  layout->addWidget(buildButtons());
}

void CentringWindow::compute() {
  const cogo::centring::Result r =
      cogo::centring::Correct(texts({"Text_S", "Text_e", "Text_theta", "Text_e1", "Text_theta1", "Text_M"}));
  if (refused(r.refusal)) return;
  showResults({{"Text_c", r.stationText},
               {"Text_r", r.targetText},
               {"Text_zgz", r.totalText},
               {"Text_gzfx", r.correctedDms}});
}

}  // namespace korvane::ui
