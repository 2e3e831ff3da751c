#include "ui/traverse/rigorous_window.h"

#include "ui/shell/report_printing.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "core/numbers.h"
#include "standards/tolerance.h"
#include "ui/widgets/cell_editor.h"
#include "ui/widgets/hover_command.h"
#include "ui/shell/platform.h"
#include "ui/traverse/plot_window.h"
#include "ui/traverse/rigorous_grid.h"
#include "ui/widgets/standard_grade_picker.h"

namespace korvane::ui {

namespace {

const char* const kTitle = "欢迎使用单导线加权平差";
const char* const kUnits =
    "角度单位为：度.分秒                    长度单位为：米                    请输入观测数据：";
const char* const kProjectionTip = "不投影输入“N”或“n”，默认测区平均高程面请输“0”！";

}  // namespace

// Marks a parameter box that is empty because the data file gave 0.
const char* const kReadZero = "readZero";

RigorousWindow::RigorousWindow(MessageBoxes& messages, FileDialogs& files)
    : QWidget(nullptr, Qt::Window),
      messages_(messages),
      files_(files),
      titleAnimation_(QString::fromUtf8(kTitle), 0, 0, 0) {
  setObjectName("form_ddx");
  setWindowTitle(QString::fromUtf8("单导线严密平差"));
  setFont(UiFont(10));
  setMouseTracking(true);
  installEventFilter(this);
  buildWindow();
  connectCommands();
  titleTimer_ = new QTimer(this);
  titleTimer_->setObjectName("Timer1");
  titleTimer_->setInterval(300);
  connect(titleTimer_, &QTimer::timeout, this, &RigorousWindow::tickTitle);
  refreshGradeCode();
  refreshCompute();
  backCommand_.label->setEnabled(false);
  backCommand_.button->setEnabled(false);
  markSaved();
}

RigorousWindow::~RigorousWindow() { delete plot_; }

void RigorousWindow::buildWindow() {
  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(14, 8, 14, 12);
  title_ = new QLabel(QString::fromUtf8(kTitle), this);
  title_->setObjectName("Label2");
  title_->setFont(GreetingFont(24));
  title_->setAlignment(Qt::AlignCenter);
  title_->setMinimumHeight(54);
  root->addWidget(title_);

  auto* units = new QLabel(QString::fromUtf8(kUnits), this);
  units->setObjectName("Label1");
  root->addWidget(units);

  auto* body = new QHBoxLayout;
  grid_ = new RigorousGrid(this);
  body->addWidget(grid_->grid(), 1);
  body->addWidget(buildCommands(this));
  root->addLayout(body, 1);
  root->addWidget(buildParameters(this));

  notice_ = new QLabel(this);
  notice_->setObjectName("L_10");
  QPalette pal = notice_->palette();
  pal.setColor(QPalette::WindowText, Qt::red);
  notice_->setPalette(pal);
  root->addWidget(notice_);
  FitToScreen(this, {1180, 760});
}

QWidget* RigorousWindow::buildCommands(QWidget* parent) {
  auto* column = new QWidget(parent);
  column->setMouseTracking(true);
  column->installEventFilter(this);
  commands_ = std::make_unique<HoverCommandColumn>(column, [this](HoverLabel* label) { hoverLabel(label); });
  HoverCommandColumn& c = *commands_;
  computeCommand_ = c.add("Label3", "js", "计    算");
  saveDataCommand_ = c.add("Label4", "bc", "保存数据");
  output_ = c.addOutputCommands();
  readKnownCommand_ = c.add("Label17", "dzb", "从坐标文件读入");
  table_ = c.addTableCommands();
  backCommand_ = c.add("Label9", "Command_back", "返    回");
  exitCommand_ = c.add("Label5", "tc", "退   出");
  column->setLayout(c.finish());
  backCommand_.button->setToolTip(QString::fromUtf8("计算后有效"));
  computeCommand_.button->installEventFilter(this);
  return column;
}

QLabel* RigorousWindow::addLabel(QWidget* parent, const char* name, const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(name);
  parameterLabels_.push_back(label);
  return label;
}

QLineEdit* RigorousWindow::addBox(QWidget* parent, const char* name, int width) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setFixedWidth(width);
  box->setFrame(false);
  box->installEventFilter(this);
  parameterBoxes_.push_back(box);
  return box;
}

QWidget* RigorousWindow::buildParameters(QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->setMouseTracking(true);
  panel->installEventFilter(this);
  auto* rows = new QVBoxLayout(panel);
  rows->setContentsMargins(0, 4, 0, 0);
  auto* first = new QHBoxLayout;
  auto* second = new QHBoxLayout;
  rows->addLayout(first);
  rows->addLayout(second);
  auto add = [](QHBoxLayout* row, std::initializer_list<QWidget*> widgets, int gap = 24) {
    for (QWidget* w : widgets) row->addWidget(w);
    row->addSpacing(gap);
  };
  QLabel* intro = addLabel(panel, "Label_shuru", "请输入先验数据：");
  add(first, {intro});
  sidesBox_ = addBox(panel, "Text_dxbs", 60);
  add(first, {addLabel(panel, "Label_b", "导线边数："), sidesBox_});
  angleErrorBox_ = addBox(panel, "Text_cj", 60);
  add(first, {addLabel(panel, "Label_cj", "测角先验中误差："), angleErrorBox_, addLabel(panel, "Label_miao", "″")});
  projectionHeightBox_ = addBox(panel, "Text_tym", 140);
  metreLabel_ = addLabel(panel, "Label_mi", "m");
  add(first, {addLabel(panel, "Label_tym", "投影面高程："), projectionHeightBox_, metreLabel_});
  first->addStretch();
  second->addSpacing(intro->sizeHint().width() + 24);
  additiveConstantBox_ = addBox(panel, "Text_j", 60);
  scaleConstantBox_ = addBox(panel, "Text_c", 60);
  add(second, {addLabel(panel, "Label_cs", "测距仪常数："), additiveConstantBox_, addLabel(panel, "Label_j", "+"),
               scaleConstantBox_, addLabel(panel, "Label_c", "  ppm")});
  projectionHeightBox_->setToolTip(QString::fromUtf8(kProjectionTip));

  tolerance_ = new StandardGradePicker(panel);
  second->addWidget(tolerance_);
  // Off, the weighted report is all that is written.
  leastSquares_ = new QCheckBox(QString::fromUtf8("严密平差（最小二乘）"), panel);
  leastSquares_->setObjectName("Ch_zxec");
  leastSquares_->setToolTip(QString::fromUtf8("保存报告时另写一份最小二乘平差与加权平差的比较报告"));
  second->addSpacing(24);
  second->addWidget(leastSquares_);
  code_ = new QLineEdit(panel);
  code_->setObjectName("Text1");
  code_->hide();
  second->addStretch();
  return panel;
}

void RigorousWindow::connectCommands() {
  connect(computeCommand_.button, &QPushButton::clicked, this, &RigorousWindow::compute);
  connect(saveDataCommand_.button, &QPushButton::clicked, this, &RigorousWindow::saveData);
  connect(output_.print.button, &QPushButton::clicked, this, [this] { printReport(false); });
  connect(output_.pdf.button, &QPushButton::clicked, this, [this] { printReport(true); });
  connect(output_.dxf.button, &QPushButton::clicked, this, &RigorousWindow::exportDrawing);
  connect(output_.coordinates.button, &QPushButton::clicked, this, &RigorousWindow::exportCoordinates);
  connect(readKnownCommand_.button, &QPushButton::clicked, this, &RigorousWindow::readKnownPoints);
  connect(table_.open.button, &QPushButton::clicked, this, &RigorousWindow::openData);
  connect(table_.insertRow.button, &QPushButton::clicked, this, &RigorousWindow::insertRow);
  connect(table_.deleteRow.button, &QPushButton::clicked, this, &RigorousWindow::deleteRow);
  connect(backCommand_.button, &QPushButton::clicked, this, &RigorousWindow::back);
  connect(exitCommand_.button, &QPushButton::clicked, this, &RigorousWindow::close);
  connect(sidesBox_, &QLineEdit::textEdited, this, &RigorousWindow::sidesTyped);
  for (QLineEdit* box : {sidesBox_, angleErrorBox_, additiveConstantBox_, scaleConstantBox_}) {
    connect(box, &QLineEdit::textChanged, this, &RigorousWindow::refreshCompute);
    connect(box, &QLineEdit::textEdited, this, [this, box] {
      box->setProperty(kReadZero, false);
      refreshCompute();
    });
  }
  connect(projectionHeightBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (ParseLenient(text.toStdString()) > 0) metreLabel_->show();
  });
  connect(tolerance_, &StandardGradePicker::choiceChanged, this, &RigorousWindow::refreshGradeCode);
}

void RigorousWindow::showUp() {
  if (!placed_) {
    placed_ = true;
    show();
    CentreOnScreen(this, -350 * 96 / 1440);
    titleTimer_->start();
  }
  show();
  raise();
  activateWindow();
}

formats::RigorousParameters RigorousWindow::parameters() const {
  formats::RigorousParameters params;
  params.sideCount = sidesBox_->text().toStdString();
  params.priorAngleError = angleErrorBox_->text().toStdString();
  params.additiveConstant = additiveConstantBox_->text().toStdString();
  params.scaleConstant = scaleConstantBox_->text().toStdString();
  params.projectionHeight = projectionHeightBox_->text().toStdString();
  return params;
}

void RigorousWindow::sidesTyped(const QString& text) {
  // Typing the number of sides k lays out k + 1 empty station rows, built
  // afresh at every keystroke; the table is kept to a size a window can hold.
  constexpr double kMostStations = 5000;
  const double sides = std::trunc(ParseLenient(text.toStdString()));
  const double stations = std::clamp(sides + 1, 1.0, kMostStations);
  grid_->rebuildStations(static_cast<int>(stations));
}

void RigorousWindow::showSides() {
  const int sides = grid_->rows() - 8;
  sidesBox_->setText(sides < 0 ? QString("0")
                              : QString::fromStdString(StrNumber(static_cast<double>(sides))));
}

void RigorousWindow::refreshGradeCode() { code_->setText(QString::fromStdString(tolerance_->toleranceCode())); }

void RigorousWindow::tickTitle() {
  title_->setText(titleAnimation_.tick());
  auto* random = QRandomGenerator::global();
  QPalette pal = title_->palette();
  pal.setColor(QPalette::WindowText,
               QColor(random->bounded(60, 256), random->bounded(120, 256), random->bounded(70, 256)));
  title_->setPalette(pal);
  refreshGradeCode();
}

void RigorousWindow::refreshCompute() {
  if (afterCompute_) return;
  bool filled = true;
  for (const QLineEdit* box : {sidesBox_, additiveConstantBox_, scaleConstantBox_, angleErrorBox_}) {
    // A zero read from a data file shows as an empty box and counts as given.
    filled = filled && (!box->text().isEmpty() || box->property(kReadZero).toBool());
  }
  const HoverPair& js = computeCommand_;
  js.label->setEnabled(filled);
  if (!filled && js.button->isVisible()) {
    js.button->hide();
    js.label->show();
  }
  js.button->setEnabled(filled);
}

void RigorousWindow::setInputsUsable(bool usable) {
  for (QLabel* label : parameterLabels_) label->setEnabled(usable);
  for (QLineEdit* box : parameterBoxes_) box->setEnabled(usable);
  tolerance_->setEnabled(usable);
  leastSquares_->setEnabled(usable);
  // The caption is disabled before its button goes: the pointer resting on
  // the button then enters a caption that no longer reacts to it.
  for (const HoverPair& p : {computeCommand_, table_.open, readKnownCommand_}) {
    p.label->setEnabled(usable);
    p.button->setEnabled(usable);
    p.button->hide();
    p.label->show();
  }
  backCommand_.label->setEnabled(!usable);
  backCommand_.button->setEnabled(!usable);
}

void RigorousWindow::back() {
  if (plot_) plot_->close();
  afterCompute_ = false;
  report_.reset();
  figure_ = {};
  setInputsUsable(true);
  sidesBox_->setFocus(Qt::OtherFocusReason);
  refreshCompute();
}

void RigorousWindow::boxFocus(QLineEdit* box, bool in) {
  box->setFrame(in);
  if (box != projectionHeightBox_) return;
  if (in) {
    box->clear();
    metreLabel_->show();
  } else if (ParseLenient(box->text().toStdString()) != 0) {
    box->setText(QString(9, ' ') + box->text());
  }
}

void RigorousWindow::pointerOverCompute() {
  if (projectionHeightBox_->text().isEmpty()) {
    projectionHeightBox_->setText(QString::fromUtf8("测区平均高程"));
    metreLabel_->hide();
  }
}

void RigorousWindow::hoverLabel(HoverLabel* label) {
  if (!label->isEnabled()) return;
  if (const HoverPair* p = commands_->pairOf(label)) ShowButton(*p);
}

void RigorousWindow::pointerOverBackground() { commands_->showCaptions(); }

bool RigorousWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Enter && watched == computeCommand_.button) {
    pointerOverCompute();
  } else if (type == QEvent::MouseMove && qobject_cast<QPushButton*>(watched) == nullptr) {
    pointerOverBackground();
  } else if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
    // Switching windows or opening a context menu does not count as entering
    // or leaving a box.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) {
      return QWidget::eventFilter(watched, event);
    }
    for (QLineEdit* box : parameterBoxes_) {
      if (box == watched) boxFocus(box, type == QEvent::FocusIn);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void RigorousWindow::closeEvent(QCloseEvent* event) {
  grid_->editor().commitAndClose();
  if (!(leaveGuard_ ? leaveGuard_() : offerToSave())) {
    event->ignore();
    return;
  }
  titleTimer_->stop();
  if (plot_) plot_->close();
  event->accept();
  emit endProgramRequested();
}

}  // namespace korvane::ui
