#pragma once
// Helpers shared by the window tests: message boxes and file dialogs that
// record what they were asked and answer from a queue, a main window in a
// scratch data folder, and pointer and click helpers.
#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <vector>

#include "traverse/simple_adjustment.h"
#include "ui/traverse/main_window.h"
#include "ui/traverse/observation_grid.h"
#include "ui/shell/user_prompts.h"

namespace korvane::testing {

using namespace korvane::ui;

class RecordingMessageBoxes : public MessageBoxes {
 public:
  void inform(QWidget*, const Message& message) override { shown.push_back(message); }
  bool askOkCancel(QWidget*, const Message& question) override {
    shown.push_back(question);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  // A 是/否 question takes the next answer, or its default when none is queued.
  bool askYesNo(QWidget*, const Message& question, bool defaultYes) override {
    shown.push_back(question);
    defaults.push_back(defaultYes);
    if (answers.empty()) return defaultYes;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  // A 是/否/取消 question takes the next of `threeWay`, or 否 when none is queued.
  Answer askYesNoCancel(QWidget*, const Message& question) override {
    shown.push_back(question);
    if (threeWay.empty()) return Answer::No;
    const Answer answer = threeWay.front();
    threeWay.pop_front();
    return answer;
  }
  void about(QWidget*, const QString& title, const QString& text) override {
    aboutTitle = title;
    aboutText = text;
  }
  // The texts of the messages shown so far, in order.
  QStringList texts() const {
    QStringList list;
    for (const Message& m : shown) list << QString::fromStdString(m.text);
    return list;
  }
  QString lastText() const {
    return shown.empty() ? QString() : QString::fromStdString(shown.back().text);
  }
  QString lastTitle() const {
    return shown.empty() ? QString() : QString::fromStdString(shown.back().title);
  }

  std::vector<Message> shown;
  std::deque<bool> answers;
  std::deque<Answer> threeWay;
  std::vector<bool> defaults;  // the default of each 是/否 question asked
  QString aboutTitle, aboutText;
};

class AnsweringFileDialogs : public FileDialogs {
 public:
  QString openFile(QWidget*, const FileDialogRequest& request) override {
    requests.push_back(request);
    return next();
  }
  QString saveFile(QWidget*, const FileDialogRequest& request) override {
    requests.push_back(request);
    return next();
  }
  QString next() {
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<QString> answers;
  std::vector<FileDialogRequest> requests;
};

// A started main window whose start-data file lives in a scratch folder.
struct MainWindowHarness {
  QTemporaryDir dataDir;
  QTemporaryDir programDir;
  RecordingMessageBoxes messages;
  AnsweringFileDialogs files;
  int endRequests = 0;
  std::unique_ptr<MainWindow> window;

  // `adjust` stands in for the engine when given.
  explicit MainWindowHarness(std::function<traverse::SimpleResult(const traverse::SimpleInput&)> adjust = {}) {
    MainWindowEnvironment env;
    env.adjust = std::move(adjust);
    env.messages = &messages;
    env.files = &files;
    env.dataDir = dataDir.path();
    env.programDir = programDir.path();
    env.endProgram = [this] { ++endRequests; };
    window = std::make_unique<MainWindow>(env);
    window->startUp();
    window->show();
    window->activateWindow();
    (void)QTest::qWaitForWindowExposed(window.get());
  }

  template <typename T>
  T* find(const char* name) const {
    T* found = window->findChild<T*>(name);
    if (!found) qFatal("no child named %s", name);
    return found;
  }
  QLabel* label(const char* name) const { return find<QLabel>(name); }
  QPushButton* button(const char* name) const { return find<QPushButton>(name); }
  ObservationGrid& grid() const { return window->observationGrid(); }
};

// The pointer enters a widget.
inline void Enter(QWidget* widget) {
  const QPointF local(3, 3);
  QEnterEvent event(local, local, widget->mapToGlobal(local));
  QApplication::sendEvent(widget, &event);
}

// The pointer moves over the main window's background.
inline void MoveOverBackground(MainWindow& window) {
  // The central widget, or inside the scroll area a small screen puts there.
  QWidget* background = window.findChild<QWidget*>("background");
  const QPointF pos(2, 2);
  QMouseEvent event(QEvent::MouseMove, pos, background->mapToGlobal(pos), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(background, &event);
}

// A click into grid cell (row >= 1, column).
inline void ClickCell(ObservationGrid& grid, int row, int column) {
  QTableWidget* table = grid.grid();
  table->scrollToItem(table->item(row - 1, column));
  const QRect rect = table->visualItemRect(table->item(row - 1, column));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

// Hover command: the pointer enters the label, then the button is clicked.
inline void RunCommand(MainWindowHarness& h, const char* label, const char* button) {
  Enter(h.label(label));
  QPushButton* b = h.button(button);
  Enter(b);
  b->click();
}

// The grid's stations as text rows (columns 0..9).
inline QList<QStringList> GridRows(ObservationGrid& grid) {
  QList<QStringList> rows;
  for (int r = 1; r < grid.rows(); ++r) {
    QStringList row;
    for (int c = 0; c < 10; ++c) row << grid.text(r, c);
    rows << row;
  }
  return rows;
}

// NAME=VALUE pairs separated by ";", as the tables of driven windows give them.
inline QList<QPair<QString, QString>> Pairs(const QString& text) {
  QList<QPair<QString, QString>> pairs;
  for (const QString& item : text.split(';', Qt::SkipEmptyParts)) {
    const qsizetype eq = item.indexOf('=');
    pairs.append({item.left(eq).trimmed(), item.mid(eq + 1).trimmed()});
  }
  return pairs;
}

}  // namespace korvane::testing
