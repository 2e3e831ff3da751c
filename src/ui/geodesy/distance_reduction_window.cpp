#include "ui/geodesy/distance_reduction_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "geodesy/distance_reduction.h"
#include "ui/widgets/tool_form.h"
#include "ui/shell/user_prompts.h"

namespace korvane::ui {
namespace {

struct BoxSpec {
  const char* name;
  const char* caption;
  const char* tooltip;
};
const BoxSpec kInputs[] = {
    {"Text_S", "水平距离S（米）", "测距边的水平距离"},
    {"Text_Hm", "平均高程Hm（米）", "测距边两端的平均高程（大地高）"},
    {"Text_H0", "投影面高程H0（米）", "归算到的投影面的高程；空为0（参考椭球面）"},
    {"Text_Ym", "平均横坐标Y（米）", "测距边中点的Y坐标，含500公里，可带带号"},
    {"Text_R", "地球半径R（公里）", "空为6371.27公里（与导线计算的投影改正相同）"},
};
const BoxSpec kOutputs[] = {
    {"Text_ym", "ym（米）", "离中央子午线的距离：Y − 500公里（去掉带号）"},
    {"Text_dS1", "ΔS1（毫米）", "归算到投影面的改正 −S·(Hm − H0)/R"},
    {"Text_S1", "S1（米）", "投影面上的距离 S + ΔS1"},
    {"Text_dS2", "ΔS2（毫米）", "投影到高斯平面的改正 S·ym²/(2R²)"},
    {"Text_Sp", "高斯平面距离（米）", "S + ΔS1 + ΔS2"},
    {"Text_K1", "投影面比例 K1", "1 − (Hm − H0)/R"},
    {"Text_K2", "高斯投影比例 K2", "1 + ym²/(2R²)"},
    {"Text_K", "综合比例 K", "1 − (Hm − H0)/R + ym²/(2R²)：高斯平面距离 = K·S"},
};

}  // namespace

DistanceReductionWindow::DistanceReductionWindow(MessageBoxes& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(messages) {
  setObjectName("bctygz");
  setWindowTitle(QString::fromUtf8("边长投影改正"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  int row = 0;
  for (const BoxSpec& b : kInputs) {
    QLineEdit* box = AddBox(grid, row++, 0, b.name, b.caption, b.tooltip, false);
    connect(box, &QLineEdit::returnPressed, this, &DistanceReductionWindow::compute);
  }
  row = 0;
  for (const BoxSpec& b : kOutputs) AddBox(grid, row++, 2, b.name, b.caption, b.tooltip, true);
  layout->addLayout(grid);
  auto* formulas = new QLabel(QString::fromUtf8(
      "ΔS1 = −S·(Hm − H0)/R，ΔS2 = S·ym²/(2R²)，ym = Y − 500公里（不含带号）；\n"
      "高斯平面距离 = S + ΔS1 + ΔS2 = K·S。Δy²/(24R²)项略去（1公里边小于0.002毫米）。"),
      this);
  formulas->setObjectName("Label_formula");
  layout->addWidget(formulas);
  layout->addWidget(ButtonRow(this, {{"js", "计算", [this] { compute(); }},
                                           {"qbqk", "全部清空", [this] { clearAll(); }},
                                           {"tczcx", "退出子程序", [this] { emit leaveToolRequested(); }}}));
}

void DistanceReductionWindow::compute() {
  const geodesy::DistanceResult r = geodesy::ReduceDistance(
      {BoxText(this, "Text_S"), BoxText(this, "Text_Hm"), BoxText(this, "Text_H0"),
       BoxText(this, "Text_Ym"), BoxText(this, "Text_R")});
  if (r.refusal) {
    messages_.inform(this, *r.refusal);
    return;
  }
  const std::string texts[] = {r.ymText, r.surfaceCorrectionText, r.surfaceDistanceText, r.planeCorrectionText,
                               r.planeDistanceText, r.surfaceFactorText, r.planeFactorText, r.factorText};
  for (std::size_t i = 0; i < std::size(kOutputs); ++i) SetBox(this, kOutputs[i].name, texts[i]);
}

void DistanceReductionWindow::clearAll() {
  for (const BoxSpec& b : kInputs) ClearBoxes(this, {b.name});
  for (const BoxSpec& b : kOutputs) ClearBoxes(this, {b.name});
}

}  // namespace korvane::ui
