#pragma once
// The file splitter window (form2): the split page, the merge page with its
// drive, folder and file lists, and the about page. Splitting and merging run
// off the interface thread with progress and a cancel button.
#include <QString>
#include <QWidget>

#include <atomic>
#include <functional>
#include <cstdint>

#include "utilities/file_splitter.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QThread;
class QTimer;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;

class SplitterWindow : public QWidget {
  Q_OBJECT
 public:
  SplitterWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent = nullptr);
  ~SplitterWindow() override;

  // Centres the window on the merge page with "1.44M" in force.
  void open();

  // The commands, as their controls run them.
  void browseSource();       // browse button beside Text1
  void sourceLeft();         // Text1 loses the focus
  void startSplit();         // 开始分割
  void startMerge();         // 开始合并
  void cancel();             // 取消
  void addFilesToMerge();    // 添加文件供合并
  void addFile(const QString& path);  // the "001" rule
  void moveUp();
  void moveDown();
  void clearMergeList();     // 清空合并文件
  void selectDrive(int index);
  void enterFolder(const QString& folder);
  void refreshFiles();

  bool busy() const { return worker_ != nullptr; }
  QString currentFolder() const { return folder_; }
  QString statusText() const;

  // The farewell text shown after a merge.
  static QString MyString();

 signals:
  // Closed: the main window comes back.
  void leaveToolRequested();
  // A split or merge ended (done, refused in the run, failed or cancelled).
  void operationFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildSplitPage();
  QWidget* buildMergePage();
  QWidget* buildMergeLists(QWidget* page);
  QWidget* buildAboutPage();
  void buildStatusBar();
  utilities::AskYesNo asker();
  void showRefusal(const utilities::SplitterOutcome& outcome);
  void run(bool splitting, std::function<utilities::SplitterOutcome(const utilities::SplitProgress&)> work);
  void finish(bool splitting, const utilities::SplitterOutcome& outcome);
  void updateProgress();
  void setWorking(bool working);
  void showSourceSize(const QString& path);

  MessageBoxes& messages_;
  FileDialogs& files_;
  QTabWidget* tabs_;
  QLineEdit *source_, *target_, *customSize_, *mergeTarget_;
  QRadioButton *floppy_, *custom_;
  QLabel* kbLabel_;
  QPushButton *splitButton_, *mergeButton_, *splitCancel_, *mergeCancel_;
  QProgressBar *splitBar_, *mergeBar_;
  QComboBox *drives_, *patterns_;
  QLabel* folderLabel_;
  QListWidget *folders_, *fileList_, *mergeList_;
  QLabel* panels_[6];
  QTimer* clock_;
  QTimer* progressTimer_;
  QString folder_;
  QThread* worker_ = nullptr;
  bool splitting_ = false;
  utilities::SplitPlan splitPlan_;
  utilities::SplitterOutcome outcome_;
  std::atomic<std::int64_t> done_{0}, total_{1};
  std::atomic<bool> cancel_{false};
};

}  // namespace korvane::ui
