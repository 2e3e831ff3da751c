#pragma once
// The total-station window (Form_qzy): reads a point file into the source
// pane, lets the surveyor choose and order the columns, converts the pane's
// current text and appends the result to a file.
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;

class TotalStationWindow : public QWidget {
  Q_OBJECT
 public:
  TotalStationWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent = nullptr);

  // Centres the window, selects the first page and greets in the status bar.
  void open();

  // The commands, as their buttons run them.
  void readData();      // 读入数据
  void execute();       // 执行操作
  void save();          // 保    存
  void moveUp();        // 上移
  void moveDown();      // 下移
  void deleteColumn();  // double-click in List1
  void restoreColumn(); // double-click in List2
  void tickClock();

  // The columns of List1 in output order.
  std::vector<int> columns() const;
  QString statusText() const;

  // Asked before "退   出" leaves the program; false keeps the window open.
  void setLeaveGuard(std::function<bool()> guard) { leaveGuard_ = std::move(guard); }

  // Largest file the source pane takes.
  static constexpr long long kMaxReadBytes = 64LL << 20;

 signals:
  // "退   出": the program is left through the goodbye window.
  void endProgramRequested();
  // Closed by its frame: the main window comes back.
  void leaveToolRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildConversionPage();
  QWidget* buildColumnsPanel();
  void buildStatusBar();
  void moveColumn(int step);

  MessageBoxes& messages_;
  FileDialogs& files_;
  QTabWidget* tabs_;
  QPlainTextEdit* source_;
  QPlainTextEdit* result_;
  QListWidget* columns_;
  QListWidget* deleted_;
  QLabel* deletedLabel_;
  QProgressBar* readBar_;
  QProgressBar* writeBar_;
  QLabel* panels_[4];
  QTimer* clock_;
  bool exiting_ = false;
  std::function<bool()> leaveGuard_;
};

}  // namespace korvane::ui
