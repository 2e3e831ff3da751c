#include "ui/utilities/splitter_window.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QStyle>
#include <QTabWidget>
#include <QThread>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/shell/platform.h"
#include "ui/widgets/button_row.h"

namespace korvane::ui {
namespace {

QLineEdit* Box(QWidget* parent, const char* name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  return box;
}

QProgressBar* Bar(QWidget* parent, const char* name) {
  auto* bar = new QProgressBar(parent);
  bar->setObjectName(name);
  bar->setRange(0, 1000);
  bar->setValue(0);
  bar->setTextVisible(false);
  return bar;
}

}  // namespace

QString SplitterWindow::MyString() { return QString::fromUtf8("感谢使用文件分割程序！"); }

SplitterWindow::SplitterWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent)
    : QWidget(parent), messages_(messages), files_(files) {
  setObjectName("form2");
  setWindowTitle(QString::fromUtf8("文件分割程序"));
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("SSTab1");
  tabs_->addTab(buildSplitPage(), QString::fromUtf8("    分割[&C]    "));
  tabs_->addTab(buildMergePage(), QString::fromUtf8("    合并[&P]    "));
  tabs_->addTab(buildAboutPage(), QString::fromUtf8("    关于[&A]    "));
  layout->addWidget(tabs_);
  buildStatusBar();
  clock_ = new QTimer(this);
  clock_->setObjectName("Timer1");
  clock_->setInterval(500);
  connect(clock_, &QTimer::timeout, this, [this] {
    panels_[3]->setText(QDate::currentDate().toString("yyyy-MM-dd"));
    panels_[4]->setText(QTime::currentTime().toString("HH:mm:ss"));
  });
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(100);
  connect(progressTimer_, &QTimer::timeout, this, &SplitterWindow::updateProgress);
  setWorking(false);
  FitToScreen(this, {720, 620});
}

SplitterWindow::~SplitterWindow() {
  if (worker_) {
    cancel_ = true;
    worker_->wait();
  }
}

QWidget* SplitterWindow::buildSplitPage() {
  auto* page = new QWidget(tabs_);
  auto* frame = new QGroupBox(QString::fromUtf8(" 分割区 "), page);
  auto* grid = new QGridLayout(frame);
  source_ = Box(frame, "Text1");
  target_ = Box(frame, "Text2");
  auto* browse = new QPushButton(QString::fromUtf8("浏览..."), frame);
  browse->setObjectName("Command1");
  grid->addWidget(new QLabel(QString::fromUtf8("请输入要分割的文件"), frame), 0, 0, 1, 2);
  grid->addWidget(source_, 1, 0);
  grid->addWidget(browse, 1, 1);
  grid->addWidget(new QLabel(QString::fromUtf8("请输入分割完成后文件的存放位置"), frame), 2, 0, 1, 2);
  grid->addWidget(target_, 3, 0, 1, 2);
  auto* sizeFrame = new QGroupBox(QString::fromUtf8("分割块尺寸"), frame);
  auto* sizes = new QHBoxLayout(sizeFrame);
  floppy_ = new QRadioButton("1.44M", sizeFrame);
  floppy_->setObjectName("Option1");
  custom_ = new QRadioButton(QString::fromUtf8("自定义"), sizeFrame);
  custom_->setObjectName("Option2");
  customSize_ = Box(sizeFrame, "Text3");
  kbLabel_ = new QLabel("KB", sizeFrame);
  kbLabel_->setObjectName("Label_kb");
  for (QWidget* w : {static_cast<QWidget*>(floppy_), static_cast<QWidget*>(custom_),
                     static_cast<QWidget*>(customSize_), static_cast<QWidget*>(kbLabel_)})
    sizes->addWidget(w);
  sizes->addStretch();
  grid->addWidget(sizeFrame, 4, 0, 1, 2);
  splitBar_ = Bar(frame, "ProgressBar1");
  grid->addWidget(splitBar_, 5, 0, 1, 2);
  auto* startRow = new ButtonRow(frame);
  startRow->addStretch();
  splitButton_ = startRow->add("Command2", "开始分割", [this] { startSplit(); });
  splitCancel_ = startRow->add("Command_qx1", "取消", [this] { cancel(); });
  grid->addWidget(startRow, 6, 0, 1, 2);
  grid->setRowStretch(7, 1);
  (new QVBoxLayout(page))->addWidget(frame);
  connect(browse, &QPushButton::clicked, this, &SplitterWindow::browseSource);
  connect(source_, &QLineEdit::editingFinished, this, &SplitterWindow::sourceLeft);
  auto sizeOption = [this] {
    const bool on = custom_->isChecked();
    customSize_->setEnabled(on);
    customSize_->setVisible(on);
    kbLabel_->setEnabled(on);
    kbLabel_->setVisible(on);
  };
  connect(floppy_, &QRadioButton::toggled, this, sizeOption);
  floppy_->setChecked(true);
  sizeOption();
  return page;
}

QWidget* SplitterWindow::buildMergePage() {
  auto* page = new QWidget(tabs_);
  auto* frame = new QGroupBox(QString::fromUtf8("操作区 "), page);
  auto* grid = new QGridLayout(frame);
  grid->addWidget(buildMergeLists(frame), 0, 0, 1, 2);
  mergeList_ = new QListWidget(frame);
  mergeList_->setObjectName("List1");
  grid->addWidget(mergeList_, 1, 0);
  auto* side = new ButtonRow(this, QBoxLayout::TopToBottom);
  side->add("Command3", "添加文件供合并", [this] { addFilesToMerge(); });
  side->add("Command4", "上移", [this] { moveUp(); });
  side->add("Command5", "下移", [this] { moveDown(); });
  side->add("Command6", "清空合并文件", [this] { clearMergeList(); });
  side->addStretch();
  grid->addWidget(side, 1, 1);
  grid->addWidget(new QLabel(QString::fromUtf8("合并后的文件："), frame), 2, 0, 1, 2);
  mergeTarget_ = Box(frame, "Text4");
  grid->addWidget(mergeTarget_, 3, 0, 1, 2);
  mergeBar_ = Bar(frame, "ProgressBar2");
  grid->addWidget(mergeBar_, 4, 0, 1, 2);
  auto* startRow = new ButtonRow(frame);
  startRow->addStretch();
  mergeButton_ = startRow->add("Command7", "开始合并", [this] { startMerge(); });
  mergeCancel_ = startRow->add("Command_qx2", "取消", [this] { cancel(); });
  grid->addWidget(startRow, 5, 0, 1, 2);
  (new QVBoxLayout(page))->addWidget(frame);
  connect(mergeList_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { delete item; });
  return page;
}

// The drive list (mounted file systems), the folder list, the pattern list
// and the file list.
QWidget* SplitterWindow::buildMergeLists(QWidget* page) {
  auto* lists = new QWidget(page);
  auto* grid = new QGridLayout(lists);
  grid->setContentsMargins(0, 0, 0, 0);
  drives_ = new QComboBox(lists);
  drives_->setObjectName("Drive1");
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
    if (volume.isValid()) drives_->addItem(volume.rootPath());
  folderLabel_ = new QLabel(lists);
  folderLabel_->setObjectName("Label_dir");
  folders_ = new QListWidget(lists);
  folders_->setObjectName("Dir1");
  patterns_ = new QComboBox(lists);
  patterns_->setObjectName("Combo1");
  patterns_->addItems({"*.res", "*.00?", "*.txt", "*.dat", "*.doc", "*.*"});
  fileList_ = new QListWidget(lists);
  fileList_->setObjectName("File1");
  grid->addWidget(drives_, 0, 0);
  grid->addWidget(patterns_, 0, 1);
  grid->addWidget(folderLabel_, 1, 0, 1, 2);
  grid->addWidget(folders_, 2, 0);
  grid->addWidget(fileList_, 2, 1);
  connect(drives_, &QComboBox::activated, this, &SplitterWindow::selectDrive);
  connect(folders_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    enterFolder(QDir(folder_).absoluteFilePath(item->text()));
  });
  connect(patterns_, &QComboBox::currentIndexChanged, this, &SplitterWindow::refreshFiles);
  connect(fileList_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    addFile(QDir(folder_).absoluteFilePath(item->text()));
  });
  return lists;
}

QWidget* SplitterWindow::buildAboutPage() {
  auto* page = new QWidget(tabs_);
  auto* box = new QVBoxLayout(page);
  auto* icon = new QLabel(page);
  icon->setPixmap(style()->standardIcon(QStyle::SP_DriveFDIcon).pixmap(48, 48));
  auto* title = new QLabel(QString::fromUtf8("文件分割程序  版本 1.0.2"), page);
  title->setFont(UiFont(14));
  auto* text = new QLabel(QString::fromUtf8(
      "把任何文件分割成固定大小的分块（默认按 1.44M 软盘大小），分块名为目标名加 .001、.002……\n\n"
      "分割时在分块所在的文件夹写入 Link.bat（Windows 下执行即合并）和 link.sh（Linux、macOS 下执行 sh link.sh 即合并）。\n\n"
      "也可以在“合并”页把分块加入合并列表：选中 .001 分块会按编号顺序加入全部分块，"
      "并按“$”约定给出合并后的文件名（setup$exe.001 合并为 setup.exe）。"), page);
  text->setWordWrap(true);
  box->addWidget(icon);
  box->addWidget(title);
  box->addWidget(text);
  box->addStretch();
  return page;
}

void SplitterWindow::buildStatusBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName("StatusBar1");
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(2, 0, 2, 0);
  const char* texts[] = {"欢迎使用文件分割程序！", " 1.0.2", "04-7-5", "", "", "Korvane 测量工具"};
  for (int i = 0; i < 6; ++i) {
    panels_[i] = new QLabel(QString::fromUtf8(texts[i]), bar);
    panels_[i]->setObjectName(QString("Panel%1").arg(i + 1));
    panels_[i]->setFrameShape(QFrame::StyledPanel);
    row->addWidget(panels_[i], i == 0 ? 4 : 1);
  }
  layout()->addWidget(bar);
}

void SplitterWindow::open() {
  if (!isVisible()) {
    CentreOnScreen(this);
    // Nothing is kept from an earlier opening.
    tabs_->setCurrentIndex(1);
    floppy_->setChecked(true);
    for (QLineEdit* box : {source_, target_, customSize_, mergeTarget_}) box->clear();
    mergeList_->clear();
    patterns_->setCurrentIndex(0);
    setWorking(false);
    enterFolder(QDir::homePath());
    panels_[0]->setText(QString::fromUtf8("欢迎使用文件分割程序！"));
    clock_->start();
  }
  show();
  raise();
  activateWindow();
}

QString SplitterWindow::statusText() const { return panels_[0]->text(); }

}  // namespace korvane::ui
