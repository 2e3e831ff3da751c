#pragma once
// 归心改正 (gxgz): the station and target centring corrections of one
// direction, with the formulas and the sense of θ written in the window.
#include "ui/widgets/tool_window.h"

namespace korvane::ui {

class CentringWindow : public ToolWindow {
  Q_OBJECT
 public:
  explicit CentringWindow(MessageBoxes& messages, QWidget* parent = nullptr);
  void compute() override;

 private:
  // The figures typed.
  QLineEdit *distanceBox_{}, *directionBox_{}, *stationOffsetBox_{}, *stationAngleBox_{}, *targetOffsetBox_{},
      *targetAngleBox_{};
  // The results.
  QLineEdit *stationCorrectionBox_{}, *targetCorrectionBox_{}, *totalCorrectionBox_{}, *correctedDirectionBox_{};
};

}  // namespace korvane::ui
