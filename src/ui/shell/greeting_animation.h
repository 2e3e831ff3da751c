#pragma once
// The typed-out greeting of the main and goodbye windows: on every tick the
// colour advances and one more character of the text is shown, from none to
// all, then again from none.
#include <QColor>
#include <QString>

namespace korvane::ui {

class GreetingAnimation {
 public:
  GreetingAnimation(QString text, int redStep, int greenStep, int blueStep);
  // Advances one tick; returns the text to show.
  QString tick();
  QColor color() const { return QColor(red_, green_, blue_); }
  const QString& fullText() const { return text_; }

 private:
  QString text_;
  int redStep_, greenStep_, blueStep_;
  int count_ = 0;
  int red_ = 0, green_ = 0, blue_ = 0;
};

// The window caption rotated left by one character.
QString RotateLeft(const QString& caption);

}  // namespace korvane::ui
