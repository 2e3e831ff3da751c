// A computation that throws (memory running out above all) ends with a
// message; the window keeps the surveyor's data and computes again. The
// program's application object does the same for any event handler.
#include <QFile>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "ui/shell/guarded_application.h"
#include "ui/traverse/start_dialog.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::traverse;
using namespace korvane::ui;
using namespace korvane::testing;

namespace {

// An engine that fails while `failure` is set and then computes as usual.
struct FailingEngine {
  std::exception_ptr failure;
  SimpleResult operator()(const SimpleInput& input) const {
    if (failure) std::rethrow_exception(failure);
    return AdjustTraverse(input);
  }
};

class ThrowingObject : public QObject {
 public:
  bool event(QEvent*) override { throw std::runtime_error("no room for the sketch"); }
};

}  // namespace

class ExceptionHandlerTest : public QObject {
  Q_OBJECT
 private slots:
  void failedComputationKeepsTheData();
  void failedEventEndsWithAMessage();
};

void ExceptionHandlerTest::failedComputationKeepsTheData() {
  auto engine = std::make_shared<FailingEngine>();
  MainWindowHarness h([engine](const SimpleInput& input) { return (*engine)(input); });
  const QString example = QString(KORVANE_EXAMPLES) + "/no_orientation";
  QFile::remove(h.window->startFilePath());
  QVERIFY(QFile::copy(example + ".ini", h.window->startFilePath()));
  QFile(h.window->startFilePath()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  h.find<QRadioButton>("wdxdx")->click();
  h.window->openStartDialog();
  h.window->startDialog()->reloadLast();
  h.window->startDialog()->confirm();
  h.files.answers.push_back(example + ".dat");
  RunCommand(h, "Label7", "command_dk");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  const QList<QStringList> typed = GridRows(h.grid());
  QVERIFY(typed.size() > 1);
  auto* pane = h.find<QPlainTextEdit>("RichTextBox1");

  const std::pair<std::exception_ptr, QString> failures[] = {
      {std::make_exception_ptr(std::bad_alloc()), "内存不足，无法完成这一操作。已输入的数据保持不变。"},
      // The library's own English texts are not shown; a system error is named.
      {std::make_exception_ptr(std::length_error("vector")),
       "无法完成这一操作：程序内部错误。已输入的数据保持不变。"},
      {std::make_exception_ptr(std::filesystem::filesystem_error(
           "filesystem error: cannot copy", std::make_error_code(std::errc::no_space_on_device))),
       "无法完成这一操作：磁盘已满。已输入的数据保持不变。"},
  };
  for (const auto& [failure, text] : failures) {
    engine->failure = failure;
    h.messages.shown.clear();
    RunCommand(h, "Label10", "js2");
    QCOMPARE(h.messages.texts(), QStringList{text});
    QCOMPARE(h.messages.lastTitle(), QString("抱歉"));
    QCOMPARE(GridRows(h.grid()), typed);
    QVERIFY(h.grid().grid()->isVisible());
    QVERIFY(!pane->isVisible());
    QVERIFY(h.button("js2")->isVisible());
  }

  // Once the memory is there again the same data compute.
  engine->failure = nullptr;
  h.messages.shown.clear();
  RunCommand(h, "Label10", "js2");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QVERIFY(pane->isVisible());
  QVERIFY(pane->toPlainText().contains("平差成果表"));
}

void ExceptionHandlerTest::failedEventEndsWithAMessage() {
  auto* app = static_cast<GuardedApplication*>(QCoreApplication::instance());
  RecordingMessageBoxes messages;
  app->messages = &messages;
  ThrowingObject failing;
  QEvent event(QEvent::User);
  QVERIFY(!QCoreApplication::sendEvent(&failing, &event));
  app->messages = nullptr;
  QCOMPARE(messages.texts(), QStringList{"无法完成这一操作：程序内部错误。已输入的数据保持不变。"});
  QCOMPARE(messages.lastTitle(), QString("抱歉"));
}

int main(int argc, char** argv) {
  GuardedApplication app(argc, argv);
  ExceptionHandlerTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "exception_handler_test.moc"
