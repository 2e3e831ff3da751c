#include "ui/utilities/calculator_window.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/shell/platform.h"
#include "ui/shell/user_prompts.h"

namespace korvane::ui {
namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

// The button of each key: object name, caption, tooltip, engine key.
struct KeyButton {
  const char* name;
  const char* caption;
  const char* tooltip;
  const char* key;
};

const KeyButton kKeypad[] = {
    {"Command7", "7", "", "7"},        {"Command8", "8", "", "8"},       {"Command9", "9", "", "9"},
    {"Command16", "÷", "除号", "/"},   {"Command30", "清除", "清除所有输入和计算结果", "clear"},
    {"Command4", "4", "", "4"},        {"Command5", "5", "", "5"},       {"Command6", "6", "", "6"},
    {"Command15", "×", "乘号", "*"},   {"Command39", "撤消", "撤消上一次操作", "undo"},
    {"Command1", "1", "", "1"},        {"Command2", "2", "", "2"},       {"Command3", "3", "", "3"},
    {"Command14", "-", "减号", "-"},   {"Command31", "n!", "阶乘", "n!"},
    {"Command10", "0", "", "0"},       {"Command11", ".", "小数点", "."}, {"Command12", "-", "负号", "neg"},
    {"Command13", "+", "加号", "+"},   {"Command41", "PI", "PI的近似值", "PI"},
};

const KeyButton kFunctions[] = {
    {"Command19", "Sin", "", "Sin"},          {"Command20", "Cos", "", "Cos"},
    {"Command21", "Tan", "", "Tan"},          {"Command22", "Atn", "", "Atn"},
    {"Command23", "1/x", "倒数", "1/x"},      {"Command24", "√x", "开二次方", "sqrt"},
    {"Command25", "x²", "平方", "sqr"},       {"Command26", "10^x", "10的x次方", "10^x"},
    {"Command27", "e^x", "e为底的指数函数", "e^x"}, {"Command28", "Ln", "自然对数", "Ln"},
    {"Command29", "Log10", "常用对数(10为底)", "Log10"},
    {"Command40_0", "ArcSin", "", "ArcSin"},  {"Command40_1", "ArcCos", "", "ArcCos"},
    {"Command40_2", "Cot", "", "Cot"},        {"Command40_3", "ArcCot", "", "ArcCot"},
    {"Command40_4", "Sh", "", "Sh"},          {"Command40_5", "ArcSh", "", "ArcSh"},
    {"Command40_6", "Ch", "", "Ch"},          {"Command40_7", "ArcCh", "", "ArcCh"},
    {"Command40_8", "³√x", "x开3次方", "cbrt"},
    {"Command40_9", "logy", "真数为x,自变量为y的对数", "logy"},
    {"Command40_11", "y√x", "x开y次方", "yroot"},
    {"Command40_12", "Th", "", "Th"},         {"Command40_13", "ArcTh", "", "ArcTh"},
    {"Command40_14", "Cth", "", "Cth"},       {"Command40_15", "ArcCth", "", "ArcCth"},
};

// The angle keys, each two columns wide under the functions.
const KeyButton kAngleKeys[] = {
    {"Command42", "度分秒→度", "度.分秒化为十进制度", "dms2deg"},
    {"Command43", "度→度分秒", "十进制度化为度.分秒", "deg2dms"},
};

const KeyButton kStatistics[] = {
    {"Command38", "Data", "记录数据", "Data"},   {"Command32", "N", "数据总数", "N"},
    {"Command33", "Σx", "数据总和", "Sum"},      {"Command34", "Ave", "平均数", "Mean"},
    {"Command35", "Σx²", "数据平方和", "SumSq"}, {"Command36", "σn", "样本均方差", "SD"},
    {"Command37", "σn-1", "第二样本均方差", "SD1"},
};

// Keys typed in the display and the button they press.
QString KeyOfTypedText(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Equal: return "=";
    case Qt::Key_Backspace: return "undo";
    default: break;
  }
  const QString text = event->text();
  if (text.size() == 1 && QString("0123456789+-*/.").contains(text[0])) return text;
  return {};
}

}  // namespace

CalculatorHelp::CalculatorHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("Help");
  setWindowTitle(U("帮助"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(U("多功能科学计算器简介"), this);
  heading->setObjectName("Label1");
  QFont font = heading->font();
  font.setPointSize(font.pointSize() + 4);
  font.setBold(true);
  heading->setFont(font);
  heading->setAlignment(Qt::AlignCenter);
  auto* text = new QLabel(U("本计算器可用鼠标单击按钮操作，也可用键盘输入：\n"
                            "数字键 0～9、小数点及“+”、“-”、“*”、“/”键对应同名按钮；\n"
                            "“Enter”键和“=”键对应“=”按钮；\n"
                            "“Backspace”键对应“撤消”按钮。\n"
                            "“查看”菜单可在标准型与科学型之间切换，科学型提供函数和统计功能。"),
                          this);
  text->setObjectName("Label2");
  text->setWordWrap(true);
  auto* close = new QPushButton(U("关闭"), this);
  close->setObjectName("Command1");
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  layout->addWidget(heading);
  layout->addWidget(text);
  layout->addWidget(close, 0, Qt::AlignHCenter);
  adjustSize();
}

CalculatorWindow::CalculatorWindow(MessageBoxes& messages, QWidget* parent)
    : QMainWindow(parent, Qt::Window), messages_(messages) {
  setObjectName("Calculator");
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  display_ = new QLineEdit(central);
  display_->setObjectName("Text1");
  display_->setAlignment(Qt::AlignRight);
  display_->setReadOnly(true);
  display_->setContextMenuPolicy(Qt::NoContextMenu);
  display_->installEventFilter(this);
  connect(display_, &QLineEdit::selectionChanged, this, &CalculatorWindow::refreshEditMenu);
  layout->addWidget(display_);
  auto* body = new QHBoxLayout;
  body->addWidget(buildKeypad(), 0, Qt::AlignTop);
  auto* side = new QVBoxLayout;
  side->addWidget(buildFunctions());
  side->addWidget(buildStatistics());
  side->addWidget(buildAngleMode());
  body->addLayout(side);
  layout->addLayout(body);
  setCentralWidget(central);
  buildMenus();
  applyView(false);
  display_->setFocus();
}

QWidget* CalculatorWindow::key(const char* name, const char* caption, const char* tooltip,
                               const char* engineKey) {
  auto* button = new QPushButton(U(caption));
  button->setObjectName(name);
  if (*tooltip) button->setToolTip(U(tooltip));
  button->setFocusPolicy(Qt::NoFocus);
  button->setMinimumSize(52, 30);
  const QString pressed = U(engineKey);
  connect(button, &QPushButton::clicked, this, [this, pressed] { press(pressed); });
  return button;
}

QWidget* CalculatorWindow::buildKeypad() {
  auto* pad = new QWidget;
  auto* grid = new QGridLayout(pad);
  grid->setContentsMargins(0, 0, 0, 0);
  int i = 0;
  for (const KeyButton& k : kKeypad) {
    grid->addWidget(key(k.name, k.caption, k.tooltip, k.key), i / 5, i % 5);
    ++i;
  }
  auto* equals = key("Command17", "=", "等号", "=");
  grid->addWidget(equals, 4, 0, 1, 3);
  auto* leave = new QPushButton(U("退出"));
  leave->setObjectName("Command18");
  leave->setToolTip(U("退出计算器"));
  leave->setFocusPolicy(Qt::NoFocus);
  connect(leave, &QPushButton::clicked, this, &QWidget::close);
  grid->addWidget(leave, 4, 3, 1, 2);
  return pad;
}

QGroupBox* CalculatorWindow::buildFunctions() {
  functions_ = new QGroupBox(U("函数"));
  functions_->setObjectName("Frame_hs");
  auto* grid = new QGridLayout(functions_);
  int i = 0;
  for (const KeyButton& k : kFunctions) {
    grid->addWidget(key(k.name, k.caption, k.tooltip, k.key), i / 6, i % 6);
    ++i;
  }
  for (const KeyButton& k : kAngleKeys) {
    grid->addWidget(key(k.name, k.caption, k.tooltip, k.key), i / 6, i % 6, 1, 2);
    i += 2;
  }
  return functions_;
}

QGroupBox* CalculatorWindow::buildStatistics() {
  statistics_ = new QGroupBox(U("统计"));
  statistics_->setObjectName("Frame_tj");
  auto* row = new QHBoxLayout(statistics_);
  for (const KeyButton& k : kStatistics) row->addWidget(key(k.name, k.caption, k.tooltip, k.key));
  return statistics_;
}

QGroupBox* CalculatorWindow::buildAngleMode() {
  angleMode_ = new QGroupBox;
  angleMode_->setObjectName("Frame_jd");
  auto* row = new QHBoxLayout(angleMode_);
  auto* radians = new QRadioButton(U("弧度"));
  radians->setObjectName("Option_hd");
  radians->setChecked(true);
  auto* degrees = new QRadioButton(U("角度"));
  degrees->setObjectName("Option_jd");
  connect(degrees, &QRadioButton::toggled, this, [this](bool on) { calculator_.setDegrees(on); });
  row->addWidget(radians);
  row->addWidget(degrees);
  row->addStretch();
  return angleMode_;
}

void CalculatorWindow::buildMenus() {
  QMenu* view = menuBar()->addMenu(U("查看(&V)"));
  view->setObjectName("mnuView");
  QAction* standard = view->addAction(U("标准型(&T)"), this, &CalculatorWindow::showStandard);
  standard->setObjectName("mnuStandard");
  QAction* sci = view->addAction(U("科学型(&S)"), this, &CalculatorWindow::showScientific);
  sci->setObjectName("mnuScientific");

  editMenu_ = menuBar()->addMenu(U("编辑(&E)"));
  editMenu_->setObjectName("mnuEdit");
  copyAction_ = editMenu_->addAction(U("复制(&C)"), this, &CalculatorWindow::copy);
  copyAction_->setObjectName("mnuCopy");
  copyAction_->setShortcut(QKeySequence("Ctrl+C"));
  QAction* all = editMenu_->addAction(U("全选(&A)"), this, &CalculatorWindow::selectAll);
  all->setObjectName("mnuSelectAll");
  all->setShortcut(QKeySequence("Ctrl+A"));
  connect(editMenu_, &QMenu::aboutToShow, this, &CalculatorWindow::refreshEditMenu);
  refreshEditMenu();

  QMenu* help = menuBar()->addMenu(U("帮助(&H)"));
  help->setObjectName("mnuHelpMenu");
  help->addAction(U("帮助(&H)"), this, &CalculatorWindow::showHelp)->setObjectName("mnuHelp");
  help->addAction(U("退出(&E)"), this, [this] { emit endProgramRequested(); })->setObjectName("mnuExit");
}

void CalculatorWindow::refreshEditMenu() { copyAction_->setEnabled(display_->hasSelectedText()); }

void CalculatorWindow::applyView(bool scientific) {
  scientific_ = scientific;
  functions_->setVisible(scientific);
  statistics_->setVisible(scientific);
  angleMode_->setVisible(scientific);
  setWindowTitle(U(scientific ? "科学型计算器" : "标准型计算器"));
  centralWidget()->adjustSize();
  adjustSize();
}

void CalculatorWindow::showStandard() {
  applyView(false);
  CentreOnScreen(this);
}

void CalculatorWindow::showScientific() {
  applyView(true);
  CentreOnScreen(this);
}

void CalculatorWindow::press(const QString& key) {
  const utilities::KeyOutcome outcome = calculator_.press(key.toStdString());
  display_->setText(QString::fromStdString(outcome.display));
  display_->setCursorPosition(display_->text().size());
  if (outcome.message) messages_.inform(this, *outcome.message);
  display_->setFocus();
}

void CalculatorWindow::copy() {
  if (!display_->hasSelectedText()) return;
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  clipboard->setText(display_->selectedText());
}

void CalculatorWindow::selectAll() {
  display_->selectAll();
  refreshEditMenu();
}

void CalculatorWindow::showHelp() {
  if (!help_) help_ = new CalculatorHelp(this);
  help_->show();
  CentreOnScreen(help_);
  help_->raise();
  help_->activateWindow();
}

bool CalculatorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == display_ && event->type() == QEvent::KeyPress) {
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (keyEvent->modifiers() & Qt::ControlModifier) return false;
    const QString pressed = KeyOfTypedText(keyEvent);
    if (!pressed.isEmpty()) press(pressed);
    // Other keys do nothing: the display only shows what the keys built.
    return !(keyEvent->key() == Qt::Key_Left || keyEvent->key() == Qt::Key_Right ||
             keyEvent->key() == Qt::Key_Home || keyEvent->key() == Qt::Key_End);
  }
  return QMainWindow::eventFilter(watched, event);
}

void CalculatorWindow::contextMenuEvent(QContextMenuEvent* event) {
  refreshEditMenu();
  editMenu_->popup(event->globalPos());
}

}  // namespace korvane::ui
