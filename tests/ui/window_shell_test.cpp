// The window shell, driven through the main window's menu: every entry opens
// its window, a second opening raises the same one, closing frees it (or, for
// the windows kept with their tables, the shell frees them with the main
// window), and every way out of the program asks about unsaved rows, makes
// the start-data file read-only again and gives up the single-instance lock.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QUuid>

#include "ui/shell/goodbye_window.h"
#include "ui/shell/platform.h"
#include "ui/shell/window_shell.h"
#include "ui_test_support.h"

using namespace korvane::testing;
using korvane::ui::SingleInstance;
using korvane::ui::WindowShell;

namespace {

int TopLevelCount() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
  return static_cast<int>(QApplication::topLevelWidgets().size());
}

// A main window as the program starts it: its own start-data folder and the
// single-instance lock, and one unsaved row in its grid when asked.
struct Program {
  QString key = "korvane-shell-test-" + QUuid::createUuid().toString(QUuid::Id128);
  std::unique_ptr<SingleInstance> instance = std::make_unique<SingleInstance>(key);
  QTemporaryDir dataDir;
  RecordingMessageBoxes messages;
  AnsweringFileDialogs files;
  int ends = 0;
  std::unique_ptr<MainWindow> window;

  Program() {
    MainWindowEnvironment env;
    env.messages = &messages;
    env.files = &files;
    env.dataDir = dataDir.path();
    env.programDir = dataDir.path();
    env.endProgram = [this] { ++ends; };
    env.instance = instance.get();
    window = std::make_unique<MainWindow>(env);
    window->startUp();
    window->show();
  }
  QAction* entry(const QString& name) const { return window->findChild<QAction*>(name); }
  bool startFileWritable() const {
    return QFileInfo(window->startFilePath()).permissions() & QFileDevice::WriteOwner;
  }
  bool lockFree() const { return SingleInstance(key).acquired(); }
  int unsavedQuestions() const { return messages.texts().count("观测数据尚未保存，是否保存？"); }
};

}  // namespace

class WindowShellTest : public QObject {
  Q_OBJECT
 private slots:
  void everyEntryOpensOneWindow_data();
  void everyEntryOpensOneWindow();
  void everyWayOutEndsCleanly_data();
  void everyWayOutEndsCleanly();
};

void WindowShellTest::everyEntryOpensOneWindow_data() {
  QTest::addColumn<QString>("entry");
  QTest::addColumn<QString>("window");
  Program program;
  const auto& routes = program.window->shell().routes();
  QVERIFY(routes.size() >= 18);
  for (const WindowShell::Route& route : routes) {
    const QString name = route.entry->objectName();
    QTest::newRow(qPrintable(name)) << name << route.window;
  }
}

void WindowShellTest::everyEntryOpensOneWindow() {
  QFETCH(QString, entry);
  QFETCH(QString, window);
  const int before = TopLevelCount();
  {
    Program program;
    WindowShell& shell = program.window->shell();
    const int withMain = TopLevelCount();
    QVERIFY(!shell.window(window));
    program.entry(entry)->trigger();
    QPointer<QWidget> opened = shell.window(window);
    QVERIFY(opened);
    QVERIFY(opened->isVisible());
    QVERIFY(opened->isWindow());
    const int withTool = TopLevelCount();
    QVERIFY(withTool > withMain);

    // Opening it again: the same window, raised, and nothing new.
    opened->showMinimized();
    program.entry(entry)->trigger();
    QCOMPARE(shell.window(window), opened.data());
    QVERIFY(opened->isVisible());
    QVERIFY(!opened->isMinimized());
    QCOMPARE(TopLevelCount(), withTool);

    if (window != "rigorous") {
      // Closed by its frame: gone, or kept hidden with its tables.
      const bool kept = !opened->testAttribute(Qt::WA_DeleteOnClose);
      opened->close();
      if (kept) {
        QCOMPARE(TopLevelCount(), withTool);
      } else {
        QVERIFY(TopLevelCount() <= withMain);
      }
      QCOMPARE(opened.isNull(), !kept);
      if (!kept) QVERIFY(!shell.window(window));
      QCOMPARE(program.ends, 0);
    }
  }
  // Whatever the shell kept goes with the main window.
  QCOMPARE(TopLevelCount(), before);
}

void WindowShellTest::everyWayOutEndsCleanly_data() {
  QTest::addColumn<QString>("way");
  QTest::addColumn<bool>("throughGoodbye");
  QTest::newRow("退出 command") << "tc" << true;
  QTest::newRow("main window's frame") << "frame" << true;
  QTest::newRow("weighted window closed") << "rigorous" << true;
  QTest::newRow("total station 退出") << "totalStation" << true;
  QTest::newRow("geodetic 退出主程序") << "geodetic" << false;
  QTest::newRow("calculator 退出") << "calculator" << false;
}

void WindowShellTest::everyWayOutEndsCleanly() {
  QFETCH(QString, way);
  QFETCH(bool, throughGoodbye);
  Program program;
  WindowShell& shell = program.window->shell();
  QVERIFY(program.startFileWritable());
  QVERIFY(!program.lockFree());
  program.window->observationGrid().setText(1, 1, "A");
  // First answer 取消: the program stays as it was.
  for (const auto answer : {Answer::Cancel, Answer::No}) {
    program.messages.threeWay = {answer};
    if (way == "tc") {
      program.window->findChild<QPushButton*>("tc")->click();
    } else if (way == "frame") {
      program.window->close();
    } else if (way == "rigorous") {
      program.entry("m_dandx")->trigger();
      shell.window("rigorous")->close();
    } else if (way == "totalStation") {
      program.entry("m_qzy")->trigger();
      shell.window("totalStation")->findChild<QPushButton*>("command_tc")->click();
    } else if (way == "geodetic") {
      program.entry("zs")->trigger();
      shell.window("geodetic")->findChild<QPushButton*>("tczhcx")->click();
    } else if (way == "calculator") {
      program.entry("m_kxjsq")->trigger();
      shell.window("calculator")->findChild<QAction*>("mnuExit")->trigger();
    }
    if (answer == Answer::Cancel) {
      QCOMPARE(program.unsavedQuestions(), 1);
      QCOMPARE(program.ends, 0);
      QVERIFY(program.startFileWritable());
      QVERIFY(!program.lockFree());
      QVERIFY(!program.window->goodbyeWindow() || !program.window->goodbyeWindow()->isVisible());
    }
  }
  QCOMPARE(program.unsavedQuestions(), 2);
  if (throughGoodbye) {
    GoodbyeWindow* goodbye = program.window->goodbyeWindow();
    QVERIFY(goodbye && goodbye->isVisible());
    QCOMPARE(program.ends, 0);
    QTest::mouseClick(goodbye, Qt::LeftButton);
  }
  QCOMPARE(program.ends, 1);
  QVERIFY(!program.startFileWritable());
  QVERIFY(program.lockFree());
}

QTEST_MAIN(WindowShellTest)
#include "window_shell_test.moc"
