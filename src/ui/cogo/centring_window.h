#pragma once
// 归心改正 (gxgz): the station and target centring corrections of one
// direction, with the formulas and the sense of θ written in the window.
#include "ui/cogo/plane_tool_window.h"

namespace korvane::ui {

class CentringWindow : public PlaneToolWindow {
  Q_OBJECT
 public:
  explicit CentringWindow(MessageBoxes& messages, QWidget* parent = nullptr);
  void compute() override;
};

}  // namespace korvane::ui
