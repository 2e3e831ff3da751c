// The total-station window driven by its object names: reading, the column
// lists, converting the edited pane, saving by appending, exit and close.
#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>

#include "io/text_file.h"
#include "ui/shell/goodbye_window.h"
#include "ui/utilities/total_station_window.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::io;
using namespace korvane::ui;
using namespace korvane::testing;

namespace {

QStringList Items(QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

void DoubleClick(QListWidget* list, int row) {
  list->setCurrentRow(row);
  emit list->itemDoubleClicked(list->item(row));
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TotalStationWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void opensFromTheMenuHidingTheMainWindow();
  void readsConvertsAndAppends();
  void columnListsMoveAndRestore();
  void refusalsAndNotes();
  void exitGoesToGoodbyeAndCloseBack();
};

void TotalStationWindowTest::opensFromTheMenuHidingTheMainWindow() {
  MainWindowHarness h;
  QAction* entry = h.window->findChild<QAction*>("m_qzy");
  QVERIFY(entry && entry->isEnabled());
  entry->trigger();
  TotalStationWindow* w = h.window->shell().window<TotalStationWindow>("totalStation");
  QVERIFY(w && w->isVisible());
  QVERIFY(!h.window->isVisible());
  QCOMPARE(w->windowTitle(), QString("全站仪"));
  auto* tabs = w->findChild<QTabWidget*>("SSTab1");
  QCOMPARE(tabs->count(), 3);
  QCOMPARE(tabs->tabText(1), QString("提取数据导线平差"));
  QCOMPARE(tabs->toolTip(), QString("正在编译中！！！"));
  QCOMPARE(tabs->currentIndex(), 0);
  QVERIFY(w->findChild<QWidget*>("MSFlexGrid2"));
  QCOMPARE(w->statusText(), QString("欢迎使用全站仪相关程序！"));
  QCOMPARE(w->findChild<QListWidget*>("List1")->count(), 0);
  entry->trigger();  // the same window again
  QCOMPARE(h.window->shell().window<TotalStationWindow>("totalStation"), w);
}

void TotalStationWindowTest::readsConvertsAndAppends() {
  QTemporaryDir dir;
  const QString input = dir.filePath("pts.dat");
  QFile file(input);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QByteArray::fromStdString(EncodeGbk("3\r\n点1,10,20,30,40\r\n点2,,21,31\r\n点3,12,22,32\r\n\r\n点4,9,9\r\n")));
  file.close();
  RecordingMessageBoxes messages;
  AnsweringFileDialogs files;
  TotalStationWindow w(messages, files);
  w.open();
  files.answers = {input};
  w.findChild<QPushButton*>("command_dk")->click();
  QCOMPARE(files.requests.back().title, QString("打开文件"));
  auto* r1 = w.findChild<QPlainTextEdit*>("R1");
  QCOMPARE(r1->toPlainText(), QString("3\n点1,10,20,30,40\n点2,,21,31\n点3,12,22,32\n"));
  QCOMPARE(w.statusText(), QString("共4 行"));
  QCOMPARE(Items(w.findChild<QListWidget*>("List1")), QStringList({"1", "2", "3", "4", "5"}));
  // The surveyor's edit of the pane counts.
  r1->setPlainText(r1->toPlainText().replace("点3", "P3"));
  auto* list = w.findChild<QListWidget*>("List1");
  DoubleClick(list, 4);
  DoubleClick(list, 3);
  list->setCurrentRow(2);
  w.findChild<QPushButton*>("Command9")->click();
  w.findChild<QPushButton*>("Command9")->click();
  QCOMPARE(Items(list), QStringList({"3", "1", "2"}));
  w.findChild<QPushButton*>("command_zx")->click();
  const QString expected = "3\n20,点1,10\n21,点2,点2\n22,P3,12\n";
  QCOMPARE(w.findChild<QPlainTextEdit*>("R2")->toPlainText(), expected);
  QCOMPARE(w.statusText(), QString("共4 行"));

  const QString out = dir.filePath("res.DAT");
  files.answers = {dir.filePath("res")};  // the default suffix is added
  w.findChild<QPushButton*>("command_bc")->click();
  QVERIFY(!files.requests.back().confirmOverwrite);
  const QByteArray once = QByteArray::fromStdString(EncodeGbk("3\r\n20,点1,10\r\n21,点2,点2\r\n22,P3,12\r\n\r\n"));
  QCOMPARE(ReadAll(out), once);
  messages.answers = {false};
  files.answers = {out};
  w.findChild<QPushButton*>("command_bc")->click();
  QCOMPARE(messages.lastText(), QString("文件已存在，结果将追加到文件末尾，继续吗？"));
  QCOMPARE(ReadAll(out), once);
  messages.answers = {true};
  files.answers = {out};
  w.findChild<QPushButton*>("command_bc")->click();
  QCOMPARE(ReadAll(out), once + once);
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no temporary file left
}

void TotalStationWindowTest::columnListsMoveAndRestore() {
  RecordingMessageBoxes messages;
  AnsweringFileDialogs files;
  TotalStationWindow w(messages, files);
  w.open();
  w.readData();  // cancelled dialog: the lists are reset all the same
  auto* list = w.findChild<QListWidget*>("List1");
  auto* deleted = w.findChild<QListWidget*>("List2");
  QCOMPARE(list->count(), 5);
  QVERIFY(deleted->isHidden());
  DoubleClick(list, 0);
  QCOMPARE(list->currentRow(), 0);  // the first entry when the first was removed
  DoubleClick(list, 2);             // "4"
  QCOMPARE(list->currentRow(), 1);  // the entry above it
  w.tickClock();
  QVERIFY(!deleted->isHidden());
  QCOMPARE(Items(deleted), QStringList({"1", "4"}));
  list->setCurrentRow(0);
  w.moveUp();
  QCOMPARE(Items(list), QStringList({"2", "3", "5"}));
  list->setCurrentRow(2);
  w.moveDown();
  QCOMPARE(Items(list), QStringList({"2", "3", "5"}));
  w.moveUp();
  QCOMPARE(Items(list), QStringList({"2", "5", "3"}));
  QCOMPARE(list->currentRow(), 1);
  DoubleClick(deleted, 0);
  DoubleClick(deleted, 0);
  QCOMPARE(Items(list), QStringList({"2", "5", "3", "1", "4"}));
  w.tickClock();
  QVERIFY(deleted->isHidden());
  // A re-read resets List1 but leaves List2.
  DoubleClick(list, 0);
  w.readData();
  QCOMPARE(list->count(), 5);
  QCOMPARE(deleted->count(), 1);
}

void TotalStationWindowTest::refusalsAndNotes() {
  RecordingMessageBoxes messages;
  AnsweringFileDialogs files;
  TotalStationWindow w(messages, files);
  w.open();
  w.save();
  QCOMPARE(messages.lastText(), QString("未执行操作，没有结果！"));
  QCOMPARE(messages.lastTitle(), QString("提示"));
  w.execute();
  QCOMPARE(messages.lastText(), QString("你未读入数据！"));
  QCOMPARE(messages.lastTitle(), QString("抱歉"));
  w.readData();
  w.findChild<QPlainTextEdit*>("R1")->setPlainText("P1,1,2,3,4,5,6\nP2,1,2\nP3,1,2,3,4,5,6,7\n");
  w.execute();
  QCOMPARE(w.statusText(), QString("共3 行  第1行等2行字段多于6个，多余字段已忽略"));
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("folder.dat");
  files.answers = {dir.filePath("folder.dat")};
  w.readData();
  QVERIFY(messages.lastText().contains("不是普通文件"));
}

void TotalStationWindowTest::exitGoesToGoodbyeAndCloseBack() {
  {
    MainWindowHarness h;
    h.window->findChild<QAction*>("m_qzy")->trigger();
    h.window->shell().window<TotalStationWindow>("totalStation")->close();
    QVERIFY(h.window->isVisible());
    QVERIFY(!h.window->goodbyeWindow());
  }
  MainWindowHarness h;
  h.window->findChild<QAction*>("m_qzy")->trigger();
  h.window->shell().window<TotalStationWindow>("totalStation")->findChild<QPushButton*>("command_tc")->click();
  QVERIFY(!h.window->shell().window<TotalStationWindow>("totalStation")->isVisible());
  QVERIFY(!h.window->isVisible());
  QVERIFY(h.window->goodbyeWindow() && h.window->goodbyeWindow()->isVisible());
}

QTEST_MAIN(TotalStationWindowTest)
#include "total_station_window_test.moc"
