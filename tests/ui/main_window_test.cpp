// The main window's shell: start-up state, hover commands, menu, timers,
// help and About, the start-data file's lifecycle and the goodbye window.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QRadioButton>
#include <QtTest>

#include "ui/shell/goodbye_window.h"
#include "io/read_only.h"
#include "io/text_file.h"
#include "formats/traverse_file.h"
#include "ui/utilities/calculator_window.h"
#include "ui/geodesy/geodetic_window.h"
#include "ui/help/help_window.h"
#include "ui/traverse/rigorous_grid.h"
#include "ui/traverse/rigorous_window.h"
#include "ui/utilities/total_station_window.h"
#include "ui/shell/platform.h"
#include "ui/traverse/start_dialog.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::formats;
using namespace korvane::io;
using namespace korvane::ui;
using namespace korvane::testing;

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void startUpState();
  void menuBarInOrderWithGreyedEntries();
  void hoverShowsButtonOnlyForEnabledLabels();
  void computeCommandFollowsTheKindAfterStartData();
  void welcomeTypesItselfOutAndCaptionRotates();
  void helpAndAbout();
  void startFileIsPreparedAndLockedOnExit();
  void markerFileLeavesStartFileAlone();
  void goodbyeWindowAnimatesAndEndsOnClick();
  void secondInstanceIsRefused();
  void saveDataWritesTheTypedObservations();
  void everyWayOutAsksAboutUnsavedObservations();
};

void MainWindowTest::startUpState() {
  MainWindowHarness h;
  QCOMPARE(h.window->objectName(), QString("zhuchuangti"));
  for (const char* kind : {"fhdx", "bhdx", "zdx", "wdxdx"}) {
    QVERIFY(h.find<QRadioButton>(kind)->isEnabled());
  }
  QVERIFY(h.find<QRadioButton>("fhdx")->isChecked());
  QCOMPARE(h.find<QGroupBox>("Frame1")->title(), QString("     选择导线类型"));
  // Hover buttons hidden; labels carry 15 blanks before the command.
  for (const char* b : {"js", "js2", "bc", "tc", "Command_sc", "command_dk", "Command_tj",
                        "Command_back"}) {
    QVERIFY2(!h.button(b)->isVisible(), b);
  }
  QCOMPARE(h.label("Label3")->text(), QString("               计    算"));
  QCOMPARE(h.label("Label4")->text(), QString("               保存文本"));
  QCOMPARE(h.label("Label9")->text(), QString("               返    回"));
  QCOMPARE(h.button("tc")->text(), QString("退   出"));
  QCOMPARE(h.button("Command_back")->toolTip(), QString("计算后有效"));
  // Unavailable: open data, both compute commands, back.
  QVERIFY(!h.label("Label7")->isEnabled());
  QVERIFY(!h.label("Label3")->isEnabled());
  QVERIFY(!h.label("Label10")->isEnabled());
  QVERIFY(!h.label("Label9")->isEnabled());
  for (const char* l : {"Label4", "Label5", "Label6", "Label8"}) QVERIFY(h.label(l)->isEnabled());
  QVERIFY(h.window->findChild<QAction*>("mune_qssj")->isVisible());
  QVERIFY(h.grid().grid()->isVisible());
  QVERIFY(!h.find<QWidget>("RichTextBox1")->isVisible());
  QVERIFY(h.label("Label11")->text().startsWith("角度单位为：度.分秒"));
  QVERIFY(h.label("Label11")->text().contains("长度单位为：米"));
  QVERIFY(h.label("Label11")->text().endsWith("请输入观测数据："));
}

void MainWindowTest::menuBarInOrderWithGreyedEntries() {
  MainWindowHarness h;
  QStringList titles;
  for (QAction* a : h.window->menuBar()->actions()) titles << a->text();
  QCOMPARE(titles, QStringList({"导线严密平差", "水准网平差", "转换计算", "测量小工具",
                                "改正计算", "另类工具", "全站仪", "输入起始数据", "关于",
                                "帮助"}));
  auto entry = [&](const char* name) { return h.window->findChild<QAction*>(name); };
  QStringList tools;
  for (QAction* a : h.window->findChild<QMenu*>("m_clxgj")->actions()) tools << a->text();
  QCOMPARE(tools, QStringList({"科学计算器", "前方交会", "后方交会", "放样偏心程序",
                               "道路测量程序", "归心改正", "工程误差传递推导",
                               "工程测量常用规范"}));
  // Entries whose window is not part of the program stay greyed.
  for (const char* inert : {"m_fypxcx", "m_dlclcx", "m_gcwccdtd"}) {
    QVERIFY2(entry(inert) && !entry(inert)->isEnabled(), inert);
  }
  QCOMPARE(entry("zs")->shortcut(), QKeySequence("Ctrl+D"));
  QVERIFY(entry("zs")->isEnabled());
  QVERIFY(entry("m_kxjsq")->isEnabled());
  for (const char* live : {"m_jddx", "m_dxw", "m_dyfhh", "m_dybhw", "m_szjcw", "m_qfjh", "m_hfjh", "m_gxgz",
                           "m_gcclcygf", "m_bctygz", "m_zbtygz", "m_dxgcjsgz", "m_zbhs"}) {
    QVERIFY2(entry(live)->isEnabled(), live);
  }
  QCOMPARE(entry("m_zbhs")->shortcut(), QKeySequence("Ctrl+Z"));
  QVERIFY(entry("mune_qssj")->isEnabled());
  QVERIFY(entry("guyu")->isEnabled());
  QVERIFY(entry("mune_help")->isEnabled());
  // The menu entry opens the dialog and makes every kind selectable.
  entry("mune_qssj")->trigger();
  QVERIFY(h.window->startDialog()->isVisible());
}

void MainWindowTest::hoverShowsButtonOnlyForEnabledLabels() {
  MainWindowHarness h;
  // A disabled label gets no button.
  Enter(h.label("Label3"));
  QVERIFY(!h.button("js")->isVisible());
  QVERIFY(h.label("Label3")->isVisible());
  Enter(h.label("Label9"));
  QVERIFY(!h.button("Command_back")->isVisible());
  // An enabled label gives way to its button.
  Enter(h.label("Label4"));
  QVERIFY(h.button("bc")->isVisible());
  QVERIFY(!h.label("Label4")->isVisible());
  Enter(h.label("Label8"));
  QVERIFY(h.button("Command_tj")->isVisible());
  MoveOverBackground(*h.window);
  for (const char* b : {"bc", "Command_tj"}) QVERIFY(!h.button(b)->isVisible());
  QVERIFY(h.label("Label4")->isVisible());
  QVERIFY(h.label("Label8")->isVisible());
  // The compute place shows one label: the one for the selected kind.
  QVERIFY(h.label("Label3")->isVisible());
  QVERIFY(!h.label("Label10")->isVisible());

  // After start data for an open traverse, hovering its compute label hides
  // the other compute command.
  h.window->openStartDialog();
  h.find<QRadioButton>("zdx")->click();
  StartDialog* d = h.window->startDialog();
  for (int k = 1; k <= 5; ++k) d->field(k)->setText("1" + QString::number(k));
  d->confirm();
  MoveOverBackground(*h.window);
  QVERIFY(h.label("Label10")->isVisible());
  QVERIFY(!h.label("Label3")->isVisible());
  Enter(h.label("Label10"));
  QVERIFY(h.button("js2")->isVisible());
  QVERIFY(!h.button("js")->isVisible());
  QVERIFY(!h.label("Label3")->isVisible());
  Enter(h.label("Label7"));
  QVERIFY(h.button("command_dk")->isVisible());
}

void MainWindowTest::computeCommandFollowsTheKindAfterStartData() {
  MainWindowHarness h;
  h.window->openStartDialog();
  StartDialog* d = h.window->startDialog();
  for (int k = 1; k <= 10; ++k) d->field(k)->setText(QString::number(k));
  d->confirm();
  QVERIFY(h.label("Label3")->isEnabled());
  // Start data belong to their kind: after choosing another kind neither
  // compute command is offered, and pressing one computes nothing.
  h.window->findChild<QAction*>("mune_qssj")->trigger();
  h.find<QRadioButton>("zdx")->click();
  d->findChild<QPushButton*>("Command_tuichu")->click();
  for (const char* label : {"Label3", "Label10"}) QVERIFY2(!h.label(label)->isEnabled(), label);
  MoveOverBackground(*h.window);
  Enter(h.label("Label10"));
  QVERIFY(!h.button("js2")->isVisible());
  h.window->compute();
  QVERIFY(h.messages.shown.empty());
  QVERIFY(h.grid().grid()->isVisible());
  // Back on the confirmed kind its compute command returns.
  h.find<QRadioButton>("fhdx")->click();
  QVERIFY(h.label("Label3")->isEnabled());
  QVERIFY(h.label("Label3")->isVisible());
  QVERIFY(!h.label("Label10")->isVisible());
  // Confirming start data for the open kind offers the open kind's command.
  h.find<QRadioButton>("zdx")->click();
  h.window->openStartDialog();
  for (int k = 1; k <= 5; ++k) d->field(k)->setText(QString::number(k));
  d->confirm();
  QVERIFY(h.label("Label10")->isEnabled());
  QVERIFY(!h.label("Label3")->isVisible());
  // Before any start data were confirmed, choosing a kind offers nothing.
  MainWindowHarness fresh;
  fresh.find<QRadioButton>("wdxdx")->click();
  QVERIFY(!fresh.label("Label3")->isEnabled());
  QVERIFY(!fresh.label("Label10")->isEnabled());
}

void MainWindowTest::welcomeTypesItselfOutAndCaptionRotates() {
  MainWindowHarness h;
  QLabel* welcome = h.label("Label2");
  const QString full = "欢迎使用导线简易平差";
  QCOMPARE(full.size(), 10);
  for (int round = 0; round < 2; ++round) {
    for (int n = 0; n <= 10; ++n) {
      h.window->tickWelcome();
      QCOMPARE(welcome->text(), full.left(n));
    }
  }
  // Colours advance by 70, 120, 60 modulo 255 on every tick.
  int red = 0, green = 0, blue = 0;
  for (int i = 0; i < 22; ++i) {
    red = (red + 70) % 255;
    green = (green + 120) % 255;
    blue = (blue + 60) % 255;
  }
  QCOMPARE(welcome->palette().color(QPalette::WindowText), QColor(red, green, blue));

  const QString start = h.window->windowTitle();
  QCOMPARE(start, QString(65, ' ') + "K o r v a n e");
  h.window->tickCaption();
  QCOMPARE(h.window->windowTitle(), start.mid(1) + start.left(1));
  for (int i = 1; i < start.size(); ++i) h.window->tickCaption();
  QCOMPARE(h.window->windowTitle(), start);
}

void MainWindowTest::helpAndAbout() {
  MainWindowHarness h;
  // The manual is compiled in: 帮助 shows it, without a message.
  h.window->findChild<QAction*>("mune_help")->trigger();
  QVERIFY(h.messages.shown.empty());
  QVERIFY(h.window->findChild<HelpWindow*>()->isVisible());
  h.window->findChild<QAction*>("guyu")->trigger();
  QVERIFY(h.messages.aboutTitle.contains("Korvane"));
  QCOMPARE(h.messages.aboutText.count('\n') >= 2, true);
}

void MainWindowTest::startFileIsPreparedAndLockedOnExit() {
  QTemporaryDir dataDir;
  const QString path = dataDir.path() + "/text_qssj.ini";
  {
    MainWindowHarness h;
    // The harness uses its own folder; check its file.
    QVERIFY(QFileInfo::exists(h.window->startFilePath()));
    QCOMPARE(QFileInfo(h.window->startFilePath()).size(), 0);
    QVERIFY(!IsReadOnlyFile(h.window->startFilePath().toStdString()));
    h.window->close();
    QVERIFY(IsReadOnlyFile(h.window->startFilePath().toStdString()));
    QVERIFY(h.window->goodbyeWindow() && h.window->goodbyeWindow()->isVisible());
    QVERIFY(!h.window->isVisible());
    SetReadOnlyFile(h.window->startFilePath().toStdString(), false);
  }
  // A read-only file from the last run is writable again after start-up and
  // keeps its content.
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("abc");
  file.close();
  QVERIFY(SetReadOnlyFile(path.toStdString(), true));
  qputenv("KORVANE_DATA_DIR", dataDir.path().toUtf8());
  RecordingMessageBoxes messages;
  AnsweringFileDialogs files;
  MainWindowEnvironment env{&messages, &files, dataDir.path(), StartDataDir(), {}};
  qunsetenv("KORVANE_DATA_DIR");
  QCOMPARE(env.dataDir, QDir(dataDir.path()).absolutePath());
  MainWindow window(env);
  window.startUp();
  QVERIFY(!IsReadOnlyFile(path.toStdString()));
  QCOMPARE(QFileInfo(path).size(), 3);
}

void MainWindowTest::markerFileLeavesStartFileAlone() {
  QTemporaryDir dataDir;
  QFile marker(dataDir.path() + "/text_qssj.txt");
  QVERIFY(marker.open(QIODevice::WriteOnly));
  marker.close();
  RecordingMessageBoxes messages;
  AnsweringFileDialogs files;
  MainWindow window(MainWindowEnvironment{&messages, &files, dataDir.path(), dataDir.path(), {}});
  window.startUp();
  QVERIFY(!QFileInfo::exists(dataDir.path() + "/text_qssj.ini"));
}

void MainWindowTest::goodbyeWindowAnimatesAndEndsOnClick() {
  MainWindowHarness h;
  RunCommand(h, "Label5", "tc");
  GoodbyeWindow* bye = h.window->goodbyeWindow();
  QVERIFY(bye);
  QCOMPARE(bye->objectName(), QString("form_zaijian"));
  QVERIFY(bye->isVisible());
  QVERIFY(!h.window->isVisible());
  const QString greeting = "欢迎下次使用";
  for (int n = 0; n <= greeting.size(); ++n) {
    bye->tickGreeting();
    QCOMPARE(bye->greetingLabel()->text(), greeting.left(n));
  }
  bye->tickGreeting();
  QCOMPARE(bye->greetingLabel()->text(), QString());
  QVERIFY(bye->creditsLabel()->text().count("\r\n") >= 6);
  // The credits climb and come back to the lower end of the guide line.
  const int top = bye->creditsLabel()->y();
  bye->tickScroll();
  QVERIFY(bye->creditsLabel()->y() < top);
  bool wrapped = false;
  for (int i = 0; i < 2000 && !wrapped; ++i) {
    bye->tickScroll();
    wrapped = bye->creditsLabel()->y() == bye->guideBottom();
  }
  QVERIFY(wrapped);
  QCOMPARE(h.endRequests, 0);
  QTest::mouseClick(bye->creditsLabel(), Qt::LeftButton);
  QCOMPARE(h.endRequests, 1);
}

void MainWindowTest::secondInstanceIsRefused() {
  const QString key = QString("korvane-test-%1").arg(QCoreApplication::applicationPid());
  {
    SingleInstance first(key);
    QVERIFY(first.acquired());
    SingleInstance second(key);
    QVERIFY(!second.acquired());
    // The running program: it reports the refusal and does not start.
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KORVANE_INSTANCE_KEY", key);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataDir;
    env.insert("KORVANE_DATA_DIR", dataDir.path());
    program.setProcessEnvironment(env);
    program.start(KORVANE_PROGRAM, {});
    QVERIFY(program.waitForStarted());
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT(
        (errors += program.readAllStandardError(), QString::fromUtf8(errors).contains("此程序已经在执行中！")),
        10000);
    program.kill();
    program.waitForFinished();
  }
  SingleInstance again(key);
  QVERIFY(again.acquired());
}

namespace {

const QStringList kTypedStations = {"K1", "90.3", "125.36", "1.45", "1.5", "0.0215", "1.48", "1.52", "-0.0212",
                                    "K2", "180",  "0",      "0",    "0",   "0",      "0",    "0",    "0"};

int UnsavedQuestions(const RecordingMessageBoxes& messages) {
  int count = 0;
  for (const Message& m : messages.shown) {
    if (m.text != "观测数据尚未保存，是否保存？") continue;
    ++count;
    if (m.title != "提示" || m.icon != MessageIcon::Question) return -1;
  }
  return count;
}

}  // namespace

void MainWindowTest::saveDataWritesTheTypedObservations() {
  MainWindowHarness h;
  QCOMPARE(h.label("Label12")->text(), QString("               保存数据"));
  QCOMPARE(h.button("bcsj")->text(), QString("保存数据"));
  QVERIFY(h.label("Label12")->isEnabled());
  ObservationGrid& g = h.grid();
  // Typed with Tab from cell to cell; the last Tab opens a blank row.
  ClickCell(g, 1, 1);
  for (int i = 0; i < kTypedStations.size(); ++i) {
    QTest::keyClicks(g.editBox(), kTypedStations[i]);
    QTest::keyClick(g.editBox(), Qt::Key_Tab);
    // A table with an empty cell is refused before any file is asked for.
    if (i == 4) {
      RunCommand(h, "Label12", "bcsj");
      QCOMPARE(h.messages.lastText(), QString("第1行第6未输入数据！"));
      QCOMPARE(h.messages.lastTitle(), QString("请检查"));
      QVERIFY(h.files.requests.empty());
      ClickCell(g, 1, 6);
    }
  }
  QVERIFY(g.rows() > 3);
  QVERIFY(h.window->hasUnsavedRows());
  const QString path = h.dataDir.path() + "/typed";
  h.files.answers.push_back(path);
  RunCommand(h, "Label12", "bcsj");
  QCOMPARE(h.files.requests.size(), size_t(1));
  const FileDialogRequest& request = h.files.requests.back();
  QCOMPARE(request.title, QString("保存文件"));
  QCOMPARE(request.defaultSuffix, QString("DAT"));
  QCOMPARE(request.filters.first(), QString("数据文件(*.DAT *.dat)"));
  QFile saved(path + ".DAT");
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll().toStdString(), std::string("F,K2\r\nK1,90.3,125.36,1.45,1.5,0.0215,1.48,1.52,-0.0212\r\n"
                                                      "K2,180,0,0,0,0,0,0,0\r\n"));
  QVERIFY(!h.window->hasUnsavedRows());
  // The file opens again into the same cells, and a changed cell is unsaved.
  h.files.answers.push_back(path + ".DAT");
  h.window->openData();
  QCOMPARE(g.rows(), 3);
  QCOMPARE(g.text(2, 1), QString("K2"));
  QVERIFY(!h.window->hasUnsavedRows());
  g.setText(2, 3, "100");
  QVERIFY(h.window->hasUnsavedRows());
}

// Every way out of the program, and 打开数据, with unsaved observations in the
// main grid or the weighted window's table: 是 saves and goes on, 否 goes on,
// 取消 stays; with nothing unsaved nothing is asked.
void MainWindowTest::everyWayOutAsksAboutUnsavedObservations() {
  using Harness = MainWindowHarness;
  auto rigorous = [](Harness& h) { return h.window->shell().window<RigorousWindow>("rigorous"); };
  auto ended = [](Harness& h) {
    const bool bye = (h.window->goodbyeWindow() && h.window->goodbyeWindow()->isVisible()) || h.endRequests == 1;
    return bye && IsReadOnlyFile(h.window->startFilePath().toStdString());
  };
  auto opened = [](Harness& h) {
    return !h.files.requests.empty() && h.files.requests.back().title == QString("打开文件");
  };
  struct Path {
    const char* name;
    bool weighted;                         // the unsaved rows are in the weighted window
    std::function<void(Harness&)> open;    // the windows on the way
    std::function<void(Harness&)> leave;
    std::function<bool(Harness&)> wentOn;
  };
  const auto none = [](Harness&) {};
  const std::vector<Path> paths = {
      {"退出", false, none, [](Harness& h) { RunCommand(h, "Label5", "tc"); }, ended},
      {"main window frame", false, none, [](Harness& h) { h.window->close(); }, ended},
      {"打开数据", false, none, [](Harness& h) { h.window->openData(); }, opened},
      {"weighted frame", true, [](Harness& h) { h.window->findChild<QAction*>("m_dandx")->trigger(); },
       [&](Harness& h) { rigorous(h)->close(); }, ended},
      {"weighted 退出", true, [](Harness& h) { h.window->findChild<QAction*>("m_dandx")->trigger(); },
       [&](Harness& h) { rigorous(h)->findChild<QPushButton*>("tc")->click(); }, ended},
      {"weighted 打开数据", true, [](Harness& h) { h.window->findChild<QAction*>("m_dandx")->trigger(); },
       [&](Harness& h) { rigorous(h)->openData(); }, opened},
      {"total station 退出", false, [](Harness& h) { h.window->findChild<QAction*>("m_qzy")->trigger(); },
       [](Harness& h) { h.window->shell().window<TotalStationWindow>("totalStation")->findChild<QPushButton*>("command_tc")->click(); }, ended},
      {"geodetic 退出主程序", false, [](Harness& h) { h.window->findChild<QAction*>("zs")->trigger(); },
       [](Harness& h) { h.window->shell().window<GeodeticWindow>("geodetic")->findChild<QPushButton*>("tczhcx")->click(); }, ended},
      {"calculator 退出(&E)", false, [](Harness& h) { h.window->findChild<QAction*>("m_kxjsq")->trigger(); },
       [](Harness& h) { h.window->shell().window<CalculatorWindow>("calculator")->findChild<QAction*>("mnuExit")->trigger(); }, ended},
  };
  enum Case { Yes, No, Cancel, NothingUnsaved };
  for (const Path& path : paths) {
    for (Case c : {Yes, No, Cancel, NothingUnsaved}) {
      const QByteArray where = QByteArray(path.name) + " case " + QByteArray::number(c);
      Harness h;
      path.open(h);
      const QString saved = h.dataDir.path() + "/saved.DAT";
      if (c != NothingUnsaved) {
        if (path.weighted) {
          rigorous(h)->grid().setText(1, 1, "A");
        } else {
          ObservationTable table;
          table.rows.resize(2);
          for (int i = 0; i < kTypedStations.size(); ++i) table.rows[i / 9][i % 9] = kTypedStations[i].toStdString();
          h.grid().fill(table);
        }
        h.messages.threeWay.push_back(c == Yes ? Answer::Yes : c == No ? Answer::No : Answer::Cancel);
        if (c == Yes) h.files.answers.push_back(saved);
      }
      path.leave(h);
      QVERIFY2(UnsavedQuestions(h.messages) == (c == NothingUnsaved ? 0 : 1), where);
      QVERIFY2(QFileInfo::exists(saved) == (c == Yes), where);
      QVERIFY2(path.wentOn(h) == (c != Cancel), where);
      if (c == Yes && !path.weighted) {
        QVERIFY2(!LoadTraverseFile(saved.toStdString(), TraverseKind::Connecting).refusal, where);
      }
      SetReadOnlyFile(h.window->startFilePath().toStdString(), false);
    }
  }
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
