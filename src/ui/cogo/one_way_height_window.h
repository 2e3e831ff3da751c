#pragma once
// The one-way trigonometric height window (dxgcjsgz): slope or horizontal
// distance, vertical or zenith angle, the (1 − k)·D²/(2R) correction shown
// beside the traverses' fixed 0.13 m/km².
#include <QWidget>

namespace korvane::ui {

class MessageBoxes;

class OneWayHeightWindow : public QWidget {
  Q_OBJECT
 public:
  explicit OneWayHeightWindow(MessageBoxes& messages, QWidget* parent = nullptr);
  void compute();
  void clearAll();

 signals:
  void leaveToolRequested();

 private:
  QWidget* buildKinds();
  MessageBoxes& messages_;
};

}  // namespace korvane::ui
