// The start-data dialog: set-up per kind, key filter, validation order,
// its buttons, saving and the hand-over to the main window.
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "formats/start_data.h"
#include "ui/traverse/start_dialog.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::formats;
using namespace korvane::ui;
using namespace korvane::testing;

namespace {

QLineEdit* Field(StartDialog* d, const char* name) {
  auto* edit = d->findChild<QLineEdit*>(name);
  if (!edit) qFatal("no field %s", name);
  return edit;
}
QRadioButton* Option(QWidget* w, const char* name) {
  auto* option = w->findChild<QRadioButton*>(name);
  if (!option) qFatal("no option %s", name);
  return option;
}
QLabel* Caption(StartDialog* d, const char* name) {
  auto* label = d->findChild<QLabel*>(name);
  if (!label) qFatal("no label %s", name);
  return label;
}
void ClickButton(QWidget* w, const char* name) {
  auto* button = w->findChild<QPushButton*>(name);
  if (!button) qFatal("no button %s", name);
  button->click();
}

// Visibility of the record boxes 1..13 as a string of 0 and 1.
QString Shown(StartDialog* d) {
  QString shown;
  for (int k = 1; k <= 13; ++k) shown += d->field(k)->isVisibleTo(d) ? '1' : '0';
  return shown;
}

}  // namespace

class StartDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void kindSelectionConfiguresTheDialog();
  void dataAndExtraOptionsShowTheirFields();
  void keyFilterRefusesWrongKeysAndEnterMovesOn();
  void validationMessagesComeInOrder();
  void confirmSavesAllRecordsAndHandsOver();
  void azimuthFormForOpenKindSavesRecordFiveEmpty();
  void reloadClearAndLeave();
  void openingStartsANewTraverse();
  void unwritableFileKeepsTheDialogOpen();
  void pastedTextMustBeANumber();
};

void StartDialogTest::kindSelectionConfiguresTheDialog() {
  MainWindowHarness h;
  StartDialog* d = h.window->startDialog();
  QCOMPARE(d->objectName(), QString("Form_qssj"));
  QVERIFY(!d->isVisible());
  QVERIFY(d->windowFlags() & Qt::WindowStaysOnTopHint);
  QVERIFY(!d->isModal());
  // Connecting kind at start-up.
  QCOMPARE(d->windowTitle(), QString("附合导线起始数据"));
  QCOMPARE(Option(d, "Option_sd")->text(), QString("四点坐标"));
  QVERIFY(Option(d, "Option_sd")->isChecked());
  QCOMPARE(Shown(d), QString("1111111111000"));
  QCOMPARE(Caption(d, "Label_qddxx")->text(), QString("起点定向 X："));

  Option(h.window.get(), "wdxdx")->click();
  QCOMPARE(d->windowTitle(), QString("无定向导线起始数据"));
  QCOMPARE(Option(d, "Option_sd")->text(), QString("起终点坐标"));
  QVERIFY(!Option(d, "Option_df")->isVisibleTo(d));
  QCOMPARE(Shown(d), QString("1110011100000"));
  QVERIFY(!Caption(d, "Label_qddxx")->isVisibleTo(d));

  Option(h.window.get(), "bhdx")->click();
  QCOMPARE(d->windowTitle(), QString("闭合导线起始数据"));
  QCOMPARE(Option(d, "Option_sd")->text(), QString("两点坐标"));
  QVERIFY(Option(d, "Option_df")->isVisibleTo(d));
  QCOMPARE(Option(d, "Option_df")->text(), QString("起点坐标和起始方位角"));
  QCOMPARE(Shown(d), QString("1111100000000"));

  // The open kind keeps the second option's caption of the previous kind.
  Option(h.window.get(), "zdx")->click();
  QCOMPARE(d->windowTitle(), QString("支导线起始数据"));
  QCOMPARE(Option(d, "Option_df")->text(), QString("起点坐标和起始方位角"));
  QCOMPARE(Caption(d, "Label_qddxx")->text(), QString("起点定向  X："));
  Option(h.window.get(), "fhdx")->click();
  Option(h.window.get(), "zdx")->click();
  QCOMPARE(Option(d, "Option_df")->text(), QString("起终点坐标和起终方位角"));
}

void StartDialogTest::dataAndExtraOptionsShowTheirFields() {
  MainWindowHarness h;
  h.window->openStartDialog();
  StartDialog* d = h.window->startDialog();
  QVERIFY(d->isVisible());
  Option(d, "Option_df")->click();
  QCOMPARE(Caption(d, "Label_qddxx")->text(), QString("起点定向方位角："));
  QCOMPARE(Caption(d, "Label_zddxx")->text(), QString("终点定向方位角："));
  QCOMPARE(Shown(d), QString("1111011110000"));
  Option(d, "Option_sd")->click();
  QCOMPARE(Shown(d), QString("1111111111000"));
  QCOMPARE(Caption(d, "Label_qddxx")->text(), QString("起点定向 X："));

  Option(d, "Option_zdy")->click();
  QVERIFY(Field(d, "Text_gcm")->isVisible());
  QVERIFY(Caption(d, "Label_dw")->isVisible());
  Option(d, "Option_ok")->click();
  QVERIFY(Field(d, "Text_j")->isVisible());
  QVERIFY(Field(d, "Text_c")->isVisible());
  QVERIFY(Caption(d, "Label_ppm")->isVisible());
  QCOMPARE(Shown(d), QString("1111111111111"));

  // Fields hidden again keep their text while the dialog is open, so that
  // switching back shows them as typed; "确定" counts them as empty, except
  // record 4.
  Field(d, "Text_gcm")->setText("50");
  Field(d, "Text_j")->setText("5");
  Field(d, "Text_qddxy")->setText("300");
  Field(d, "Text_qddxx")->setText("45.3");
  Option(d, "Option_cqpj")->click();
  Option(d, "Option_no")->click();
  Option(h.window.get(), "wdxdx")->click();
  const StartRecord toSave = d->fieldsToSave();
  for (int k : {5, 11, 12}) QVERIFY(toSave.record(k).empty());
  QCOMPARE(QString::fromStdString(toSave.record(4)), QString("45.3"));
  Option(h.window.get(), "fhdx")->click();
  Option(d, "Option_zdy")->click();
  Option(d, "Option_ok")->click();
  QCOMPARE(Field(d, "Text_gcm")->text(), QString("50"));
  QCOMPARE(Field(d, "Text_j")->text(), QString("5"));
  QCOMPARE(Field(d, "Text_qddxy")->text(), QString("300"));
  QCOMPARE(QString::fromStdString(d->fieldsToSave().record(5)), QString("300"));
}

void StartDialogTest::keyFilterRefusesWrongKeysAndEnterMovesOn() {
  MainWindowHarness h;
  h.window->openStartDialog();
  StartDialog* d = h.window->startDialog();
  d->activateWindow();
  QLineEdit* x = Field(d, "Text_qdx");
  x->setFocus();
  QTest::keyClicks(x, "-12.5+");
  QCOMPARE(x->text(), QString("-12.5+"));
  QVERIFY(h.messages.shown.empty());
  QTest::keyClicks(x, "a");
  QCOMPARE(x->text(), QString("-12.5+"));
  QCOMPARE(h.messages.shown.size(), size_t(1));
  QCOMPARE(h.messages.lastText(), QString("按键有误！"));
  QCOMPARE(h.messages.lastTitle(), QString("请重输"));
  QTest::keyClicks(x, " ");
  QTest::sendKeyEvent(QTest::Click, x, Qt::Key_unknown, QString("，"), Qt::NoModifier);
  QCOMPARE(h.messages.shown.size(), size_t(3));
  QTest::keyClick(x, Qt::Key_Backspace);
  QCOMPARE(x->text(), QString("-12.5"));
  QCOMPARE(h.messages.shown.size(), size_t(3));
  // Enter is not typed: it moves to the next field.
  d->activateWindow();
  x->setFocus();
  QTest::keyClick(x, Qt::Key_Return);
  QCOMPARE(x->text(), QString("-12.5"));
  QVERIFY(d->isVisible());
  QVERIFY(!x->hasFocus());
  QCOMPARE(h.messages.shown.size(), size_t(3));
}

void StartDialogTest::validationMessagesComeInOrder() {
  MainWindowHarness h;
  h.window->openStartDialog();
  StartDialog* d = h.window->startDialog();
  Option(d, "Option_zdy")->click();
  Option(d, "Option_ok")->click();
  const char* names[13] = {"Text_qdx", "Text_qdy",   "Text_qdh",   "Text_qddxx", "Text_qddxy",
                           "Text_zdx", "Text_zdy",   "Text_zdh",   "Text_zddxx", "Text_zddxy",
                           "Text_gcm", "Text_j",     "Text_c"};
  const QStringList expected = {"起点 X：未输入！",     "起点 Y：未输入！",
                                "起点 H：未输入！",     "起点定向 X：未输入！",
                                "起点定向 Y：未输入！", "终点 X：未输入！",
                                "终点 Y：未输入！",     "终点 H：未输入！",
                                "终点定向 X：未输入！", "终点定向 Y：未输入！",
                                "自定义投影面未输入！", "测距仪加常数未输入！",
                                "测距仪乘常数未输入！"};
  for (int k = 0; k < 13; ++k) {
    ClickButton(d, "Command_ok");
    QCOMPARE(h.messages.lastText(), expected[k]);
    QCOMPARE(h.messages.lastTitle(), QString("请检查"));
    QVERIFY(d->isVisible());
    // A blank-only field counts as empty.
    Field(d, names[k])->setText("  ");
    ClickButton(d, "Command_ok");
    QCOMPARE(h.messages.lastText(), expected[k]);
    Field(d, names[k])->setText(QString::number(100 + k));
  }
  QCOMPARE(int(h.messages.shown.size()), 26);
  // Nothing was written while the checks failed.
  QFile file(h.window->startFilePath());
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(file.size(), 0);
  file.close();
  // In the azimuth form the caption of record 4 leads its message.
  Field(d, "Text_qddxx")->clear();
  Option(d, "Option_df")->click();
  ClickButton(d, "Command_ok");
  QCOMPARE(h.messages.lastText(), QString("起点定向方位角：未输入！"));
}

void StartDialogTest::confirmSavesAllRecordsAndHandsOver() {
  MainWindowHarness h;
  Option(h.window.get(), "bhdx")->click();
  h.window->openStartDialog();
  StartDialog* d = h.window->startDialog();
  QCOMPARE(d->windowTitle(), QString("闭合导线起始数据"));
  Option(d, "Option_ok")->click();
  const QStringList values = {"5000.000", "3000.000", "100.000", "5100.000", "3100.000"};
  const char* names[5] = {"Text_qdx", "Text_qdy", "Text_qdh", "Text_qddxx", "Text_qddxy"};
  for (int k = 0; k < 5; ++k) Field(d, names[k])->setText(values[k]);
  Field(d, "Text_j")->setText("5");
  Field(d, "Text_c")->setText("5");
  ClickButton(d, "Command_ok");
  QVERIFY(h.messages.shown.empty());
  QVERIFY(!d->isVisible());
  QVERIFY(!d->isLoaded());

  const StartRecord saved = ReadStartFile(h.window->startFilePath().toStdString());
  for (int k = 1; k <= 5; ++k) QCOMPARE(QString::fromStdString(saved.record(k)), values[k - 1]);
  for (int k = 6; k <= 11; ++k) QVERIFY(saved.record(k).empty());
  QCOMPARE(QString::fromStdString(saved.record(12)), QString("5"));
  QCOMPARE(QString::fromStdString(saved.record(13)), QString("5"));

  // The kind is locked, the open and compute commands are available.
  QVERIFY(Option(h.window.get(), "bhdx")->isChecked());
  QVERIFY(Option(h.window.get(), "bhdx")->isEnabled());
  for (const char* other : {"fhdx", "zdx", "wdxdx"}) {
    QVERIFY(!Option(h.window.get(), other)->isEnabled());
  }
  QVERIFY(h.label("Label7")->isEnabled());
  QVERIFY(h.button("command_dk")->isVisible());
  QVERIFY(h.label("Label3")->isEnabled());
  QVERIFY(h.button("js")->isVisible());
  QVERIFY(!h.label("Label10")->isEnabled());
  QVERIFY(!h.label("Label10")->isVisible());
  QVERIFY(!h.button("js2")->isVisible());

  // The keyboard is on the first station's name: what is typed next lands
  // there, not nowhere and not a column further on.
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(h.grid().grid()));
  QCOMPARE(h.grid().currentRow(), 1);
  QCOMPARE(h.grid().currentColumn(), 1);
  for (const char key : std::string("K1\t90.3")) QTest::keyClick(QApplication::focusWidget(), key);
  QCOMPARE(h.grid().text(1, 1), QString("K1"));
  QCOMPARE(h.grid().text(1, 2), QString("90.3"));

  // The next opening starts with empty fields; "接上次输入" brings them back.
  h.window->openStartDialog();
  QCOMPARE(Field(d, "Text_qdx")->text(), QString());
  QCOMPARE(Option(d, "Option_no")->isChecked(), true);
  ClickButton(d, "Command_dq");
  QCOMPARE(Field(d, "Text_qdx")->text(), values[0]);
  QCOMPARE(Field(d, "Text_qddxy")->text(), values[4]);
  // Saved constants come back with their option, so that 确定 keeps them.
  QVERIFY(Option(d, "Option_ok")->isChecked());
  QCOMPARE(Field(d, "Text_j")->text(), QString("5"));
}

void StartDialogTest::azimuthFormForOpenKindSavesRecordFiveEmpty() {
  MainWindowHarness h;
  Option(h.window.get(), "zdx")->click();
  h.window->openStartDialog();
  StartDialog* d = h.window->startDialog();
  Field(d, "Text_qddxy")->setText("777");
  Option(d, "Option_df")->click();
  // Back to the point form and again: the orientation Y comes back as typed.
  Option(d, "Option_sd")->click();
  QCOMPARE(Field(d, "Text_qddxy")->text(), QString("777"));
  Option(d, "Option_df")->click();
  QCOMPARE(Caption(d, "Label_qddxx")->text(), QString("起点定向方位角："));
  Field(d, "Text_qdx")->setText("1000");
  Field(d, "Text_qdy")->setText("2000");
  Field(d, "Text_qdh")->setText("50");
  Field(d, "Text_qddxx")->setText("45.3");
  ClickButton(d, "Command_ok");
  QVERIFY(h.messages.shown.empty());
  const StartRecord saved = ReadStartFile(h.window->startFilePath().toStdString());
  QCOMPARE(QString::fromStdString(saved.record(4)), QString("45.3"));
  QVERIFY(saved.record(5).empty());
  QVERIFY(Option(h.window.get(), "zdx")->isChecked());
  QVERIFY(h.label("Label10")->isEnabled());
  QVERIFY(h.button("js2")->isVisible());
  QVERIFY(!h.label("Label3")->isEnabled());
  QVERIFY(!h.button("js")->isVisible());
}

void StartDialogTest::reloadClearAndLeave() {
  MainWindowHarness h;
  StartRecord stored;
  for (int k = 1; k <= 13; ++k) stored.record(k) = "123456789012345678901234" + std::to_string(k);
  QVERIFY(WriteStartFile(h.window->startFilePath().toStdString(), stored).empty());
  h.window->openStartDialog();
  StartDialog* d = h.window->startDialog();
  Option(h.window.get(), "wdxdx")->click();
  Field(d, "Text_gcm")->setText("");
  ClickButton(d, "Command_dq");
  // At most 20 characters; shown records and 1..4 are filled.
  QCOMPARE(d->field(1)->text(), QString("12345678901234567890"));
  QCOMPARE(d->field(4)->text(), QString("12345678901234567890"));
  QCOMPARE(d->field(6)->text(), QString("12345678901234567890"));
  QCOMPARE(d->field(5)->text(), QString());
  QCOMPARE(d->field(9)->text(), QString());
  // A saved projection height and saved constants bring their options along.
  QVERIFY(Option(d, "Option_zdy")->isChecked());
  QVERIFY(Option(d, "Option_ok")->isChecked());
  for (int k = 11; k <= 13; ++k) QCOMPARE(d->field(k)->text(), QString("12345678901234567890"));
  ClickButton(d, "Command1");
  for (int k = 1; k <= 13; ++k) QCOMPARE(d->field(k)->text(), QString());
  // Leaving saves nothing and changes nothing in the main window.
  d->field(1)->setText("1");
  ClickButton(d, "Command_tuichu");
  QVERIFY(!d->isVisible());
  const StartRecord after = ReadStartFile(h.window->startFilePath().toStdString());
  QCOMPARE(after.fields, stored.fields);
  QVERIFY(!h.label("Label7")->isEnabled());
  QVERIFY(!h.label("Label3")->isEnabled());
  for (const char* kind : {"fhdx", "bhdx", "zdx", "wdxdx"}) {
    QVERIFY(Option(h.window.get(), kind)->isEnabled());
  }
}

void StartDialogTest::openingStartsANewTraverse() {
  MainWindowHarness h;
  ObservationGrid& g = h.grid();
  auto typeTwoRows = [&] {
    ClickCell(g, 1, 1);
    QTest::keyClicks(g.editBox(), "A");
    ClickCell(g, 2, 2);
    QTest::keyClicks(g.editBox(), "90");
    QTest::keyClick(g.editBox(), Qt::Key_Return);
  };
  auto confirmFourPoints = [&] {
    h.window->openStartDialog();
    for (int k = 1; k <= 10; ++k) h.window->startDialog()->field(k)->setText("1");
    ClickButton(h.window->startDialog(), "Command_ok");
  };
  typeTwoRows();
  QCOMPARE(g.rows(), 4);
  // Leaving the dialog keeps the grid as it was.
  h.window->openStartDialog();
  ClickButton(h.window->startDialog(), "Command_tuichu");
  QCOMPARE(g.rows(), 4);
  QCOMPARE(g.text(1, 1), QString("A"));
  // Confirming asks whether to keep the observations; 是 (the default) keeps them.
  h.messages.answers = {true};
  confirmFourPoints();
  QCOMPARE(h.messages.lastText(), QString("表格中已有观测数据，是否保留？"));
  QCOMPARE(h.messages.lastTitle(), QString("提示"));
  QCOMPARE(h.messages.shown.back().icon, MessageIcon::Question);
  QCOMPARE(h.messages.defaults.back(), true);
  QCOMPARE(g.text(1, 1), QString("A"));
  // 否 starts a new traverse.
  h.messages.answers = {false};
  confirmFourPoints();
  QCOMPARE(g.rows(), 2);
  QCOMPARE(g.text(1, 0), QString("1"));
  for (int c = 1; c < 10; ++c) QCOMPARE(g.text(1, c), QString());
  // An empty grid is reset without a question.
  const std::size_t asked = h.messages.shown.size();
  confirmFourPoints();
  QCOMPARE(h.messages.shown.size(), asked);
}

void StartDialogTest::unwritableFileKeepsTheDialogOpen() {
  MainWindowHarness h;
  // A folder in the file's place cannot be replaced by the file.
  QFile::remove(h.window->startFilePath());
  QVERIFY(QDir().mkpath(h.window->startFilePath()));
  h.window->openStartDialog();
  StartDialog* d = h.window->startDialog();
  for (int k = 1; k <= 10; ++k) d->field(k)->setText("1");
  ClickButton(d, "Command_ok");
  QCOMPARE(h.messages.shown.size(), size_t(1));
  QCOMPARE(h.messages.lastTitle(), QString("请检查"));
  QVERIFY(h.messages.lastText().contains("text_qssj.ini"));
  QVERIFY(d->isVisible());
  QVERIFY(!h.label("Label7")->isEnabled());
}

void StartDialogTest::pastedTextMustBeANumber() {
  MainWindowHarness h;
  const QByteArray before = [&] {
    QFile f(h.window->startFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();
  h.window->openStartDialog();
  StartDialog* d = h.window->startDialog();
  for (int k = 1; k <= 10; ++k) d->field(k)->setText("1");
  // Pasted texts get past the key filter; each shown field is checked in
  // order, right after its presence check.
  d->field(7)->setText("abc");
  d->field(8)->setText("");
  ClickButton(d, "Command_ok");
  QCOMPARE(h.messages.lastText(), QString("终点 Y：数据输入有误！"));
  QCOMPARE(h.messages.lastTitle(), QString("请检查"));
  QCOMPARE(h.messages.shown.back().icon, MessageIcon::Information);
  QCOMPARE(d->focusWidget(), static_cast<QWidget*>(d->field(7)));
  d->field(7)->setText("2.5");
  d->field(4)->setText("1.2.3");
  ClickButton(d, "Command_ok");
  QCOMPARE(h.messages.lastText(), QString("起点定向 X：数据输入有误！"));
  QCOMPARE(d->focusWidget(), static_cast<QWidget*>(d->field(4)));
  d->field(4)->setText("1");
  ClickButton(d, "Command_ok");
  QCOMPARE(h.messages.lastText(), QString("终点 H：未输入！"));
  QVERIFY(d->isVisible());
  QFile after(h.window->startFilePath());
  QVERIFY(!after.exists() || (after.open(QIODevice::ReadOnly) && after.readAll() == before));
}

QTEST_MAIN(StartDialogTest)
#include "start_dialog_test.moc"
