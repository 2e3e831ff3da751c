// The file splitter window driven by its object names: split and merge run
// off the interface thread, questions, refusals with focus, the merge list,
// the folder lists, cancelling and closing.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include "ui/utilities/splitter_window.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::testing;

namespace {

QByteArray Pattern(int size) {
  QByteArray bytes(size, '\0');
  for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 31 + i / 251);
  return bytes;
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Items(QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

struct Splitter {
  RecordingMessageBoxes messages;
  AnsweringFileDialogs files;
  SplitterWindow window{messages, files};
  Splitter() { window.open(); }
  template <typename T>
  T* find(const char* name) {
    T* found = window.findChild<T*>(name);
    if (!found) qFatal("no child named %s", name);
    return found;
  }
  QLineEdit* box(const char* name) { return find<QLineEdit>(name); }
  void click(const char* name) { find<QPushButton>(name)->click(); }
  bool waitIdle() { return QTest::qWaitFor([this] { return !window.busy(); }, 20000); }
};

}  // namespace

class SplitterWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void opensOnTheMergePageFromTheMenu();
  void splitThenMergeRoundTrip();
  void refusalsFocusTheirBox();
  void mergeListAndTheOneRule();
  void folderListsAndPatterns();
  void cancelLeavesNothingHalfWritten();
};

void SplitterWindowTest::opensOnTheMergePageFromTheMenu() {
  MainWindowHarness h;
  QAction* entry = h.window->findChild<QAction*>("m_wjfg");
  QVERIFY(entry && entry->isEnabled());
  entry->trigger();
  SplitterWindow* w = h.window->shell().window<SplitterWindow>("splitter");
  QVERIFY(w && w->isVisible());
  QVERIFY(h.window->isVisible());
  QCOMPARE(w->windowTitle(), QString("文件分割程序"));
  auto* tabs = w->findChild<QTabWidget*>("SSTab1");
  QCOMPARE(tabs->currentIndex(), 1);
  QCOMPARE(tabs->tabText(0), QString("    分割[&C]    "));
  QVERIFY(w->findChild<QRadioButton*>("Option1")->isChecked());
  QVERIFY(w->findChild<QLineEdit*>("Text3")->isHidden());
  QCOMPARE(w->currentFolder(), QDir(QDir::homePath()).canonicalPath());
  QVERIFY(w->findChild<QComboBox*>("Drive1")->count() > 0);
  // Nothing typed or listed is kept for the next opening.
  w->findChild<QLineEdit*>("Text1")->setText("/tmp/a.bin");
  w->findChild<QLineEdit*>("Text4")->setText("/tmp/a.out");
  w->findChild<QListWidget*>("List1")->addItem("/tmp/a.001");
  w->findChild<QRadioButton*>("Option2")->setChecked(true);
  w->enterFolder(QDir::tempPath());
  h.window->hide();
  w->close();
  QVERIFY(h.window->isVisible());  // closing shows the main window
  entry->trigger();
  QVERIFY(w->findChild<QLineEdit*>("Text1")->text().isEmpty());
  QVERIFY(w->findChild<QLineEdit*>("Text4")->text().isEmpty());
  QCOMPARE(w->findChild<QListWidget*>("List1")->count(), 0);
  QVERIFY(w->findChild<QRadioButton*>("Option1")->isChecked());
  QCOMPARE(w->currentFolder(), QDir(QDir::homePath()).canonicalPath());
  QCOMPARE(w->statusText(), QString("欢迎使用文件分割程序！"));
  w->close();
}

void SplitterWindowTest::splitThenMergeRoundTrip() {
  QTemporaryDir dir;
  const QByteArray data = Pattern(3000000);
  Write(dir.filePath("setup.exe"), data);
  Splitter s;
  s.files.answers = {dir.filePath("setup.exe")};
  s.click("Command1");
  QCOMPARE(s.box("Text2")->text(), dir.filePath("setup$exe"));
  QCOMPARE(s.window.statusText(), QString("文件大小:2929.6875K"));
  s.messages.answers = {true};  // 确定要分割文件…吗？
  s.click("Command2");
  QVERIFY(s.waitIdle());
  QCOMPARE(s.messages.shown.front().text, "确定要分割文件  " + dir.filePath("setup.exe").toStdString() + "  吗？");
  QCOMPARE(s.messages.lastTitle(), QString("文件分割机"));
  QCOMPARE(QFileInfo(dir.filePath("setup$exe.003")).size(), 105930);
  auto* list = s.find<QListWidget>("List1");
  QCOMPARE(list->count(), 3);
  QCOMPARE(s.box("Text4")->text(), dir.filePath("setup.exe"));
  QCOMPARE(s.find<QTabWidget>("SSTab1")->currentIndex(), 1);
  // The target exists: 否 (the default) keeps it; 是 replaces it.
  s.messages.answers = {false};
  s.click("Command7");
  QCOMPARE(s.messages.lastText(), "文件  " + dir.filePath("setup.exe") + "  已存在，是否要覆盖？");
  QVERIFY(s.box("Text4")->hasFocus() || !s.window.isActiveWindow());
  s.box("Text4")->setText(dir.filePath("joined.exe"));
  s.messages.answers = {true};
  s.click("Command7");
  QVERIFY(s.waitIdle());
  QCOMPARE(s.messages.lastText(), dir.filePath("joined.exe") + "合并完成!");
  QCOMPARE(s.window.statusText(), SplitterWindow::MyString());
  QCOMPARE(ReadAll(dir.filePath("joined.exe")), data);
  QCOMPARE(s.find<QProgressBar>("ProgressBar2")->value(), 0);
}

void SplitterWindowTest::refusalsFocusTheirBox() {
  QTemporaryDir dir;
  Write(dir.filePath("small.bin"), Pattern(4000));
  Splitter s;
  s.find<QTabWidget>("SSTab1")->setCurrentIndex(0);
  s.window.activateWindow();
  s.click("Command2");
  QCOMPARE(s.messages.lastText(), QString("没有指定源文件!"));
  QCOMPARE(s.messages.lastTitle(), QString("文件分割程序！"));
  s.box("Text1")->setText(dir.filePath("small.bin"));
  s.box("Text2")->setText(dir.filePath("small.bin"));
  s.click("Command2");
  QCOMPARE(s.messages.lastText(), QString("指定的目标文件已经存在，请重新取名!"));
  QCOMPARE(s.box("Text2")->selectedText(), dir.filePath("small.bin"));
  s.box("Text2")->setText(dir.filePath("small"));
  s.click("Command2");
  QCOMPARE(s.messages.lastText(), QString("块文件比要分割的文件还要大!没必要分割!"));
  s.find<QRadioButton>("Option2")->setChecked(true);
  QVERIFY(!s.box("Text3")->isHidden());
  s.click("Command2");
  QCOMPARE(s.messages.lastText(), QString("分割块大小没有指定!"));
  s.box("Text3")->setText("1");
  s.messages.answers = {false};  // declines the confirmation
  s.click("Command2");
  QVERIFY(s.waitIdle());
  QVERIFY(!QFile::exists(dir.filePath("small.001")));
  s.box("Text1")->clear();
  emit s.box("Text1")->editingFinished();
  QCOMPARE(s.window.statusText(), QString("请输入文件名！"));
  s.find<QTabWidget>("SSTab1")->setCurrentIndex(1);
  s.click("Command7");
  QCOMPARE(s.messages.lastText(), QString("没有指定合并后的文件名!"));
  s.box("Text4")->setText(dir.filePath("out.bin"));
  s.click("Command7");
  QCOMPARE(s.messages.lastText(), QString("没有项目供合并!"));
}

void SplitterWindowTest::mergeListAndTheOneRule() {
  QTemporaryDir dir;
  for (const char* name : {"d$exe.001", "d$exe.002", "d$exe.010", "d$exe.txt", "other.001"})
    Write(dir.filePath(name), name);
  Splitter s;
  s.files.answers = {dir.filePath("d$exe.001")};
  s.click("Command3");
  auto* list = s.find<QListWidget>("List1");
  // The run stops at the first missing number: d$exe.010 is not of the set.
  QCOMPARE(Items(list), QStringList({dir.filePath("d$exe.001"), dir.filePath("d$exe.002")}));
  QCOMPARE(s.box("Text4")->text(), dir.filePath("d.exe"));
  s.files.answers = {dir.filePath("d$exe.002")};
  s.click("Command3");
  QCOMPARE(s.messages.lastText(), QString("该文件已存在列表中!"));
  QCOMPARE(list->count(), 2);
  s.window.addFile(dir.filePath("d$exe.010"));
  s.window.addFile(dir.filePath("d$exe.txt"));
  QCOMPARE(list->count(), 4);
  list->setCurrentRow(3);
  s.click("Command4");
  QCOMPARE(list->item(2)->text(), dir.filePath("d$exe.txt"));
  s.click("Command5");
  s.click("Command5");
  QCOMPARE(list->item(3)->text(), dir.filePath("d$exe.txt"));
  emit list->itemDoubleClicked(list->item(0));
  QCOMPARE(list->count(), 3);
  // A set whose split was cut off is refused.
  Write(dir.filePath("d$exe.unfinished"), "");
  s.click("Command6");
  s.files.answers = {dir.filePath("d$exe.001")};
  s.click("Command3");
  QCOMPARE(s.messages.lastText(), QString("分割未完成，请重新分割！"));
  QCOMPARE(list->count(), 0);
  s.click("Command6");
  QCOMPARE(list->count(), 0);
}

void SplitterWindowTest::folderListsAndPatterns() {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("sub");
  for (const char* name : {"a.001", "a.002", "b.TXT", "c.txt", "sub/x.001"}) Write(dir.filePath(name), "x");
  Splitter s;
  s.window.enterFolder(dir.path());
  auto* patterns = s.find<QComboBox>("Combo1");
  QCOMPARE(patterns->count(), 6);
  patterns->setCurrentText("*.00?");
  QCOMPARE(Items(s.find<QListWidget>("File1")), QStringList({"a.001", "a.002"}));
  QCOMPARE(s.window.statusText(), QString("共有2个文件"));
  patterns->setCurrentText("*.txt");
  QCOMPARE(Items(s.find<QListWidget>("File1")), QStringList({"b.TXT", "c.txt"}));
  auto* folders = s.find<QListWidget>("Dir1");
  QCOMPARE(Items(folders), QStringList({"..", "sub"}));
  emit folders->itemDoubleClicked(folders->item(1));
  QCOMPARE(s.window.currentFolder(), QDir(dir.filePath("sub")).canonicalPath());
  patterns->setCurrentText("*.*");
  QCOMPARE(s.window.statusText(), QString("共有1个文件"));
  emit s.find<QListWidget>("File1")->itemDoubleClicked(s.find<QListWidget>("File1")->item(0));
  QCOMPARE(s.find<QListWidget>("List1")->count(), 1);
}

void SplitterWindowTest::cancelLeavesNothingHalfWritten() {
  QTemporaryDir dir;
  Write(dir.filePath("big.bin"), Pattern(8 << 20));
  Splitter s;
  s.box("Text1")->setText(dir.filePath("big.bin"));
  s.box("Text2")->setText(dir.filePath("big$bin"));
  s.find<QRadioButton>("Option2")->setChecked(true);
  s.box("Text3")->setText("1");  // 8192 pieces: time to cancel
  s.messages.answers = {true};
  s.window.cancel();  // a cancel before the start does not carry over
  s.click("Command2");
  QVERIFY(s.window.busy());
  QVERIFY(!s.find<QPushButton>("Command_qx1")->isHidden());
  QVERIFY(!s.find<QPushButton>("Command2")->isEnabled());
  s.click("Command_qx1");
  QVERIFY(s.waitIdle());
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"big.bin"}));
  QVERIFY(s.window.statusText().contains("取消"));
  QVERIFY(s.find<QPushButton>("Command2")->isEnabled());
}

QTEST_MAIN(SplitterWindowTest)
#include "splitter_window_test.moc"
