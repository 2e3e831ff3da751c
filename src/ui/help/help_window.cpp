#include "ui/help/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/shell/platform.h"

namespace korvane::ui {

namespace {

const char* const kHelpResource = ":/help/korvane_help.html";

QPushButton* AddButton(QHBoxLayout* row, QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(name);
  row->addWidget(button);
  return button;
}

}  // namespace

QUrl HelpDocumentUrl() { return QUrl(QString("qrc") + kHelpResource); }

bool HelpDocumentAvailable() { return QFile::exists(kHelpResource); }

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("helpWindow");
  setWindowTitle(QString::fromUtf8("Korvane 帮助"));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  QPushButton* contents = AddButton(row, this, "helpContents", "目录");
  QPushButton* back = AddButton(row, this, "helpBack", "后退");
  QPushButton* forward = AddButton(row, this, "helpForward", "前进");
  row->addStretch();
  QPushButton* close = AddButton(row, this, "helpClose", "关闭");
  layout->addLayout(row);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName("helpBrowser");
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(false);
  browser_->setSource(HelpDocumentUrl());
  layout->addWidget(browser_, 1);

  back->setEnabled(false);
  forward->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(contents, &QPushButton::clicked, this, [this] { showSection("contents"); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  FitToScreen(this, {900, 680});
}

void HelpWindow::showSection(const QString& anchor) {
  QUrl url = HelpDocumentUrl();
  if (!anchor.isEmpty()) url.setFragment(anchor);
  browser_->setSource(url);
}

}  // namespace korvane::ui
