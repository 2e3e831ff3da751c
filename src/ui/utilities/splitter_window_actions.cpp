// The commands of the file splitter window: split, merge, the merge list and
// the folder browsing of the merge page.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

#include "core/numbers.h"
#include "utilities/piece_names.h"
#include "ui/utilities/splitter_window.h"
#include "ui/shell/user_prompts.h"

namespace korvane::ui {

void SplitterWindow::browseSource() {
  const QString path = files_.openFile(
      this, FileDialogRequest{QString::fromUtf8("请打开一个要分割的文件"),
                              {QString::fromUtf8("执行文件[*.exe] (*.exe)"),
                               QString::fromUtf8("压缩文件[*.zip;*.arj;*.rar] (*.zip *.rar *.arj)"),
                               QString::fromUtf8("图片文件[*.bmp,*.jpg,*.gif] (*.bmp *.jpg *.gif)"),
                               QString::fromUtf8("所有文件[*.*] (*)")},
                              QDir::homePath(), {}});
  if (path.isEmpty()) return;
  source_->setText(path);
  target_->setText(QString::fromStdString(utilities::ProposeBaseName(path.toStdString())));
  showSourceSize(path);
}

void SplitterWindow::showSourceSize(const QString& path) {
  const std::string kb = NumberText(static_cast<double>(QFileInfo(path).size()) / 1024.0);
  panels_[0]->setText(QString::fromUtf8("文件大小:") + QString::fromStdString(kb) + "K");
}

void SplitterWindow::sourceLeft() {
  const QString path = source_->text();
  if (path.isEmpty()) panels_[0]->setText(QString::fromUtf8("请输入文件名！"));
  else if (QFileInfo(path).isFile()) showSourceSize(path);
}

utilities::AskYesNo SplitterWindow::asker() {
  return [this](const Message& question, utilities::QuestionKind kind) {
    return messages_.askYesNo(this, question, kind != utilities::QuestionKind::Replace);
  };
}

void SplitterWindow::showRefusal(const utilities::SplitterOutcome& outcome) {
  if (outcome.status == utilities::SplitterStatus::Refused) messages_.inform(this, outcome.message);
  QLineEdit* box = nullptr;
  switch (outcome.focus) {
    case utilities::SplitterField::Source: box = source_; break;
    case utilities::SplitterField::Target: box = target_; break;
    case utilities::SplitterField::PieceSize: box = customSize_; break;
    case utilities::SplitterField::MergeTarget: box = mergeTarget_; break;
    default: break;
  }
  if (box) {
    box->setFocus();
    box->selectAll();
  }
}

void SplitterWindow::startSplit() {
  if (busy()) return;
  const utilities::SplitRequest request{source_->text().toStdString(), target_->text().toStdString(),
                             custom_->isChecked(), customSize_->text().toStdString()};
  utilities::SplitPlan plan;
  const utilities::SplitterOutcome checked = CheckSplit(request, asker(), plan);
  if (checked.status != utilities::SplitterStatus::Ready) return showRefusal(checked);
  mergeList_->clear();
  splitPlan_ = plan;
  // This split clears what the one cut off left.
  if (plan.unfinished) panels_[0]->setText(QString::fromUtf8(utilities::kUnfinishedText));
  run(true, [plan](const utilities::SplitProgress& progress) { return RunSplit(plan, progress); });
}

void SplitterWindow::startMerge() {
  if (busy()) return;
  utilities::MergeRequest request{mergeTarget_->text().toStdString(), {}};
  for (int i = 0; i < mergeList_->count(); ++i) request.pieces.push_back(mergeList_->item(i)->text().toStdString());
  utilities::MergePlan plan;
  const utilities::SplitterOutcome checked = CheckMerge(request, asker(), plan);
  if (checked.status != utilities::SplitterStatus::Ready) return showRefusal(checked);
  run(false, [plan](const utilities::SplitProgress& progress) { return RunMerge(plan, progress); });
}

// Runs the operation on a worker thread; the interface polls its progress.
void SplitterWindow::run(bool splitting, std::function<utilities::SplitterOutcome(const utilities::SplitProgress&)> work) {
  splitting_ = splitting;
  done_ = 0;
  total_ = 1;
  cancel_ = false;
  setWorking(true);
  worker_ = QThread::create([this, work] {
    outcome_ = work([this](std::int64_t done, std::int64_t total) {
      done_ = done;
      total_ = total > 0 ? total : 1;
      return !cancel_.load();
    });
  });
  connect(worker_, &QThread::finished, this, [this] {
    worker_->deleteLater();
    worker_ = nullptr;
    finish(splitting_, outcome_);
  });
  QApplication::setOverrideCursor(Qt::BusyCursor);
  progressTimer_->start();
  worker_->start();
}

void SplitterWindow::finish(bool splitting, const utilities::SplitterOutcome& outcome) {
  progressTimer_->stop();
  QApplication::restoreOverrideCursor();
  setWorking(false);
  splitBar_->setValue(0);
  mergeBar_->setValue(0);
  if (outcome.status == utilities::SplitterStatus::Cancelled) {
    panels_[0]->setText(QString::fromUtf8(splitting ? "分割已取消，未留下分块文件。" : "合并已取消，原有文件未改动。"));
  } else if (outcome.status != utilities::SplitterStatus::Done) {
    if (splitting) tabs_->setCurrentIndex(0);
    messages_.inform(this, outcome.message);
  } else if (splitting) {
    for (std::int64_t k = 1; k <= splitPlan_.count; ++k)
      mergeList_->addItem(QString::fromStdString(utilities::PieceName(splitPlan_.base, k)));
    mergeTarget_->setText(QString::fromStdString(splitPlan_.merged));
    // The folder list moves to the pieces, so that they are in view.
    enterFolder(QFileInfo(QString::fromStdString(splitPlan_.base)).absolutePath());
    tabs_->setCurrentIndex(1);
    messages_.inform(this, outcome.message);
  } else {
    panels_[0]->setText(MyString());
    messages_.inform(this, outcome.message);
  }
  emit operationFinished();
}

void SplitterWindow::updateProgress() {
  const int value = static_cast<int>(done_.load() * 1000 / std::max<std::int64_t>(total_.load(), 1));
  (splitting_ ? splitBar_ : mergeBar_)->setValue(std::clamp(value, 0, 1000));
}

void SplitterWindow::setWorking(bool working) {
  splitButton_->setEnabled(!working);
  mergeButton_->setEnabled(!working);
  splitCancel_->setVisible(working && splitting_);
  mergeCancel_->setVisible(working && !splitting_);
}

void SplitterWindow::cancel() { cancel_ = true; }

void SplitterWindow::addFilesToMerge() {
  const QString path = files_.openFile(
      this, FileDialogRequest{QString::fromUtf8("添加文件供合并"),
                              {QString::fromUtf8("一次分割文件[*.001] (*.001)"),
                               QString::fromUtf8("多次分割文件[*.002,*.003,*.004,*.005,*.006,*.007,*.008,*.009] "
                                                 "(*.002 *.003 *.004 *.005 *.006 *.007 *.008 *.009)"),
                               QString::fromUtf8("所有文件[*.*] (*)")},
                              folder_, {}});
  if (!path.isEmpty()) addFile(path);
}

void SplitterWindow::addFile(const QString& path) {
  const std::string base = utilities::PieceBase(path.toStdString());
  if (!base.empty() && utilities::SplitUnfinished(base))
    return messages_.inform(this, Message{utilities::kUnfinishedText, utilities::kSplitterTitle, MessageIcon::Warning});
  const std::vector<std::string> pieces = utilities::PiecesToAdd(path.toStdString());
  bool repeated = false;
  for (const std::string& piece : pieces) {
    const QString name = QString::fromStdString(piece);
    if (!mergeList_->findItems(name, Qt::MatchExactly).isEmpty()) {
      repeated = true;
      continue;
    }
    mergeList_->addItem(name);
  }
  if (utilities::FileNameOf(path.toStdString()).find("001") != std::string::npos && !utilities::CollectPieces(path.toStdString()).empty())
    mergeTarget_->setText(QString::fromStdString(utilities::MergedName(pieces.front())));
  if (repeated)
    messages_.inform(this, Message{"该文件已存在列表中!", utilities::kSplitterTitle, MessageIcon::Information});
}

void SplitterWindow::moveUp() {
  const int row = mergeList_->currentRow();
  if (row <= 0) return;
  mergeList_->insertItem(row - 1, mergeList_->takeItem(row));
  mergeList_->setCurrentRow(row - 1);
}

void SplitterWindow::moveDown() {
  const int row = mergeList_->currentRow();
  if (row < 0 || row + 1 >= mergeList_->count()) return;
  mergeList_->insertItem(row + 1, mergeList_->takeItem(row));
  mergeList_->setCurrentRow(row + 1);
}

void SplitterWindow::clearMergeList() { mergeList_->clear(); }

void SplitterWindow::selectDrive(int index) {
  const QString root = drives_->itemText(index);
  if (!QDir(root).isReadable()) {
    messages_.inform(this, Message{"无法访问：" + root.toStdString() + "。设备没有准备好！", "错误",
                                   MessageIcon::Critical});
    return;
  }
  enterFolder(root);
}

void SplitterWindow::enterFolder(const QString& folder) {
  folder_ = QDir(folder).canonicalPath();
  if (folder_.isEmpty()) folder_ = QDir::homePath();
  folderLabel_->setText(folder_);
  // The drive list shows the file system that holds the folder.
  int best = -1;
  for (int i = 0; i < drives_->count(); ++i) {
    const QString root = drives_->itemText(i);
    const bool holds = folder_ == root || folder_.startsWith(root.endsWith('/') ? root : root + "/");
    if (holds && (best < 0 || root.size() > drives_->itemText(best).size())) best = i;
  }
  if (best >= 0) drives_->setCurrentIndex(best);
  folders_->clear();
  QDir dir(folder_);
  if (!dir.isRoot()) folders_->addItem("..");
  folders_->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
  refreshFiles();
}

void SplitterWindow::refreshFiles() {
  fileList_->clear();
  QString pattern = patterns_->currentText();
  if (pattern == "*.*") pattern = "*";
  const QStringList names =
      QDir(folder_).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
  fileList_->addItems(names);
  panels_[0]->setText(QString::fromUtf8("共有%1个文件").arg(names.size()));
}

void SplitterWindow::closeEvent(QCloseEvent* event) {
  if (worker_) {
    // Stop the running operation cleanly before the window goes.
    cancel_ = true;
    worker_->wait();
    QApplication::processEvents();
  }
  clock_->stop();
  event->accept();
  emit leaveToolRequested();
}

}  // namespace korvane::ui
