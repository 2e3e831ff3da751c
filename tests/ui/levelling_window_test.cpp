// The levelling window and the standards window opened from the main menu:
// the three entries preselect their method; data typed or opened from a file
// compute into the results pane; refusals and limits reach the user through
// message boxes; data and report are saved.
#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include "io/text_file.h"
#include "formats/level_file.h"
#include "ui/levelling/levelling_window.h"
#include "ui/standards/standards_window.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::io;
using namespace korvane::ui;
using namespace korvane::testing;

class LevellingWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void menuEntriesPreselectTheirMethod();
  void openedFileComputesAndSavesTheReport();
  void typedDataAndRefusals();
  void overLimitIsTold();
  void standardsWindowShowsBothTables();
};

namespace {

QString Data(const char* name) { return QString(KORVANE_TEST_DATA) + "/levelling/" + name; }

LevellingWindow* Open(MainWindowHarness& h, const char* entry) {
  h.window->findChild<QAction*>(entry)->trigger();
  LevellingWindow* w = h.window->shell().window<LevellingWindow>("levelling");
  if (!w) qFatal("the levelling window did not open");
  return w;
}

template <typename T>
T* Child(QWidget* w, const char* name) {
  T* found = w->findChild<T*>(name);
  if (!found) qFatal("no child %s", name);
  return found;
}

void Click(QWidget* w, const char* name) { Child<QPushButton>(w, name)->click(); }
QString Pane(QWidget* w) { return Child<QPlainTextEdit>(w, "text_jg")->toPlainText(); }

void Put(QTableWidget* table, int row, const QStringList& cells) {
  for (int c = 0; c < cells.size(); ++c) table->setItem(row, c, new QTableWidgetItem(cells[c]));
}

}  // namespace

void LevellingWindowTest::menuEntriesPreselectTheirMethod() {
  MainWindowHarness h;
  const char* entries[] = {"m_dyfhh", "m_dybhw", "m_szjcw"};
  const char* options[] = {"opt_dyfhh", "opt_dybhw", "opt_szjcw"};
  LevellingWindow* first = nullptr;
  for (int i = 0; i < 3; ++i) {
    QVERIFY(h.window->findChild<QAction*>(entries[i])->isEnabled());
    LevellingWindow* w = Open(h, entries[i]);
    QVERIFY(w->isVisible());
    QCOMPARE(w->objectName(), QString("form_szpc"));
    QVERIFY(Child<QRadioButton>(w, options[i])->isChecked());
    if (first) QCOMPARE(w, first);  // one window
    first = w;
  }
  auto* grade = Child<QComboBox>(first, "cb_dj");
  QStringList items;
  for (int i = 0; i < grade->count(); ++i) items << grade->itemText(i);
  QCOMPARE(items, QStringList({"二等", "三等", "四等", "五等", "图根"}));
  QCOMPARE(Child<QRadioButton>(first, "opt_pd")->text(), QString("平地"));
  QCOMPARE(Child<QRadioButton>(first, "opt_sd")->text(), QString("山地"));
  QCOMPARE(Child<QPushButton>(first, "command_dk")->text(), QString("打开数据"));
  QCOMPARE(Child<QPushButton>(first, "bc_sj")->text(), QString("保存数据"));
}

void LevellingWindowTest::openedFileComputesAndSavesTheReport() {
  MainWindowHarness h;
  LevellingWindow* w = Open(h, "m_dybhw");
  h.files.answers = {Data("loop_hilly.lev")};
  Click(w, "command_dk");
  QCOMPARE(Child<QTableWidget>(w, "grid_sec")->item(3, 3)->text(), QString("10"));
  QVERIFY(Child<QRadioButton>(w, "opt_sd")->isChecked());
  QVERIFY(Child<QRadioButton>(w, "opt_n")->isChecked());
  QCOMPARE(Child<QComboBox>(w, "cb_dj")->currentText(), QString("图根"));
  QVERIFY(!Child<QPushButton>(w, "bc_bg")->isEnabled());
  Click(w, "js");
  QVERIFY(h.messages.shown.empty());
  QVERIFY(Pane(w).contains("单一闭合水准路线平差计算表"));
  QVERIFY(Pane(w).contains("98.7902"));

  QTemporaryDir folder;
  const QString report = folder.filePath("闭合环.html");
  h.files.answers = {report};
  Click(w, "bc_bg");
  std::string bytes, error;
  QVERIFY(ReadFileBytes(report.toStdString(), bytes, error));
  QVERIFY(QString::fromStdString(DecodeGbk(bytes)).contains("98.7902"));

  const QString saved = folder.filePath("loop.lev");
  h.files.answers = {saved};
  Click(w, "bc_sj");
  std::string readError;
  const formats::LevelFileLoad back = formats::LoadLevelFile(saved.toStdString(), readError);
  std::string originalError;
  QVERIFY(back.ok());
  QVERIFY(back.data == formats::LoadLevelFile(Data("loop_hilly.lev").toStdString(), originalError).data);
}

void LevellingWindowTest::typedDataAndRefusals() {
  MainWindowHarness h;
  LevellingWindow* w = Open(h, "m_dyfhh");
  auto* bms = Child<QTableWidget>(w, "grid_bm");
  auto* secs = Child<QTableWidget>(w, "grid_sec");
  Put(bms, 0, {"A", "45.286"});
  Put(bms, 1, {"B", "49.579"});
  Put(secs, 0, {"A", "1", "2.331", "1.6"});
  Put(secs, 1, {"1", "2", "2.813", "2.1"});
  Put(secs, 2, {"2", "3", "-2.244", "1.7"});
  Put(secs, 3, {"3", "B", "1.430", "x"});
  Click(w, "js");
  QCOMPARE(h.messages.lastText(), QString("测段表第4行：距离或测站数“x”不是数字"));
  QVERIFY(Pane(w).isEmpty());
  Put(secs, 3, {"3", "B", "1.430", "2.0"});
  Click(w, "js");
  QVERIFY(Pane(w).contains("47.6090"));
  QVERIFY(Child<QPushButton>(w, "bc_bg")->isEnabled());
  // Editing drops the stale result; the same data as a loop is refused.
  Child<QRadioButton>(w, "opt_dybhw")->setChecked(true);
  QVERIFY(Pane(w).isEmpty());
  QVERIFY(!Child<QPushButton>(w, "bc_bg")->isEnabled());
  Click(w, "js");
  QVERIFY(h.messages.lastText().contains("请选单一附合环"));
  Child<QRadioButton>(w, "opt_szjcw")->setChecked(true);
  Click(w, "js");
  QVERIFY(Pane(w).contains("水准交叉网平差成果表"));
  QVERIFY(Pane(w).contains("47.6090"));
}

void LevellingWindowTest::overLimitIsTold() {
  MainWindowHarness h;
  LevellingWindow* w = Open(h, "m_dyfhh");
  h.files.answers = {Data("line_second_order_over.lev")};
  Click(w, "command_dk");
  Click(w, "js");
  QCOMPARE(h.messages.lastTitle(), QString("超限"));
  QVERIFY(Pane(w).contains("超限"));
  Child<QComboBox>(w, "cb_dj")->setCurrentText("四等");
  const std::size_t before = h.messages.shown.size();
  Click(w, "js");
  QCOMPARE(h.messages.shown.size(), before);
  QVERIFY(!Pane(w).contains("超限"));
}

void LevellingWindowTest::standardsWindowShowsBothTables() {
  MainWindowHarness h;
  QAction* entry = h.window->findChild<QAction*>("m_gcclcygf");
  QVERIFY(entry->isEnabled());
  entry->trigger();
  StandardsWindow* w = h.window->shell().window<StandardsWindow>("standards");
  QVERIFY(w && w->isVisible());
  auto* traverse = Child<QTableWidget>(w, "grid_dxxc");
  QCOMPARE(traverse->rowCount(), 15);  // six grades of two standards, three of the third
  QCOMPARE(traverse->item(0, 0)->text(), QString("城市测量规范"));
  QCOMPARE(traverse->item(2, 1)->text(), QString("一级"));
  QCOMPARE(traverse->item(2, 7)->text(), QString("≤1/14000"));
  QCOMPARE(traverse->item(14, 1)->text(), QString("五等"));
  auto* levelling = Child<QTableWidget>(w, "grid_szxc");
  QCOMPARE(levelling->rowCount(), 5);
  QCOMPARE(levelling->item(2, 1)->text(), QString("±20√L"));
  QCOMPARE(levelling->item(2, 2)->text(), QString("±6√n"));
  QCOMPARE(levelling->item(0, 2)->text(), QString("±4√L（同平地）"));
  QCOMPARE(levelling->item(4, 3)->text(), QString("±20"));
  entry->trigger();
  QCOMPARE(h.window->shell().window<StandardsWindow>("standards"), w);
}

QTEST_MAIN(LevellingWindowTest)
#include "levelling_window_test.moc"
