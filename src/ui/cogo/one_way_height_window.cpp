#include "ui/cogo/one_way_height_window.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "cogo/one_way_height.h"
#include "core/survey_constants.h"
#include "core/typed_values.h"

namespace korvane::ui {

OneWayHeightWindow::OneWayHeightWindow(MessageBoxes& messages, QWidget* parent)
    : ToolWindow(messages, parent, "dxgcjsgz", "单向高程计算改正") {
  column()->addWidget(buildKinds());
  QGridLayout* grid = addFigures();
  inputs_ = addInputs(grid, {{"Text_S", "距离（米）", "斜距或平距，按上面的选择"},
                             {"Text_A", "竖直角/天顶距", "度.分秒，按上面的选择；竖直角仰角为正"},
                             {"Text_i", "仪器高i（米）", "测站的仪器高"},
                             {"Text_v", "目标高v（米）", "目标（棱镜）高"},
                             {"Text_k", "折光系数k", "空为0.14"},
                             {"Text_HA", "测站高程HA（米）", "可空：有则算出目标点高程"}});
  inputs_[Refraction]->setText(QString::fromStdString(FixedDecimals(kRefractionCoefficient, 2)));
  results_ = addResults(grid, {{"Text_D", "平距D（米）", "水平距离"},
                               {"Text_dh", "未改正高差（米）", "D·tanα 或 S·sinα"},
                               {"Text_f", "球气差改正f（米）", "(1 − k)·D²/(2R)，R = 6371公里"},
                               {"Text_h", "高差h（米）", "未改正高差 + f + i − v"},
                               {"Text_HB", "目标点高程HB（米）", "HA + h"}});
  finish("Label_formula",
         "h = D·tanα + (1 − k)·D²/(2R) + i − v（平距），h = S·sinα + (1 − k)·D²/(2R) + i − v（斜距，D = S·cosα），"
         "R = 6371公里。导线平差的单向边用同一改正（k = 0.14）。");
}

QWidget* OneWayHeightWindow::buildKinds() {
  auto* frame = new QGroupBox(QString::fromUtf8("观测值"), this);
  auto* row = new QHBoxLayout(frame);
  auto add = [&](const char* name, const char* caption, QButtonGroup* group) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), frame);
    radio->setObjectName(name);
    group->addButton(radio);
    row->addWidget(radio);
    // Results of the other kind do not stay beside the choice.
    connect(radio, &QRadioButton::toggled, this, &ToolWindow::clearResults);
    return radio;
  };
  auto* distances = new QButtonGroup(frame);
  add("Option_xj", "斜距", distances)->setChecked(true);
  horizontalDistance_ = add("Option_pj", "平距", distances);
  row->addSpacing(30);
  auto* angles = new QButtonGroup(frame);
  add("Option_szj", "竖直角", angles)->setChecked(true);
  zenithAngle_ = add("Option_tdj", "天顶距", angles);
  row->addStretch();
  return frame;
}

void OneWayHeightWindow::compute() {
  cogo::height::OneWayInput in;
  in.distanceKind = horizontalDistance_->isChecked() ? cogo::height::DistanceKind::Horizontal
                                                     : cogo::height::DistanceKind::Slope;
  in.angleKind = zenithAngle_->isChecked() ? cogo::height::AngleKind::Zenith : cogo::height::AngleKind::Vertical;
  auto text = [this](Input box) { return inputs_[box]->text().toStdString(); };
  in.distance = text(Distance);
  in.angle = text(Angle);
  in.instrument = text(InstrumentHeight);
  in.target = text(TargetHeight);
  in.refraction = text(Refraction);
  in.stationHeight = text(StationHeight);
  const cogo::height::OneWayResult r = cogo::height::ComputeOneWayHeight(in);
  if (refused(r.refusal)) return;
  showResults({{results_[HorizontalDistance], r.horizontalText},
               {results_[UncorrectedDifference], r.elevationText},
               {results_[Correction], r.correctionText},
               {results_[HeightDifference], r.heightText},
               {results_[TargetElevation], r.targetHeightText}});
}

}  // namespace korvane::ui
