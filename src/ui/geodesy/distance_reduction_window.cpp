#include "ui/geodesy/distance_reduction_window.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "geodesy/distance_reduction.h"

namespace korvane::ui {

DistanceReductionWindow::DistanceReductionWindow(MessageBoxes& messages, QWidget* parent)
    : ToolWindow(messages, parent, "bctygz", "边长投影改正") {
  QGridLayout* grid = addFigures();
  inputs_ = addInputs(grid, {{"Text_S", "水平距离S（米）", "测距边的水平距离"},
                             {"Text_Hm", "平均高程Hm（米）", "测距边两端的平均高程（大地高）"},
                             {"Text_H0", "投影面高程H0（米）", "归算到的投影面的高程；空为0（参考椭球面）"},
                             {"Text_Ym", "平均横坐标Y（米）", "测距边中点的Y坐标，含500公里，可带带号"},
                             {"Text_R", "地球半径R（公里）", "空为6371.27公里（与导线计算的投影改正相同）"}});
  results_ = addResults(grid, {{"Text_ym", "ym（米）", "离中央子午线的距离：Y − 500公里（去掉带号）"},
                               {"Text_dS1", "ΔS1（毫米）", "归算到投影面的改正 −S·(Hm − H0)/R"},
                               {"Text_S1", "S1（米）", "投影面上的距离 S + ΔS1"},
                               {"Text_dS2", "ΔS2（毫米）", "投影到高斯平面的改正 S·ym²/(2R²)"},
                               {"Text_Sp", "高斯平面距离（米）", "S + ΔS1 + ΔS2"},
                               {"Text_K1", "投影面比例 K1", "1 − (Hm − H0)/R"},
                               {"Text_K2", "高斯投影比例 K2", "1 + ym²/(2R²)"},
                               {"Text_K", "综合比例 K", "1 − (Hm − H0)/R + ym²/(2R²)：高斯平面距离 = K·S"}});
  finish("Label_formula",
         "ΔS1 = −S·(Hm − H0)/R，ΔS2 = S·ym²/(2R²)，ym = Y − 500公里（不含带号）；\n"
         "高斯平面距离 = S + ΔS1 + ΔS2 = K·S。Δy²/(24R²)项略去（1公里边小于0.002毫米）。");
}

void DistanceReductionWindow::compute() {
  const std::vector<std::string> typed = Texts({inputs_[0], inputs_[1], inputs_[2], inputs_[3], inputs_[4]});
  const geodesy::DistanceResult r = geodesy::ReduceDistance({typed[0], typed[1], typed[2], typed[3], typed[4]});
  if (refused(r.refusal)) return;
  const std::string texts[] = {r.ymText, r.surfaceCorrectionText, r.surfaceDistanceText, r.planeCorrectionText,
                               r.planeDistanceText, r.surfaceFactorText, r.planeFactorText, r.factorText};
  for (std::size_t i = 0; i < results_.size(); ++i) results_[i]->setText(QString::fromStdString(texts[i]));
}

}  // namespace korvane::ui
