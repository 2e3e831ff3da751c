// The help: the manual compiled into the program parses, its links lead
// somewhere, every batch command and every live menu entry of the main
// window has its section, and 帮助 shows one help window.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

#include "ui/help/help_window.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::testing;

namespace {

// The manual as the help window's browser holds it.
struct Manual {
  QTextDocument document;
  QSet<QString> anchors;    // names a link can lead to
  QStringList links;        // every link inside the manual ("#name")
  QStringList headings;     // the text of every heading
};

void ReadManual(Manual& manual) {
  QFile file(HelpDocumentUrl().toString().mid(3));  // "qrc:/…" → ":/…"
  QVERIFY2(file.open(QIODevice::ReadOnly), "the manual is not among the program's resources");
  const QByteArray bytes = file.readAll();
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString html = utf8(bytes);
  QVERIFY2(!utf8.hasError(), "the manual is no valid UTF-8");
  QVERIFY(html.contains("<meta charset=\"utf-8\">"));
  manual.document.setHtml(html);
  for (QTextBlock block = manual.document.begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() > 0) manual.headings << block.text();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (!format.isAnchor()) continue;
      for (const QString& name : format.anchorNames()) manual.anchors.insert(name);
      if (!format.anchorHref().isEmpty()) manual.links << format.anchorHref();
    }
  }
}

bool HeadingMentions(const Manual& manual, const QString& text) {
  for (const QString& heading : manual.headings)
    if (heading.contains(text)) return true;
  return false;
}

// The commands korvane-cli lists in its own help, in its order.
QStringList CliCommands() {
  QProcess cli;
  cli.start(KORVANE_CLI, {"--help"});
  if (!cli.waitForFinished(30000) || cli.exitCode() != 0) return {};
  QStringList names;
  static const QRegularExpression usage("^  korvane-cli (\\S+)");
  for (const QString& line : QString::fromUtf8(cli.readAllStandardOutput()).split('\n')) {
    const QRegularExpressionMatch match = usage.match(line);
    if (match.hasMatch()) names << match.captured(1);
  }
  return names;
}

// The live entries of every menu of the main window, drop-downs included.
void MenuEntries(const QList<QAction*>& actions, QStringList& entries) {
  for (QAction* action : actions) {
    if (action->menu()) {
      MenuEntries(action->menu()->actions(), entries);
    } else if (action->isEnabled() && !action->text().isEmpty()) {
      entries << action->text().remove('&');
    }
  }
}

QList<HelpWindow*> HelpWindows() {
  QList<HelpWindow*> found;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* help = qobject_cast<HelpWindow*>(window)) found << help;
  return found;
}

}  // namespace

class HelpWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void everyLinkOfTheManualLeadsToASection();
  void everyBatchCommandHasASection();
  void everyMenuEntryOfTheMainWindowHasASection();
  void helpShowsOneWindowAndRaisesItAgain();
};

void HelpWindowTest::everyLinkOfTheManualLeadsToASection() {
  Manual manual;
  ReadManual(manual);
  QVERIFY(manual.anchors.contains("contents"));
  // The contents alone link to every window, format and command.
  QVERIFY2(manual.links.size() > 40, qPrintable(QString::number(manual.links.size())));
  for (const QString& link : manual.links) {
    QVERIFY2(link.startsWith('#'), qPrintable("a link out of the manual: " + link));
    QVERIFY2(manual.anchors.contains(link.mid(1)), qPrintable("no section named " + link));
  }
}

void HelpWindowTest::everyBatchCommandHasASection() {
  const QStringList commands = CliCommands();
  QVERIFY2(commands.size() >= 10, qPrintable(commands.join(' ')));
  Manual manual;
  ReadManual(manual);
  for (const QString& name : commands) {
    QVERIFY2(manual.anchors.contains("cli-" + name), qPrintable("no section cli-" + name));
    QVERIFY2(HeadingMentions(manual, "korvane-cli " + name), qPrintable("no heading for korvane-cli " + name));
  }
}

void HelpWindowTest::everyMenuEntryOfTheMainWindowHasASection() {
  MainWindowHarness h;
  QStringList entries;
  MenuEntries(h.window->menuBar()->actions(), entries);
  QVERIFY2(entries.size() >= 20, qPrintable(entries.join(' ')));
  Manual manual;
  ReadManual(manual);
  for (const QString& entry : entries)
    QVERIFY2(HeadingMentions(manual, entry), qPrintable("no heading mentions the menu entry " + entry));
}

void HelpWindowTest::helpShowsOneWindowAndRaisesItAgain() {
  MainWindowHarness h;
  QAction* help = h.window->findChild<QAction*>("mune_help");
  QVERIFY(HelpWindows().isEmpty());
  help->trigger();
  QCOMPARE(HelpWindows().size(), 1);
  HelpWindow* shown = HelpWindows().front();
  QCOMPARE(shown->objectName(), QString("helpWindow"));
  QCOMPARE(shown->windowTitle(), QString("Korvane 帮助"));
  QVERIFY(shown->isVisible());
  QVERIFY(h.messages.shown.empty());
  QVERIFY(shown->browser()->toPlainText().contains("korvane-cli traverse"));

  // A link of the contents is followed; 帮助 again raises the same window
  // where it was left, also after it was closed.
  shown->showSection("cli-traverse");
  QCOMPARE(shown->browser()->source().fragment(), QString("cli-traverse"));
  help->trigger();
  QCOMPARE(HelpWindows(), QList<HelpWindow*>{shown});
  shown->close();
  QVERIFY(!shown->isVisible());
  help->trigger();
  QCOMPARE(HelpWindows(), QList<HelpWindow*>{shown});
  QVERIFY(shown->isVisible());
  QCOMPARE(shown->browser()->source().fragment(), QString("cli-traverse"));
  QVERIFY(h.messages.shown.empty());
}

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
