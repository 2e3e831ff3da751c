#include "ui/shell/greeting_animation.h"

namespace korvane::ui {

GreetingAnimation::GreetingAnimation(QString text, int redStep, int greenStep, int blueStep)
    : text_(std::move(text)), redStep_(redStep), greenStep_(greenStep), blueStep_(blueStep) {}

QString GreetingAnimation::tick() {
  red_ = (red_ + redStep_) % 255;
  green_ = (green_ + greenStep_) % 255;
  blue_ = (blue_ + blueStep_) % 255;
  const QString shown = text_.left(count_);
  ++count_;
  if (count_ > text_.size()) count_ = 0;
  return shown;
}

QString RotateLeft(const QString& caption) {
  if (caption.isEmpty()) return caption;
  return caption.mid(1) + caption.left(1);
}

}  // namespace korvane::ui
