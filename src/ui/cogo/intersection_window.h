#pragma once
// 前方交会 (qfjh): P from A and B by the two angles at A and B, or by the two
// distances with P on the left of A→B unless 右侧 is ticked.
#include "ui/widgets/tool_window.h"

class QCheckBox;
class QRadioButton;

namespace korvane::ui {

class IntersectionWindow : public ToolWindow {
  Q_OBJECT
 public:
  IntersectionWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent = nullptr);
  void compute() override;
  bool byDistances() const;

 private:
  QWidget* buildMethod();
  void buildFigures();
  void methodChanged();

  QRadioButton* byAngles_ = nullptr;
  QRadioButton* byDistances_ = nullptr;
  QCheckBox* right_ = nullptr;
  // The known points, the angles at A and B, the distances from A and B.
  PointBoxes a_, b_;
  QLineEdit *alphaBox_{}, *betaBox_{}, *distanceABox_{}, *distanceBBox_{};
  // The point P and the intersection angle at P.
  PointBoxes result_;
  QLineEdit *angleBox_{};
};

}  // namespace korvane::ui
