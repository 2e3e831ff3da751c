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

namespace korvane::ui {

namespace {

struct CommandEntry {
  const char* label;
  const char* button;
  const char* text;
};

// In the order they stand in the command column.
const CommandEntry kCommands[] = {
    {"Label3", "js", "计    算"},           {"Label4", "bc", "保存数据"},
    {"Label13", "dy", "打印…"},             {"Label14", "bcpdf", "保存为PDF…"},
    {"Label15", "dcdxf", "导出DXF…"},       {"Label16", "dczb", "导出坐标…"},
    {"Label17", "dzb", "从坐标文件读入"},
    {"Label7", "command_dk", "打开数据"},   {"Label8", "Command_tj", "插入一行"},
    {"Label6", "Command_sc", "删除该行"},   {"Label9", "Command_back", "返    回"},
    {"Label5", "tc", "退   出"},
};

const char* const kTitle = "欢迎使用单导线加权平差";
const char* const kUnits =
    "角度单位为：度.分秒                    长度单位为：米                    请输入观测数据：";
const char* const kProjectionTip = "不投影输入“N”或“n”，默认测区平均高程面请输“0”！";

// The parameter captions that the after-compute state locks.
const char* const kParameterLabels[] = {"Label_b", "Label_cs", "Label_j", "Label_c", "Label_shuru",
                                        "Label_tym", "Label_cj", "Label_miao", "Label_mi"};
const char* const kBoxes[] = {"Text_dxbs", "Text_cj", "Text_tym", "Text_j", "Text_c"};

}  // namespace

// Marks a parameter box that is empty because the data file gave 0.
const char* const kReadZero = "readZero";

namespace {

QStringList ToQt(const std::vector<std::string>& items) {
  QStringList list;
  for (const std::string& item : items) list << QString::fromStdString(item);
  return list;
}

}  // namespace

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
  pair("Command_back").label->setEnabled(false);
  pair("Command_back").button->setEnabled(false);
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
  auto* commands = new QVBoxLayout(column);
  commands->setSpacing(6);
  for (const CommandEntry& entry : kCommands) {
    auto* place = new CommandPlace(column);
    place->setFixedSize(200, 40);
    commands->addWidget(place);
    const HoverPair made = AddHoverPair(place, entry.label, QString(15, ' ') + QString::fromUtf8(entry.text),
                                        entry.button, QString::fromUtf8(entry.text));
    pairs_[entry.button] = made;
    HoverLabel* label = made.label;
    connect(label, &HoverLabel::hovered, this, [this, label] { hoverLabel(label); });
  }
  commands->addStretch();
  pair("Command_back").button->setToolTip(QString::fromUtf8("计算后有效"));
  pair("js").button->installEventFilter(this);
  return column;
}

QLabel* RigorousWindow::addLabel(QWidget* parent, const char* name, const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(name);
  labels_[name] = label;
  return label;
}

QLineEdit* RigorousWindow::addBox(QWidget* parent, const char* name, int width) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setFixedWidth(width);
  box->setFrame(false);
  box->installEventFilter(this);
  boxes_[name] = box;
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
  add(first, {addLabel(panel, "Label_shuru", "请输入先验数据：")});
  add(first, {addLabel(panel, "Label_b", "导线边数："), addBox(panel, "Text_dxbs", 60)});
  add(first, {addLabel(panel, "Label_cj", "测角先验中误差："), addBox(panel, "Text_cj", 60),
              addLabel(panel, "Label_miao", "″")});
  add(first, {addLabel(panel, "Label_tym", "投影面高程："), addBox(panel, "Text_tym", 140),
              addLabel(panel, "Label_mi", "m")});
  first->addStretch();
  second->addSpacing(labels_["Label_shuru"]->sizeHint().width() + 24);
  add(second, {addLabel(panel, "Label_cs", "测距仪常数："), addBox(panel, "Text_j", 60),
               addLabel(panel, "Label_j", "+"), addBox(panel, "Text_c", 60),
               addLabel(panel, "Label_c", "  ppm")});
  boxes_["Text_tym"]->setToolTip(QString::fromUtf8(kProjectionTip));

  check_ = new QCheckBox(QString::fromUtf8("选择等级（可选参数）"), panel);
  check_->setObjectName("Ch1");
  second->addWidget(check_);
  standard_ = new QComboBox(panel);
  standard_->setObjectName("Co1");
  standard_->setToolTip(QString::fromUtf8("参照规范"));
  standard_->addItems(ToQt(standards::Standards()));
  standard_->setCurrentText(QString::fromUtf8(standards::kInitialStandard));
  second->addWidget(standard_);
  grade_ = new QComboBox(panel);
  grade_->setObjectName("Co2");
  grade_->setToolTip(QString::fromUtf8("等级"));
  grade_->setEditable(true);
  grade_->addItems(ToQt(standards::InitialGrades()));
  grade_->setEditText(QString::fromUtf8(standards::kInitialGrade));
  grade_->setMinimumWidth(90);
  second->addWidget(grade_);
  standard_->hide();
  grade_->hide();
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
  connect(pair("js").button, &QPushButton::clicked, this, &RigorousWindow::compute);
  connect(pair("bc").button, &QPushButton::clicked, this, &RigorousWindow::saveData);
  connect(pair(kPrintCommand).button, &QPushButton::clicked, this, [this] { printReport(false); });
  connect(pair(kPdfCommand).button, &QPushButton::clicked, this, [this] { printReport(true); });
  connect(pair("dcdxf").button, &QPushButton::clicked, this, &RigorousWindow::exportDrawing);
  connect(pair("dczb").button, &QPushButton::clicked, this, &RigorousWindow::exportCoordinates);
  connect(pair("dzb").button, &QPushButton::clicked, this, &RigorousWindow::readKnownPoints);
  connect(pair("command_dk").button, &QPushButton::clicked, this, &RigorousWindow::openData);
  connect(pair("Command_tj").button, &QPushButton::clicked, this, &RigorousWindow::insertRow);
  connect(pair("Command_sc").button, &QPushButton::clicked, this, &RigorousWindow::deleteRow);
  connect(pair("Command_back").button, &QPushButton::clicked, this, &RigorousWindow::back);
  connect(pair("tc").button, &QPushButton::clicked, this, &RigorousWindow::close);
  connect(boxes_["Text_dxbs"], &QLineEdit::textEdited, this, &RigorousWindow::sidesTyped);
  for (const char* name : {"Text_dxbs", "Text_cj", "Text_j", "Text_c"}) {
    QLineEdit* box = boxes_[name];
    connect(box, &QLineEdit::textChanged, this, &RigorousWindow::refreshCompute);
    connect(box, &QLineEdit::textEdited, this, [this, box] {
      box->setProperty(kReadZero, false);
      refreshCompute();
    });
  }
  connect(boxes_["Text_tym"], &QLineEdit::textChanged, this, [this](const QString& text) {
    if (ParseLenient(text.toStdString()) > 0) labels_["Label_mi"]->show();
  });
  connect(check_, &QCheckBox::toggled, this, [this](bool on) {
    standard_->setVisible(on);
    grade_->setVisible(on);
  });
  connect(standard_, &QComboBox::currentTextChanged, this, &RigorousWindow::pickStandard);
  connect(grade_, &QComboBox::currentTextChanged, this, &RigorousWindow::refreshGradeCode);
}

HoverPair& RigorousWindow::pair(const char* buttonName) {
  return pairs_.at(buttonName);
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
  params.sideCount = boxes_.at("Text_dxbs")->text().toStdString();
  params.priorAngleError = boxes_.at("Text_cj")->text().toStdString();
  params.additiveConstant = boxes_.at("Text_j")->text().toStdString();
  params.scaleConstant = boxes_.at("Text_c")->text().toStdString();
  params.projectionHeight = boxes_.at("Text_tym")->text().toStdString();
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
  boxes_["Text_dxbs"]->setText(sides < 0 ? QString("0")
                                         : QString::fromStdString(StrNumber(static_cast<double>(sides))));
}

void RigorousWindow::pickStandard(const QString& standard) {
  const standards::GradeChoice choice = standards::GradesForStandard(standard.toStdString());
  grade_->clear();
  grade_->addItems(ToQt(choice.items));
  grade_->setEditText(QString::fromStdString(choice.text));
  refreshGradeCode();
}

void RigorousWindow::refreshGradeCode() {
  code_->setText(QString::fromStdString(
      standards::ToleranceCode(standard_->currentText().toStdString(), grade_->currentText().toStdString())));
}

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
  for (const char* name : {"Text_dxbs", "Text_j", "Text_c", "Text_cj"}) {
    // A zero read from a data file shows as an empty box and counts as given.
    const QLineEdit* box = boxes_[name];
    filled = filled && (!box->text().isEmpty() || box->property(kReadZero).toBool());
  }
  HoverPair& js = pair("js");
  js.label->setEnabled(filled);
  if (!filled && js.button->isVisible()) {
    js.button->hide();
    js.label->show();
  }
  js.button->setEnabled(filled);
}

void RigorousWindow::setInputsUsable(bool usable) {
  for (const char* name : kParameterLabels) labels_[name]->setEnabled(usable);
  for (const char* name : kBoxes) boxes_[name]->setEnabled(usable);
  check_->setEnabled(usable);
  leastSquares_->setEnabled(usable);
  standard_->setEnabled(usable);
  grade_->setEnabled(usable);
  // The caption is disabled before its button goes: the pointer resting on
  // the button then enters a caption that no longer reacts to it.
  for (const char* name : {"js", "command_dk", "dzb"}) {
    pair(name).label->setEnabled(usable);
    pair(name).button->setEnabled(usable);
    pair(name).button->hide();
    pair(name).label->show();
  }
  pair("Command_back").label->setEnabled(!usable);
  pair("Command_back").button->setEnabled(!usable);
}

void RigorousWindow::back() {
  if (plot_) plot_->close();
  afterCompute_ = false;
  report_.reset();
  figure_ = {};
  setInputsUsable(true);
  boxes_["Text_dxbs"]->setFocus(Qt::OtherFocusReason);
  refreshCompute();
}

void RigorousWindow::boxFocus(QLineEdit* box, bool in) {
  box->setFrame(in);
  if (box != boxes_["Text_tym"]) return;
  if (in) {
    box->clear();
    labels_["Label_mi"]->show();
  } else if (ParseLenient(box->text().toStdString()) != 0) {
    box->setText(QString(9, ' ') + box->text());
  }
}

void RigorousWindow::pointerOverCompute() {
  if (boxes_["Text_tym"]->text().isEmpty()) {
    boxes_["Text_tym"]->setText(QString::fromUtf8("测区平均高程"));
    labels_["Label_mi"]->hide();
  }
}

void RigorousWindow::hoverLabel(HoverLabel* label) {
  if (!label->isEnabled()) return;
  for (auto& [name, p] : pairs_) {
    if (p.label != label) continue;
    ShowButton(p);
  }
}

void RigorousWindow::pointerOverBackground() {
  for (auto& [name, p] : pairs_) {
    p.button->hide();
    p.label->show();
  }
}

bool RigorousWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Enter && watched == pair("js").button) {
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
    for (auto& [name, box] : boxes_) {
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
