#include "ui/cogo/one_way_height_window.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/survey_constants.h"
#include "cogo/one_way_height.h"
#include "core/typed_values.h"
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
    {"Text_S", "距离（米）", "斜距或平距，按上面的选择"},
    {"Text_A", "竖直角/天顶距", "度.分秒，按上面的选择；竖直角仰角为正"},
    {"Text_i", "仪器高i（米）", "测站的仪器高"},
    {"Text_v", "目标高v（米）", "目标（棱镜）高"},
    {"Text_k", "折光系数k", "空为0.14"},
    {"Text_HA", "测站高程HA（米）", "可空：有则算出目标点高程"},
};
const BoxSpec kOutputs[] = {
    {"Text_D", "平距D（米）", "水平距离"},
    {"Text_dh", "未改正高差（米）", "D·tanα 或 S·sinα"},
    {"Text_f", "球气差改正f（米）", "(1 − k)·D²/(2R)，R = 6371公里"},
    {"Text_h", "高差h（米）", "未改正高差 + f + i − v"},
    {"Text_HB", "目标点高程HB（米）", "HA + h"},
};

}  // namespace

OneWayHeightWindow::OneWayHeightWindow(MessageBoxes& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(messages) {
  setObjectName("dxgcjsgz");
  setWindowTitle(QString::fromUtf8("单向高程计算改正"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buildKinds());
  auto* grid = new QGridLayout;
  int row = 0;
  for (const BoxSpec& b : kInputs) {
    QLineEdit* box = AddBox(grid, row++, 0, b.name, b.caption, b.tooltip, false);
    connect(box, &QLineEdit::returnPressed, this, &OneWayHeightWindow::compute);
    if (std::string(b.name) == "Text_k")
      box->setText(QString::fromStdString(FixedDecimals(kRefractionCoefficient, 2)));
  }
  row = 0;
  for (const BoxSpec& b : kOutputs) AddBox(grid, row++, 2, b.name, b.caption, b.tooltip, true);
  layout->addLayout(grid);
  auto* formulas = new QLabel(QString::fromUtf8(
      "h = D·tanα + (1 − k)·D²/(2R) + i − v（平距），h = S·sinα + (1 − k)·D²/(2R) + i − v（斜距，D = S·cosα），"
      "R = 6371公里。导线平差的单向边用同一改正（k = 0.14）。"),
      this);
  formulas->setObjectName("Label_formula");
  formulas->setWordWrap(true);
  layout->addWidget(formulas);
  layout->addWidget(ButtonRow(this, {{"js", "计算", [this] { compute(); }},
                                           {"qbqk", "全部清空", [this] { clearAll(); }},
                                           {"tczcx", "退出子程序", [this] { emit leaveToolRequested(); }}}));
}

QWidget* OneWayHeightWindow::buildKinds() {
  auto* frame = new QGroupBox(QString::fromUtf8("观测值"), this);
  auto* row = new QHBoxLayout(frame);
  auto add = [&](const char* name, const char* caption, QButtonGroup* group) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), frame);
    radio->setObjectName(name);
    group->addButton(radio);
    row->addWidget(radio);
    return radio;
  };
  auto* distances = new QButtonGroup(frame);
  add("Option_xj", "斜距", distances)->setChecked(true);
  add("Option_pj", "平距", distances);
  row->addSpacing(30);
  auto* angles = new QButtonGroup(frame);
  add("Option_szj", "竖直角", angles)->setChecked(true);
  add("Option_tdj", "天顶距", angles);
  row->addStretch();
  return frame;
}

void OneWayHeightWindow::compute() {
  cogo::height::OneWayInput in;
  in.distanceKind = findChild<QRadioButton*>("Option_pj")->isChecked() ? cogo::height::DistanceKind::Horizontal
                                                                        : cogo::height::DistanceKind::Slope;
  in.angleKind = findChild<QRadioButton*>("Option_tdj")->isChecked() ? cogo::height::AngleKind::Zenith
                                                                     : cogo::height::AngleKind::Vertical;
  in.distance = BoxText(this, "Text_S");
  in.angle = BoxText(this, "Text_A");
  in.instrument = BoxText(this, "Text_i");
  in.target = BoxText(this, "Text_v");
  in.refraction = BoxText(this, "Text_k");
  in.stationHeight = BoxText(this, "Text_HA");
  const cogo::height::OneWayResult r = cogo::height::ComputeOneWayHeight(in);
  if (r.refusal) {
    messages_.inform(this, *r.refusal);
    return;
  }
  const std::string texts[] = {r.horizontalText, r.elevationText, r.correctionText, r.heightText,
                               r.targetHeightText};
  for (std::size_t i = 0; i < std::size(kOutputs); ++i) SetBox(this, kOutputs[i].name, texts[i]);
}

void OneWayHeightWindow::clearAll() {
  for (const BoxSpec& b : kInputs) ClearBoxes(this, {b.name});
  for (const BoxSpec& b : kOutputs) ClearBoxes(this, {b.name});
}

}  // namespace korvane::ui
