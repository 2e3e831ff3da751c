#include "ui/utilities/total_station_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <cstring>

#include "core/message_text.h"
#include "io/text_file.h"
#include "io/atomic_output.h"
#include "utilities/point_conversion.h"
#include "utilities/point_file.h"
#include "ui/shell/platform.h"
#include "ui/widgets/button_row.h"
#include "ui/shell/user_prompts.h"

namespace korvane::ui {
namespace {

QPlainTextEdit* Pane(QWidget* parent, const char* name) {
  auto* pane = new QPlainTextEdit(parent);
  pane->setObjectName(name);
  pane->setLineWrapMode(QPlainTextEdit::NoWrap);
  pane->setFont(TableFont(10));
  return pane;
}

Message Note(const std::string& text, const char* title, MessageIcon icon) {
  return Message{text, title, icon};
}

}  // namespace

TotalStationWindow::TotalStationWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent)
    : QWidget(parent), messages_(messages), files_(files) {
  setObjectName("Form_qzy");
  setWindowTitle(QString::fromUtf8("全站仪"));
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("SSTab1");
  tabs_->setToolTip(QString::fromUtf8("正在编译中！！！"));
  tabs_->addTab(buildConversionPage(), QString::fromUtf8("格式转换"));
  auto* extract = new QWidget(tabs_);
  auto* grid = new QTableWidget(extract);
  grid->setObjectName("MSFlexGrid2");
  (new QVBoxLayout(extract))->addWidget(grid);
  tabs_->addTab(extract, QString::fromUtf8("提取数据导线平差"));
  tabs_->addTab(new QWidget(tabs_), QString::fromUtf8("坐标溯源手簿"));
  layout->addWidget(tabs_);
  buildStatusBar();
  clock_ = new QTimer(this);
  clock_->setObjectName("Timer1");
  clock_->setInterval(500);
  connect(clock_, &QTimer::timeout, this, &TotalStationWindow::tickClock);
  FitToScreen(this, {820, 560});
}

QWidget* TotalStationWindow::buildConversionPage() {
  auto* page = new QWidget(tabs_);
  auto* grid = new QGridLayout(page);
  source_ = Pane(page, "R1");
  result_ = Pane(page, "R2");
  grid->addWidget(new QLabel(QString::fromUtf8("原始数据："), page), 0, 0);
  grid->addWidget(new QLabel(QString::fromUtf8("转换后的数据："), page), 0, 1);
  grid->addWidget(source_, 1, 0);
  grid->addWidget(result_, 1, 1);
  grid->addWidget(buildColumnsPanel(), 0, 2, 2, 1);
  readBar_ = new QProgressBar(page);
  readBar_->setObjectName("ProgressBar1");
  writeBar_ = new QProgressBar(page);
  writeBar_->setObjectName("ProgressBar2");
  readBar_->hide();
  writeBar_->hide();
  grid->addWidget(readBar_, 2, 0);
  grid->addWidget(writeBar_, 2, 1);
  auto* buttons = new ButtonRow(this);
  buttons->add("command_dk", "读入数据", [this] { readData(); });
  buttons->add("command_zx", "执行操作", [this] { execute(); });
  buttons->add("command_bc", "保    存", [this] { save(); });
  buttons->add("command_tc", "退   出", [this] {
    if (leaveGuard_ && !leaveGuard_()) return;
    exiting_ = true;
    hide();
    emit endProgramRequested();
  });
  grid->addWidget(buttons, 3, 0, 1, 3);
  return page;
}

QWidget* TotalStationWindow::buildColumnsPanel() {
  auto* panel = new QWidget(tabs_);
  auto* box = new QVBoxLayout(panel);
  columns_ = new QListWidget(panel);
  columns_->setObjectName("List1");
  columns_->setToolTip(QString::fromUtf8("双击可删除！"));
  deleted_ = new QListWidget(panel);
  deleted_->setObjectName("List2");
  deleted_->setToolTip(QString::fromUtf8("双击可还原！"));
  deletedLabel_ = new QLabel(QString::fromUtf8("已删的列："), panel);
  deletedLabel_->setObjectName("Label_List2");
  box->addWidget(new QLabel(QString::fromUtf8("选择排序："), panel));
  box->addWidget(columns_);
  auto* move = new ButtonRow(panel);
  move->layout()->setContentsMargins(0, 0, 0, 0);
  move->add("Command9", "上移", [this] { moveUp(); });
  move->add("Command8", "下移", [this] { moveDown(); });
  box->addWidget(move);
  box->addWidget(deletedLabel_);
  box->addWidget(deleted_);
  box->addStretch();  // the buttons stay in place when List2 comes and goes
  columns_->setFixedHeight(130);
  deleted_->setFixedHeight(130);
  deleted_->hide();
  deletedLabel_->hide();
  panel->setFixedWidth(150);
  connect(columns_, &QListWidget::itemDoubleClicked, this, &TotalStationWindow::deleteColumn);
  connect(deleted_, &QListWidget::itemDoubleClicked, this, &TotalStationWindow::restoreColumn);
  connect(columns_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { columns_->setToolTip(item->text()); });
  return panel;
}

void TotalStationWindow::buildStatusBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName("StatusBar1");
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(2, 0, 2, 0);
  for (int i = 0; i < 4; ++i) {
    panels_[i] = new QLabel(bar);
    panels_[i]->setObjectName(QString("Panel%1").arg(i + 1));
    panels_[i]->setFrameShape(QFrame::StyledPanel);
    row->addWidget(panels_[i], i == 0 ? 4 : 1);
  }
  layout()->addWidget(bar);
}

void TotalStationWindow::open() {
  CentreOnScreen(this);
  tabs_->setCurrentIndex(0);
  panels_[0]->setText(QString::fromUtf8("欢迎使用全站仪相关程序！"));
  exiting_ = false;
  tickClock();
  clock_->start();
  show();
  raise();
  activateWindow();
}

QString TotalStationWindow::statusText() const { return panels_[0]->text(); }

void TotalStationWindow::tickClock() {
  panels_[3]->setText(QTime::currentTime().toString("HH:mm:ss"));
  const bool any = deleted_->count() > 0;
  deleted_->setVisible(any);
  deletedLabel_->setVisible(any);
}

void TotalStationWindow::readData() {
  columns_->clear();
  for (int k = 1; k <= utilities::kPointColumns; ++k) columns_->addItem(QString::number(k));
  panels_[0]->setText(QString::fromUtf8("欢迎使用全站仪相关程序！"));
  source_->clear();
  const QString path = files_.openFile(
      this, FileDialogRequest{QString::fromUtf8("打开文件"),
                              {QString::fromUtf8("数据文件(*.DAT *.dat)"), QString::fromUtf8("文本文件(*.TXT *.txt)"),
                               QString::fromUtf8("写字板文件(*.RTF *.rtf)")},
                              QDir::homePath(), {}});
  if (path.isEmpty()) return;
  readBar_->setRange(0, 0);
  readBar_->show();
  std::string error;
  std::int64_t lines = 0;
  {
    const BusyCursor busy;
    std::string text;
    error = utilities::ReadPointLines(path.toStdString(), kMaxReadBytes, text, lines);
    if (error.empty()) source_->setPlainText(QString::fromStdString(text));
  }
  readBar_->hide();
  readBar_->setRange(0, 100);
  if (!error.empty()) {
    messages_.inform(this, Note(error, "抱歉", MessageIcon::Warning));
    return;
  }
  panels_[0]->setText(QString::fromUtf8("共%1 行").arg(lines));
}

std::vector<int> TotalStationWindow::columns() const {
  std::vector<int> list;
  for (int i = 0; i < columns_->count(); ++i) list.push_back(columns_->item(i)->text().toInt());
  return list;
}

void TotalStationWindow::execute() {
  clock_->stop();
  result_->clear();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  readBar_->setRange(0, 0);
  writeBar_->setRange(0, 0);
  readBar_->show();
  writeBar_->show();
  // The pane's current text, with the surveyor's edits, converted in memory.
  const utilities::PointConversion conversion = utilities::ConvertPointText(source_->toPlainText().toStdString(), columns());
  result_->setPlainText(QString::fromStdString(conversion.text));
  if (columns_->count() > 0) columns_->setCurrentRow(columns_->count() - 1);
  QString status = QString::fromUtf8("共%1 行").arg(conversion.linesRead);
  if (const std::string note = utilities::WideLinesNote(conversion.firstWideLine, conversion.wideLines); !note.empty())
    status += "  " + QString::fromStdString(note);
  panels_[0]->setText(status);
  readBar_->hide();
  writeBar_->hide();
  QApplication::restoreOverrideCursor();
  clock_->start();
  if (conversion.linesRead == 0)
    messages_.inform(this, Note("你未读入数据！", "抱歉", MessageIcon::Information));
}

void TotalStationWindow::save() {
  if (result_->toPlainText().isEmpty()) {
    messages_.inform(this, Note("未执行操作，没有结果！", "提示", MessageIcon::Information));
    return;
  }
  FileDialogRequest request{QString::fromUtf8("保存文件"),
                            {QString::fromUtf8("数据文件(*.DAT *.dat)"), QString::fromUtf8("写字板文件(*.RTF *.rtf)"),
                             QString::fromUtf8("文本文件(*.TXT *.txt)")},
                            QDir::homePath(), ".DAT"};
  request.confirmOverwrite = false;  // the result is appended: asked below in those words
  const QString path = WithDefaultSuffix(files_.saveFile(this, request), request.defaultSuffix);
  if (path.isEmpty()) return;
  if (QFileInfo::exists(path) &&
      !messages_.askOkCancel(this, Note("文件已存在，结果将追加到文件末尾，继续吗？", "保存文件",
                                        MessageIcon::Question)))
    return;
  const std::string bytes = io::EncodeGbk(io::ToCrLf(result_->toPlainText().toStdString() + "\n"));
  io::AtomicOutput output;
  int error = output.open(path.toStdString(), true);
  if (error == 0) error = output.write(bytes);
  if (error == 0) error = output.commit();
  if (error == io::AtomicOutput::kRefused)
    messages_.inform(this, output.refusal());
  else if (error != 0)
    messages_.inform(this, Note(output.errorText(error), "抱歉", MessageIcon::Warning));
}

void TotalStationWindow::moveColumn(int step) {
  const int row = columns_->currentRow();
  const int to = row + step;
  if (row < 0 || to < 0 || to >= columns_->count()) return;
  QListWidgetItem* item = columns_->takeItem(row);
  columns_->insertItem(to, item);
  columns_->setCurrentRow(to);
}

void TotalStationWindow::moveUp() { moveColumn(-1); }
void TotalStationWindow::moveDown() { moveColumn(1); }

namespace {

// The current column of `from` moved to the end of `to`; the one above it
// becomes current.
void MoveCurrent(QListWidget* from, QListWidget* to) {
  const int row = from->currentRow();
  if (row < 0) return;
  to->addItem(from->item(row)->text());
  delete from->takeItem(row);
  if (from->count() > 0) from->setCurrentRow(row > 0 ? row - 1 : 0);
}

}  // namespace

void TotalStationWindow::deleteColumn() { MoveCurrent(columns_, deleted_); }

void TotalStationWindow::restoreColumn() { MoveCurrent(deleted_, columns_); }

void TotalStationWindow::closeEvent(QCloseEvent* event) {
  clock_->stop();
  event->accept();
  if (!exiting_) emit leaveToolRequested();
}

}  // namespace korvane::ui
