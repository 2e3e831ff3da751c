#include "ui/traverse/welcome_banner.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include "ui/shell/platform.h"

namespace korvane::ui {
namespace {

const char* const kWelcomeText = "欢迎使用导线简易平差";

// The program's name spaced out at the right end of a wide caption.
QString InitialCaption() {
  const QString name = "Korvane";
  QString spaced;
  for (int i = 0; i < name.size(); ++i) {
    if (i > 0) spaced += ' ';
    spaced += name[i];
  }
  return QString(65, ' ') + spaced;
}

QTimer* HalfSecondTimer(QWidget* window, const char* name) {
  auto* timer = new QTimer(window);
  timer->setObjectName(name);
  timer->setInterval(500);
  return timer;
}

}  // namespace

WelcomeBanner::WelcomeBanner(QWidget* window)
    : window_(window),
      welcome_(new QLabel(window)),
      welcomeTimer_(HalfSecondTimer(window, "Timer1")),
      captionTimer_(HalfSecondTimer(window, "Timer2")),
      animation_(QString::fromUtf8(kWelcomeText), 70, 120, 60) {
  welcome_->setObjectName("Label2");
  welcome_->setFont(GreetingFont(24));
  welcome_->setAlignment(Qt::AlignCenter);
  welcome_->setMinimumHeight(54);
  welcome_->setText(QString::fromUtf8(kWelcomeText));
  QObject::connect(welcomeTimer_, &QTimer::timeout, window, [this] { tickWelcome(); });
  QObject::connect(captionTimer_, &QTimer::timeout, window, [this] { tickCaption(); });
}

void WelcomeBanner::start() {
  caption_ = InitialCaption();
  window_->setWindowTitle(caption_);
  welcome_->setText(QString());
  welcomeTimer_->start();
  captionTimer_->start();
}

void WelcomeBanner::stop() {
  welcomeTimer_->stop();
  captionTimer_->stop();
}

void WelcomeBanner::tickWelcome() {
  welcome_->setText(animation_.tick());
  QPalette pal = welcome_->palette();
  pal.setColor(QPalette::WindowText, animation_.color());
  welcome_->setPalette(pal);
}

void WelcomeBanner::tickCaption() {
  caption_ = RotateLeft(caption_);
  window_->setWindowTitle(caption_);
}

}  // namespace korvane::ui
