#include "ui/cogo/centring_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "cogo/centring.h"

namespace korvane::ui {

CentringWindow::CentringWindow(MessageBoxes& messages, QWidget* parent)
    : ToolWindow(messages, parent, "gxgz", "归心改正") {
  QGridLayout* grid = addFigures();
  distanceBox_ = addBox(grid, 0, 0, {"Text_S", "边长S", "两标石中心间的距离（米）"}, false);
  directionBox_ = addBox(grid, 0, 2, {"Text_M", "观测方向", "可不填：填入后给出改正后的方向"}, false);
  stationOffsetBox_ = addBox(grid, 1, 0, {"Text_e", "测站偏心距e", "仪器中心至测站标石中心的距离（米）"}, false);
  stationAngleBox_ = addBox(grid, 1, 2, {"Text_theta", "测站偏心角θ", kAngleTip}, false);
  targetOffsetBox_ =
      addBox(grid, 2, 0, {"Text_e1", "照准点偏心距e₁", "照准标志中心至照准点标石中心的距离（米）"}, false);
  targetAngleBox_ = addBox(grid, 2, 2, {"Text_theta1", "照准点偏心角θ₁", kAngleTip}, false);
  stationCorrectionBox_ = addBox(grid, 3, 0, {"Text_c", "测站归心改正c″", "秒"}, true);
  targetCorrectionBox_ = addBox(grid, 3, 2, {"Text_r", "照准点归心改正r″", "秒"}, true);
  totalCorrectionBox_ = addBox(grid, 4, 0, {"Text_zgz", "总改正δ″", "秒"}, true);
  correctedDirectionBox_ =
      addBox(grid, 4, 2, {"Text_gzfx", "改正后方向", "角度输出格式例：45.312074为45度31分20.74秒"}, true);
  finish("Label_gs",
         "测站归心改正  c″ = ρ″·e·sinθ / S        照准点归心改正  r″ = ρ″·e₁·sinθ₁ / S\n"
         "严密计算：c = arcsin(e·sinθ/S)，r = arcsin(e₁·sinθ₁/S)，两端均偏心时\n"
         "总改正 δ = arcsin((e·sinθ + e₁·sinθ₁)/S)；改正后方向 = 观测方向 + δ。\n"
         "θ的量法：在偏心点上，自偏心点至其标石中心的方向起，顺时针量至视线方向"
         "（测站偏心：至照准点；照准点偏心：至测站）。\n"
         "S为两标石中心间的距离，e、e₁为偏心距（米）；对中的一端偏心距与偏心角留空。");
}

void CentringWindow::compute() {
  const cogo::centring::Result r =
      cogo::centring::Correct(Texts({distanceBox_, stationOffsetBox_, stationAngleBox_, targetOffsetBox_,
                                     targetAngleBox_, directionBox_}));
  if (refused(r.refusal)) return;
  showResults({{stationCorrectionBox_, r.stationText},
               {targetCorrectionBox_, r.targetText},
               {totalCorrectionBox_, r.totalText},
               {correctedDirectionBox_, r.correctedDms}});
}

}  // namespace korvane::ui
