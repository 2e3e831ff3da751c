#pragma once
// The calculator window (Calculator) with its standard and scientific views,
// the edit menu on the display, the keyboard of the display and the help
// window (Help). The arithmetic lives in tools/calculator.h.
#include <QMainWindow>
#include <QPointer>
#include <QWidget>

#include "utilities/calculator.h"

class QGroupBox;
class QLineEdit;
class QMenu;
class QAction;

namespace korvane::ui {

class MessageBoxes;

class CalculatorHelp : public QWidget {
  Q_OBJECT
 public:
  explicit CalculatorHelp(QWidget* parent = nullptr);
};

class CalculatorWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit CalculatorWindow(MessageBoxes& messages, QWidget* parent = nullptr);

  // Presses a key as its button does ("7", "+", "Sin", "Data", ...).
  void press(const QString& key);
  void showStandard();
  void showScientific();
  bool scientific() const { return scientific_; }
  void copy();
  void selectAll();
  void showHelp();
  CalculatorHelp* helpWindow() const { return help_; }
  QMenu* editMenu() const { return editMenu_; }

 signals:
  // 帮助 → 退出: the whole program ends.
  void endProgramRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* buildKeypad();
  QGroupBox* buildFunctions();
  QGroupBox* buildStatistics();
  QGroupBox* buildAngleMode();
  void buildMenus();
  QWidget* key(const char* name, const char* caption, const char* tooltip, const char* engineKey);
  void refreshEditMenu();
  void applyView(bool scientific);

  MessageBoxes& messages_;
  utilities::Calculator calculator_;
  QLineEdit* display_ = nullptr;
  QGroupBox* functions_ = nullptr;
  QGroupBox* statistics_ = nullptr;
  QGroupBox* angleMode_ = nullptr;
  QMenu* editMenu_ = nullptr;
  QAction* copyAction_ = nullptr;
  QPointer<CalculatorHelp> help_;
  bool scientific_ = false;
};

}  // namespace korvane::ui
