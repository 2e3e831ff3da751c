#pragma once
// The distance-reduction window (bctygz): a horizontal distance reduced to
// the reference (or projection) surface and to the Gauss–Krüger plane, with
// the formulas shown.
#include <vector>

#include "ui/widgets/tool_window.h"

namespace korvane::ui {

class DistanceReductionWindow : public ToolWindow {
  Q_OBJECT
 public:
  explicit DistanceReductionWindow(MessageBoxes& messages, QWidget* parent = nullptr);
  void compute() override;

 private:
  // The input boxes: distance, mean height, projection height, mean Y, earth
  // radius; the results in the order of the window.
  std::vector<QLineEdit*> inputs_;
  std::vector<QLineEdit*> results_;
};

}  // namespace korvane::ui
