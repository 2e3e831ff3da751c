#pragma once
// 后方交会 (hfjh): the station P from three known points and the two angles
// observed at P, with the danger circle's radius and P's distance from it.
#include "ui/widgets/tool_window.h"

namespace korvane::ui {

class ResectionWindow : public ToolWindow {
  Q_OBJECT
 public:
  ResectionWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent = nullptr);
  void compute() override;

 private:
  // The known points and the two angles observed at P.
  PointBoxes a_, b_, c_;
  QLineEdit *alphaBox_{}, *betaBox_{};
  // The station P, the danger circle's radius and P's distance from it.
  PointBoxes result_;
  QLineEdit *radiusBox_{}, *dangerBox_{};
};

}  // namespace korvane::ui
