// Korvane: the desktop program for the simple adjustment of a single traverse.
#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "ui/shell/guarded_application.h"
#include "ui/traverse/main_window.h"
#include "ui/shell/platform.h"
#include "ui/shell/user_prompts.h"

namespace {

// Without a display the toolkit cannot start; say so plainly instead of
// aborting with the toolkit's own message.
bool DisplayAvailable() {
  const char* platformName = std::getenv("QT_QPA_PLATFORM");
  if (platformName && *platformName) return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!DisplayAvailable()) {
    std::fputs(
        "korvane：没有可用的图形显示（未设置 DISPLAY），窗口程序无法启动。\n"
        "korvane: no graphical display (DISPLAY is not set); the window program cannot start.\n"
        "Use korvane-cli to compute a traverse from the command line.\n",
        stderr);
    return 2;
  }

  korvane::ui::GuardedApplication app(argc, argv);
  QApplication::setApplicationName("Korvane");
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setFont(korvane::ui::UiFont(10));
  // The standard dialogs (file dialogs, message box buttons) in Chinese too.
  QTranslator standardDialogs;
  const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (standardDialogs.load("qtbase_zh_CN", translations)) {
    QApplication::installTranslator(&standardDialogs);
  } else {
    std::fprintf(stderr,
                 "korvane: Qt's Chinese translation qtbase_zh_CN was not found in %s; "
                 "standard dialogs show English (install qt6-translations-l10n).\n",
                 translations.toLocal8Bit().constData());
  }
  QApplication::setWindowIcon(korvane::ui::ProgramIcon());

  korvane::ui::QtMessageBoxes messages;
  korvane::ui::QtFileDialogs files;
  app.messages = &messages;

  korvane::ui::SingleInstance instance;
  if (!instance.acquired()) {
    std::fputs("korvane: 此程序已经在执行中！\n", stderr);
    messages.inform(nullptr, korvane::Message{"此程序已经在执行中！", "Korvane",
                                              korvane::MessageIcon::Warning});
    return 1;
  }

  korvane::ui::MainWindowEnvironment env;
  env.messages = &messages;
  env.files = &files;
  env.programDir = korvane::ui::ProgramDir();
  env.dataDir = korvane::ui::StartDataDir();
  env.endProgram = [] { QCoreApplication::exit(0); };
  env.instance = &instance;

  korvane::ui::MainWindow window(env);
  window.startUp();
  window.show();
  return app.exec();
}
