#pragma once
// 前方交会 (qfjh): P from A and B by the two angles at A and B, or by the two
// distances with P on the left of A→B unless 右侧 is ticked.
#include "ui/cogo/plane_tool_window.h"

class QCheckBox;
class QRadioButton;

namespace korvane::ui {

class IntersectionWindow : public PlaneToolWindow {
  Q_OBJECT
 public:
  IntersectionWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent = nullptr);
  void compute() override;
  bool byDistances() const;

 private:
  QWidget* buildMethod();
  QWidget* buildFigures();
  void methodChanged();

  QRadioButton* byAngles_ = nullptr;
  QRadioButton* byDistances_ = nullptr;
  QCheckBox* right_ = nullptr;
};

}  // namespace korvane::ui
