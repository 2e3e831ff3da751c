#pragma once
// The one-way trigonometric height window (dxgcjsgz): slope or horizontal
// distance, vertical or zenith angle, the (1 − k)·D²/(2R) correction shown
// beside the traverses' fixed 0.13 m/km².
#include <vector>

#include "ui/widgets/tool_window.h"

class QRadioButton;

namespace korvane::ui {

class OneWayHeightWindow : public ToolWindow {
  Q_OBJECT
 public:
  explicit OneWayHeightWindow(MessageBoxes& messages, QWidget* parent = nullptr);
  void compute() override;

 private:
  QWidget* buildKinds();

  QRadioButton* horizontalDistance_ = nullptr;
  QRadioButton* zenithAngle_ = nullptr;
  // The boxes, in the order of these lists.
  enum Input { Distance, Angle, InstrumentHeight, TargetHeight, Refraction, StationHeight };
  enum Result { HorizontalDistance, UncorrectedDifference, Correction, HeightDifference, TargetElevation };
  std::vector<QLineEdit*> inputs_;
  std::vector<QLineEdit*> results_;
};

}  // namespace korvane::ui
