#include "gui_application.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <iostream>

namespace korvane::cli {
namespace {

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString&) {
  // The toolkit's own texts are English: the user is told in Chinese.
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "korvane-cli: 图形库出错，图片可能无法生成\n";
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
