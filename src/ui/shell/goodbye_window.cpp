#include "ui/shell/goodbye_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include "ui/shell/platform.h"

namespace korvane::ui {

namespace {

// 20 twips at 96 dots per inch.
constexpr double kScrollStep = 20.0 * 96.0 / 1440.0;

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, colour);
  label->setPalette(pal);
}

}  // namespace

GoodbyeWindow::GoodbyeWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      greetingAnimation_(QString::fromUtf8("欢迎下次使用"), 70, 120, 60) {
  setObjectName("form_zaijian");
  setWindowTitle(QString::fromUtf8("再见"));
  setFont(UiFont(10));
  setFixedSize(560, 420);

  auto* name = new QLabel("Korvane", this);
  name->setObjectName("Label_cpm");
  name->setFont(GreetingFont(22));
  name->setAlignment(Qt::AlignCenter);
  name->setGeometry(0, 16, width(), 48);

  greeting_ = new QLabel(this);
  greeting_->setObjectName("Label_hyxc");
  greeting_->setFont(GreetingFont(26));
  greeting_->setAlignment(Qt::AlignCenter);
  greeting_->setGeometry(0, 70, width(), 60);

  // The credits scroll upward inside this area along an invisible guide
  // line from its lower end to its upper end.
  creditsArea_ = new QWidget(this);
  creditsArea_->setObjectName("Line1");
  creditsArea_->setGeometry(100, 140, width() - 200, 170);
  guideTop_ = 0;
  guideBottom_ = creditsArea_->height();

  credits_ = new QLabel(creditsArea_);
  credits_->setObjectName("Label_credits");
  credits_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  credits_->setText(QString::fromUtf8(
      "技术顾问：测绘工程教研组\r\n\r\n测    试：外业一组\r\n\r\n"
      "测    试：外业二组\r\n\r\n编    写：Korvane 开发组"));
  credits_->setGeometry(0, guideBottom_, creditsArea_->width(), 150);
  creditsTop_ = guideBottom_;

  auto* organisation = new QLabel(QString::fromUtf8("工程测量软件工作室"), this);
  organisation->setObjectName("Label_dw");
  organisation->setAlignment(Qt::AlignCenter);
  organisation->setGeometry(0, 318, width(), 28);

  note_ = new QLineEdit(QString::fromUtf8("单击窗口任意处退出程序"), this);
  note_->setObjectName("Text1");
  note_->setReadOnly(true);
  note_->setAlignment(Qt::AlignCenter);
  note_->setGeometry(140, 360, width() - 280, 30);

  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);

  greetingTimer_ = new QTimer(this);
  greetingTimer_->setInterval(500);
  connect(greetingTimer_, &QTimer::timeout, this, &GoodbyeWindow::tickGreeting);
  colourTimer_ = new QTimer(this);
  colourTimer_->setInterval(1100);
  connect(colourTimer_, &QTimer::timeout, this, &GoodbyeWindow::tickCreditsColour);
  scrollTimer_ = new QTimer(this);
  scrollTimer_->setInterval(75);
  connect(scrollTimer_, &QTimer::timeout, this, &GoodbyeWindow::tickScroll);
}

void GoodbyeWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  CentreOnScreen(this);
  greetingTimer_->start();
  colourTimer_->start();
  scrollTimer_->start();
}

void GoodbyeWindow::tickGreeting() {
  greeting_->setText(greetingAnimation_.tick());
  SetTextColour(greeting_, greetingAnimation_.color());
}

void GoodbyeWindow::tickCreditsColour() {
  red_ = (red_ + 87) % 255;
  green_ = (green_ + 100) % 255;
  blue_ = (blue_ + 69) % 255;
  SetTextColour(credits_, QColor(red_, green_, blue_));
}

void GoodbyeWindow::tickScroll() {
  creditsTop_ -= kScrollStep;
  if (creditsTop_ + credits_->height() < guideTop_) creditsTop_ = guideBottom_;
  credits_->move(credits_->x(), static_cast<int>(creditsTop_));
}

bool GoodbyeWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    if (!ended_) {
      ended_ = true;
      emit endRequested();
    }
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void GoodbyeWindow::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (!ended_) {
    ended_ = true;
    emit endRequested();
  }
}

void GoodbyeWindow::closeEvent(QCloseEvent* event) {
  // Closing it by the frame ends the program as a click does.
  QWidget::closeEvent(event);
  if (!ended_) {
    ended_ = true;
    emit endRequested();
  }
}

}  // namespace korvane::ui
