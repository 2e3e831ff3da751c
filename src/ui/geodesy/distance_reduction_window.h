#pragma once
// The distance-reduction window (bctygz): a horizontal distance reduced to
// the reference (or projection) surface and to the Gauss–Krüger plane, with
// the formulas shown.
#include <QWidget>

namespace korvane::ui {

class MessageBoxes;

class DistanceReductionWindow : public QWidget {
  Q_OBJECT
 public:
  explicit DistanceReductionWindow(MessageBoxes& messages, QWidget* parent = nullptr);
  void compute();
  void clearAll();

 signals:
  void leaveToolRequested();

 private:
  MessageBoxes& messages_;
};

}  // namespace korvane::ui
