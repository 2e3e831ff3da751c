#pragma once
// 后方交会 (hfjh): the station P from three known points and the two angles
// observed at P, with the danger circle's radius and P's distance from it.
#include "ui/cogo/plane_tool_window.h"

namespace korvane::ui {

class ResectionWindow : public PlaneToolWindow {
  Q_OBJECT
 public:
  ResectionWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent = nullptr);
  void compute() override;
};

}  // namespace korvane::ui
