// The geodetic window opened from the main menu: the boxes, the six buttons,
// the ellipsoid frame, the exact solution beside the series and the inverse page.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include "ui/geodesy/geodetic_window.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::testing;

class GeodeticWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void opensOnceFromTheMenu();
  void computesTheTextbookLine();
  void ellipsoidSwitchChangesTheResult();
  void clearButtonsEmptyTheirBoxes();
  void refusalShowsAMessageAndComputesNothing();
  void inversePageGivesBackTheLine();
  void leavingShowsTheMainWindowOrEndsTheProgram();
};

namespace {

GeodeticWindow* Open(MainWindowHarness& h) {
  h.window->findChild<QAction*>("zs")->trigger();
  GeodeticWindow* w = h.window->shell().window<GeodeticWindow>("geodetic");
  if (!w) qFatal("the geodetic window did not open");
  return w;
}

QLineEdit* Box(GeodeticWindow* w, const char* name) {
  auto* box = w->findChild<QLineEdit*>(name);
  if (!box) qFatal("no box %s", name);
  return box;
}

void Type(GeodeticWindow* w, std::initializer_list<std::pair<const char*, const char*>> values) {
  for (auto [name, text] : values) Box(w, name)->setText(QString::fromUtf8(text));
}

void Click(GeodeticWindow* w, const char* name) { w->findChild<QPushButton*>(name)->click(); }

void TypeTextbookLine(GeodeticWindow* w) {
  Type(w, {{"Text_B1", "47.46526470"}, {"Text_A12", "44.1213664"}, {"Text_L1", "35.49363300"},
           {"Text_S12", "44797.2826"}});
}

}  // namespace

void GeodeticWindowTest::opensOnceFromTheMenu() {
  MainWindowHarness h;
  GeodeticWindow* w = Open(h);
  QVERIFY(w->isVisible());
  QCOMPARE(w->objectName(), QString("ddztzs"));
  QCOMPARE(w->windowTitle(), QString::fromUtf8("大地主题正算"));
  QVERIFY(w->findChild<QRadioButton*>("Option_ks")->isChecked());
  QCOMPARE(Box(w, "Text_B1")->toolTip(), QString::fromUtf8("角度输入格式例：8度08分2.36秒则输入：8.080236"));
  QCOMPARE(Box(w, "Text_S12")->toolTip(), QString::fromUtf8("S以米为单位"));
  QCOMPARE(Box(w, "Text_A21")->toolTip(), QString::fromUtf8("角度输出格式例：8.08088888为8度08分08.8888秒"));
  const QStringList captions = {"计算", "清空输入", "清空结果", "全部清空", "退出子程序", "退出主程序"};
  const char* names[] = {"js", "qksr", "qkjg", "qbqk", "tczcx", "tczhcx"};
  for (int i = 0; i < 6; ++i) QCOMPARE(w->findChild<QPushButton*>(names[i])->text(), captions[i]);
  Type(w, {{"Text_B1", "30"}});
  h.window->findChild<QAction*>("zs")->trigger();
  QCOMPARE(h.window->shell().window<GeodeticWindow>("geodetic"), w);
  QCOMPARE(Box(w, "Text_B1")->text(), QString("30"));
}

void GeodeticWindowTest::computesTheTextbookLine() {
  MainWindowHarness h;
  GeodeticWindow* w = Open(h);
  TypeTextbookLine(w);
  Click(w, "js");
  QCOMPARE(Box(w, "Text_B2")->text(), QString("48.04096384"));
  QCOMPARE(Box(w, "Text_L2")->text(), QString("36.14450505"));
  QVERIFY(!Box(w, "Text_A21")->text().isEmpty());
  // A 45 km line: the exact solution agrees to the last printed digit or so.
  QVERIFY(Box(w, "Text_B2_exact")->text().startsWith("48.040963"));
  QVERIFY(Box(w, "Text_L2_exact")->text().startsWith("36.144505"));
  QVERIFY(Box(w, "Text_diff")->text().toDouble() < 0.05);
  QVERIFY(h.messages.shown.empty());
}

void GeodeticWindowTest::ellipsoidSwitchChangesTheResult() {
  MainWindowHarness h;
  GeodeticWindow* w = Open(h);
  TypeTextbookLine(w);
  Click(w, "js");
  const QString krassovsky = Box(w, "Text_B2")->text();
  for (const char* option : {"Option_iag75", "Option_cgcs2000", "Option_wgs84"}) {
    w->findChild<QRadioButton*>(option)->click();
    Click(w, "js");
    QVERIFY2(Box(w, "Text_B2")->text() != krassovsky, option);
    QVERIFY2(Box(w, "Text_B2")->text().startsWith("48.0409"), option);
  }
  w->findChild<QRadioButton*>("Option_ks")->click();
  Click(w, "js");
  QCOMPARE(Box(w, "Text_B2")->text(), krassovsky);
}

void GeodeticWindowTest::clearButtonsEmptyTheirBoxes() {
  MainWindowHarness h;
  GeodeticWindow* w = Open(h);
  TypeTextbookLine(w);
  Click(w, "js");
  Click(w, "qkjg");
  for (const char* out : {"Text_B2", "Text_L2", "Text_A21", "Text_B2_exact", "Text_diff"})
    QVERIFY2(Box(w, out)->text().isEmpty(), out);
  QCOMPARE(Box(w, "Text_B1")->text(), QString("47.46526470"));
  Click(w, "js");
  Click(w, "qksr");
  for (const char* in : {"Text_B1", "Text_A12", "Text_L1", "Text_S12"}) QVERIFY2(Box(w, in)->text().isEmpty(), in);
  QVERIFY(!Box(w, "Text_B2")->text().isEmpty());
  TypeTextbookLine(w);
  Click(w, "qbqk");
  for (const char* any : {"Text_B1", "Text_S12", "Text_B2", "Text_A21"}) QVERIFY2(Box(w, any)->text().isEmpty(), any);
}

void GeodeticWindowTest::refusalShowsAMessageAndComputesNothing() {
  MainWindowHarness h;
  GeodeticWindow* w = Open(h);
  Type(w, {{"Text_B1", "90"}, {"Text_A12", "10"}, {"Text_L1", "10"}, {"Text_S12", "100"}});
  Click(w, "js");
  QCOMPARE(h.messages.lastText(), QString::fromUtf8("纬度必须小于90度！"));
  QCOMPARE(h.messages.lastTitle(), QString::fromUtf8("提示"));
  QCOMPARE(h.messages.shown.back().icon, MessageIcon::Information);
  QVERIFY(Box(w, "Text_B2")->text().isEmpty());
  Type(w, {{"Text_B1", "30"}, {"Text_S12", "-5"}});
  Click(w, "js");
  QCOMPARE(h.messages.lastText(), QString::fromUtf8("距离不能为负！"));
}

void GeodeticWindowTest::inversePageGivesBackTheLine() {
  MainWindowHarness h;
  GeodeticWindow* w = Open(h);
  w->findChild<QTabWidget*>("tabs")->setCurrentIndex(1);
  QVERIFY(w->inverseShown());
  QCOMPARE(w->windowTitle(), QString::fromUtf8("大地主题反算"));
  Type(w, {{"Text_fs_B1", "47.46526470"}, {"Text_fs_L1", "35.49363300"}, {"Text_fs_B2", "48.04096384"},
           {"Text_fs_L2", "36.14450505"}});
  QTest::keyClick(Box(w, "Text_fs_L2"), Qt::Key_Return);
  QCOMPARE(Box(w, "Text_fs_S12")->text(), QString("44797.283"));
  QVERIFY(Box(w, "Text_fs_A12")->text().startsWith("44.121366"));
  Click(w, "qkjg");
  QVERIFY(Box(w, "Text_fs_S12")->text().isEmpty());
  QCOMPARE(Box(w, "Text_fs_B1")->text(), QString("47.46526470"));
  Click(w, "qksr");
  QVERIFY(Box(w, "Text_fs_B1")->text().isEmpty());
}

void GeodeticWindowTest::leavingShowsTheMainWindowOrEndsTheProgram() {
  MainWindowHarness h;
  GeodeticWindow* w = Open(h);
  h.window->hide();
  Click(w, "tczcx");
  QTRY_VERIFY(h.window->shell().window<GeodeticWindow>("geodetic") == nullptr);
  QVERIFY(h.window->isVisible());
  QCOMPARE(h.endRequests, 0);
  w = Open(h);
  QVERIFY(w->findChild<QRadioButton*>("Option_ks")->isChecked());
  Click(w, "tczhcx");
  QCOMPARE(h.endRequests, 1);
}

QTEST_MAIN(GeodeticWindowTest)
#include "geodetic_window_test.moc"
