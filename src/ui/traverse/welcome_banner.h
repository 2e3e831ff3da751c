#pragma once
// The main window's two animations: the greeting above the grid (Label2,
// typed out in changing colours by Timer1) and the program's name running
// through the window caption (Timer2).
#include <QString>

#include "ui/shell/greeting_animation.h"

class QLabel;
class QTimer;
class QWidget;

namespace korvane::ui {

class WelcomeBanner {
 public:
  explicit WelcomeBanner(QWidget* window);
  QLabel* label() const { return welcome_; }

  // The first caption and an empty greeting; both timers run.
  void start();
  void stop();
  // One tick of each timer.
  void tickWelcome();
  void tickCaption();

 private:
  QWidget* window_;
  QLabel* welcome_;
  QTimer* welcomeTimer_;
  QTimer* captionTimer_;
  GreetingAnimation animation_;
  QString caption_;
};

}  // namespace korvane::ui
