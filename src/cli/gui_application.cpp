#include "gui_application.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <iostream>

namespace korvane::cli {
namespace {

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << "\n";
}

}  // namespace

std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
  qInstallMessageHandler(QuietQtMessages);
  if (QCoreApplication::instance() != nullptr) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "korvane-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace korvane::cli
