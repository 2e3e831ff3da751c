// The pieces the windows are built from, each on its own: the standard and
// grade picker, the hover command column, the option frame, the button row,
// the run of a computation off the interface thread.
#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "standards/tolerance.h"
#include "ui/widgets/background_run.h"
#include "ui/widgets/button_row.h"
#include "ui/widgets/hover_command.h"
#include "ui/widgets/option_group.h"
#include "ui/widgets/standard_grade_picker.h"

using namespace korvane;
using namespace korvane::ui;

class WidgetKitTest : public QObject {
  Q_OBJECT
 private slots:
  void pickerOffersTheGradesOfTheChosenStandard();
  void hoverColumnShowsTheButtonOfAnEnabledCaptionOnly();
  void optionGroupAndButtonRowAnswerByPlace();
  void workOffTheInterfaceEndsDoneCancelledOrFailed();
};

void WidgetKitTest::pickerOffersTheGradesOfTheChosenStandard() {
  QWidget window;
  auto* picker = new StandardGradePicker(&window);
  auto* check = picker->findChild<QCheckBox*>("Ch1");
  auto* standard = picker->findChild<QComboBox*>("Co1");
  auto* grade = picker->findChild<QComboBox*>("Co2");
  window.show();
  QVERIFY(!picker->checkWanted());
  QVERIFY(!standard->isVisible() && !grade->isVisible());
  check->setChecked(true);
  QVERIFY(picker->checkWanted());
  QVERIFY(standard->isVisible() && grade->isVisible());
  QSignalSpy changed(picker, &StandardGradePicker::choiceChanged);
  // Every standard brings its own grades; the code follows what is shown.
  for (const std::string& name : standards::Standards()) {
    standard->setCurrentIndex(-1);  // so that choosing `name` is a change
    standard->setCurrentText(QString::fromStdString(name));
    const standards::GradeChoice choice = standards::GradesForStandard(name);
    QCOMPARE(grade->count(), static_cast<int>(choice.items.size()));
    QCOMPARE(grade->currentText().toStdString(), choice.text);
    QCOMPARE(picker->toleranceCode(), standards::ToleranceCode(name, choice.text));
  }
  QVERIFY(changed.count() >= static_cast<int>(standards::Standards().size()));
  // A grade typed by hand counts as well.
  const int before = changed.count();
  grade->setEditText("typed");
  QCOMPARE(changed.count(), before + 1);
  QCOMPARE(picker->toleranceCode(), standards::ToleranceCode(standard->currentText().toStdString(), "typed"));
}

void WidgetKitTest::hoverColumnShowsTheButtonOfAnEnabledCaptionOnly() {
  QWidget window;
  std::vector<HoverLabel*> heard;
  HoverCommandColumn column(&window, [&](HoverLabel* label) {
    heard.push_back(label);
    ShowButton(*column.pairOf(label));
  });
  const HoverPair first = column.add("La", "a", "甲");
  const HoverPair shared = column.addToLastPlace("Lb", "b", "乙");
  const HoverPair other = column.add("Lc", "c", "丙", "丙丙");
  window.setLayout(column.finish());
  window.show();
  QCOMPARE(first.label->parentWidget(), shared.label->parentWidget());
  QVERIFY(first.label->parentWidget() != other.label->parentWidget());
  QCOMPARE(other.button->text(), QString::fromUtf8("丙丙"));
  QVERIFY(other.label->text().endsWith(QString::fromUtf8("丙")));
  other.label->setEnabled(false);
  for (const HoverPair& p : {first, other}) {
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(p.label, &enter);
  }
  QCOMPARE(heard, std::vector<HoverLabel*>{first.label});
  QVERIFY(first.button->isVisible() && !first.label->isVisible());
  QVERIFY(!other.button->isVisible());
  column.showCaptions();
  QVERIFY(!first.button->isVisible() && first.label->isVisible());
}

void WidgetKitTest::optionGroupAndButtonRowAnswerByPlace() {
  QWidget window;
  auto* options = new OptionGroup("frame", "选择", QBoxLayout::LeftToRight, &window);
  QRadioButton* a = options->add("Option_a", "甲");
  QRadioButton* b = options->add("Option_b", "乙");
  QVERIFY(a->isChecked());
  QCOMPARE(options->chosen(), 0);
  b->click();
  QCOMPARE(options->chosen(), 1);
  QVERIFY(!a->isChecked());

  QStringList clicked;
  auto* row = new ButtonRow(&window);
  QPushButton* one = row->add("one", "一", [&] { clicked << "one"; });
  QPushButton* two = row->add("two", "二", [&] { clicked << "two"; });
  two->click();
  one->click();
  QCOMPARE(clicked, (QStringList{"two", "one"}));
  QCOMPARE(one->parentWidget(), row);
}

void WidgetKitTest::workOffTheInterfaceEndsDoneCancelledOrFailed() {
  QWidget window;
  window.show();
  // Quick work: its result, no dialog, the window usable again.
  const std::optional<int> quick = RunOffInterface(&window, "…", [](const std::atomic<bool>&) { return 42; });
  QCOMPARE(quick, std::optional<int>(42));
  QVERIFY(window.isEnabled());
  QVERIFY(!window.findChild<QProgressDialog*>());
  // Work that goes on until stopped: the dialog comes up, 取消 stops the work
  // (which sees the flag) and drops its result.
  bool seenDialog = false;
  QTimer::singleShot(kProgressDelayMs + 300, &window, [&] {
    auto* dialog = window.findChild<QProgressDialog*>("progressDialog");
    seenDialog = dialog && dialog->isVisible();
    if (auto* cancel = dialog ? dialog->findChild<QPushButton*>() : nullptr) cancel->click();
  });
  std::atomic<bool> sawStop{false};
  const auto start = std::chrono::steady_clock::now();
  const std::optional<int> stopped = RunOffInterface(&window, "…", [&](const std::atomic<bool>& stop) {
    while (!stop && std::chrono::steady_clock::now() - start < std::chrono::seconds(20))
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    sawStop = stop.load();
    return 7;
  });
  QVERIFY(seenDialog);
  QVERIFY(sawStop);
  QVERIFY(!stopped);
  // A failure of the work reaches the caller.
  bool thrown = false;
  try {
    RunOffInterface(&window, "…", [](const std::atomic<bool>&) -> int { throw std::runtime_error("no memory"); });
  } catch (const std::runtime_error&) {
    thrown = true;
  }
  QVERIFY(thrown);
}

QTEST_MAIN(WidgetKitTest)
#include "widget_kit_test.moc"
