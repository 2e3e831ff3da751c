#pragma once
// The goodbye window (form_zaijian): a typed-out greeting, scrolling credits
// in changing colours, and a click anywhere ends the program.
#include <QWidget>

#include "ui/shell/greeting_animation.h"

class QLabel;
class QLineEdit;
class QTimer;

namespace korvane::ui {

class GoodbyeWindow : public QWidget {
  Q_OBJECT
 public:
  explicit GoodbyeWindow(QWidget* parent = nullptr);

  // One tick of each of the three timers.
  void tickGreeting();
  void tickCreditsColour();
  void tickScroll();

  QLabel* greetingLabel() const { return greeting_; }
  QLabel* creditsLabel() const { return credits_; }
  int guideTop() const { return guideTop_; }
  int guideBottom() const { return guideBottom_; }

 signals:
  // The user clicked the window or closed it: the program ends.
  void endRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  GreetingAnimation greetingAnimation_;
  QLabel* greeting_;
  QLabel* credits_;
  QWidget* creditsArea_;
  QLineEdit* note_;
  QTimer* greetingTimer_;
  QTimer* colourTimer_;
  QTimer* scrollTimer_;
  int red_ = 0, green_ = 0, blue_ = 0;
  double creditsTop_ = 0;
  int guideTop_ = 0;
  int guideBottom_ = 0;
  bool ended_ = false;
};

}  // namespace korvane::ui
