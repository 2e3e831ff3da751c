#include "ui/network/network_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "standards/tolerance.h"
#include "ui/widgets/cell_editor.h"
#include "ui/network/network_grid.h"
#include "ui/shell/platform.h"
#include "ui/traverse/plot_window.h"
#include "ui/shell/report_printing.h"
#include "ui/widgets/button_row.h"
#include "ui/widgets/standard_grade_picker.h"

namespace korvane::ui {

namespace {

const char* const kObservationTip =
    "每行一条记录，类型为：方向组 测站（开始该测站的一个方向测回）；方向 测站、照准点、方向值；"
    "角度 测站、后视点、前视点、左角；距离 起点、终点、平距；方位角 起点、终点、坐标方位角。"
    "角度为度.分秒，距离为米。类型也可填网文件的关键字 SET、DIR、ANGLE、DIST、AZI。"
    "中误差可空：填写时为该观测值自己的先验中误差（方向、角度、方位角为秒，距离为毫米），代替下方的默认值；"
    "方位角不填中误差时为固定方位角，填写时为观测方位角（陀螺或 GNSS，须先改正子午线收敛角）。";

struct BoxEntry {
  const char* name;
  const char* caption;
  const char* unit;
  const char* placeholder;  // the default deviation an empty box stands for
};

const BoxEntry kBoxes[] = {{"Text_fx", "方向中误差：", "″", "2"},
                           {"Text_cj", "测角中误差：", "″", "2.8"},
                           {"Text_a", "测距固定误差：", "mm", "2"},
                           {"Text_b", "比例误差：", "ppm", "2"}};

}  // namespace

NetworkWindow::NetworkWindow(MessageBoxes& messages, FileDialogs& files)
    : QWidget(nullptr, Qt::Window), messages_(messages), files_(files) {
  setObjectName("form_dxw");
  setFont(UiFont(10));
  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(14, 8, 14, 12);
  title_ = new QLabel(this);
  title_->setObjectName("Label2");
  title_->setFont(GreetingFont(20));
  title_->setAlignment(Qt::AlignCenter);
  root->addWidget(title_);

  auto* body = new QHBoxLayout;
  pages_ = new QTabWidget(this);
  pages_->setObjectName("SSTab1");
  pages_->addTab(buildInputPage(), QString::fromUtf8("观测数据"));
  results_ = new QPlainTextEdit(pages_);
  results_->setObjectName("Text_jg");
  results_->setReadOnly(true);
  results_->setLineWrapMode(QPlainTextEdit::NoWrap);
  results_->setFont(TableFont(10));
  pages_->addTab(results_, QString::fromUtf8("平差结果"));
  body->addWidget(pages_, 1);
  body->addWidget(buildCommands(this));
  root->addLayout(body, 1);
  root->addWidget(buildParameters(this));
  forgetResult();
  setCaptions(Purpose::Network);
  FitToScreen(this, {1180, 760});
}

NetworkWindow::~NetworkWindow() { delete plot_; }

QWidget* NetworkWindow::buildInputPage() {
  auto* page = new QWidget(pages_);
  auto* layout = new QVBoxLayout(page);
  auto* units = new QLabel(QString::fromUtf8("角度单位为：度.分秒          长度单位为：米          X 为北坐标，Y 为东坐标"), page);
  units->setObjectName("Label1");
  layout->addWidget(units);
  auto* split = new QSplitter(Qt::Horizontal, page);
  known_ = new NetworkGrid(page, "Grid_known",
                           {QString::fromUtf8("已知点名"), QString::fromUtf8("X（m）"), QString::fromUtf8("Y（m）"),
                            QString::fromUtf8("基准")},
                           8);
  known_->grid()->setToolTip(QString::fromUtf8(
      "基准栏空为固定点；填“基准”（或 DATUM）为自由网的基准点：坐标作近似值，平差取基准点上的最小范数解。"
      "固定点与基准点不能混用。"));
  observations_ = new NetworkGrid(page, "Grid_obs",
                                  {QString::fromUtf8("类型"), QString::fromUtf8("测站/起点"),
                                   QString::fromUtf8("照准点/后视点/终点"), QString::fromUtf8("前视点"),
                                   QString::fromUtf8("观测值"), QString::fromUtf8("中误差")},
                                  30);
  observations_->grid()->setToolTip(QString::fromUtf8(kObservationTip));
  observations_->grid()->setColumnWidth(3, 130);
  for (int c = 1; c <= 3; ++c) known_->grid()->setColumnWidth(c, c == 1 ? 80 : 100);
  known_->grid()->setColumnWidth(4, 50);
  split->addWidget(known_->grid());
  split->addWidget(observations_->grid());
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 2);
  layout->addWidget(split, 1);
  lastGrid_ = observations_;
  return page;
}

QWidget* NetworkWindow::buildParameters(QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 4, 0, 0);
  auto* caption = new QLabel(QString::fromUtf8("先验中误差（空为默认值）："), panel);
  caption->setObjectName("Label_shuru");
  row->addWidget(caption);
  for (std::size_t i = 0; i < std::size(kBoxes); ++i) {
    const BoxEntry& entry = kBoxes[i];
    row->addWidget(new QLabel(QString::fromUtf8(entry.caption), panel));
    auto* box = new QLineEdit(panel);
    box->setObjectName(entry.name);
    box->setFixedWidth(56);
    box->setPlaceholderText(QString::fromUtf8(entry.placeholder));
    precisionBoxes_[i] = box;
    row->addWidget(box);
    row->addWidget(new QLabel(QString::fromUtf8(entry.unit), panel));
    row->addSpacing(12);
  }
  tolerance_ = new StandardGradePicker(panel);
  row->addWidget(tolerance_);
  variance_ = new QCheckBox(QString::fromUtf8("方差分量估计"), panel);
  variance_->setObjectName("Ch_fcfl");
  variance_->setToolTip(QString::fromUtf8("按各观测组（方向、角度、边长、方位角）的残差重新估计先验中误差并重新定权"));
  row->addWidget(variance_);
  row->addStretch();
  return panel;
}

QWidget* NetworkWindow::buildCommands(QWidget* parent) {
  auto* column = new ButtonRow(parent, QBoxLayout::TopToBottom);
  column->layout()->setSpacing(6);
  auto add = [column](const char* name, const char* text, auto slot) {
    QPushButton* button = column->add(name, text, slot);
    button->setMinimumSize(150, 36);
    return button;
  };
  add("command_dk", "打开数据", [this] { openData(); });
  add("bc", "保存数据", [this] { saveData(); });
  add("dzb", "从坐标文件读入", [this] { readKnownPoints(); });
  add("Command_tj", "插入一行", [this] { insertRow(); });
  add("Command_sc", "删除该行", [this] { deleteRow(); });
  add("js", "计    算", [this] { compute(); });
  // The commands that act on the adjusted network.
  resultCommands_ = {add("bcbg", "保存报告", [this] { saveReport(); }),
                     add(kPrintCommand, kPrintCaption, [this] { printReport(false); }),
                     add(kPdfCommand, kPdfCaption, [this] { printReport(true); }),
                     add("dcdxf", "导出DXF…", [this] { exportDrawing(); }),
                     add("dczb", "导出坐标…", [this] { exportCoordinates(); }),
                     add("xstx", "显示图形", [this] { showSketch(); })};
  add("tc", "退    出", [this] { close(); });
  column->addStretch();
  for (QPushButton* command : resultCommands_) command->setToolTip(QString::fromUtf8("计算后有效"));
  // The row commands act on the table last worked in.
  for (NetworkGrid* grid : {known_, observations_}) {
    connect(grid->grid(), &QTableWidget::currentCellChanged, this, [this, grid] { lastGrid_ = grid; });
  }
  return column;
}

void NetworkWindow::setCaptions(Purpose purpose) {
  const bool junction = purpose == Purpose::JunctionTraverse;
  setWindowTitle(QString::fromUtf8(junction ? "结点导线平差（最小二乘）" : "导线网平差（最小二乘）"));
  title_->setText(QString::fromUtf8(junction ? "欢迎使用结点导线严密平差" : "欢迎使用导线网严密平差"));
}

void NetworkWindow::showFor(Purpose purpose) {
  setCaptions(purpose);
  if (!placed_) {
    placed_ = true;
    show();
    CentreOnScreen(this);
  }
  show();
  raise();
  activateWindow();
}

network::NetworkOptions NetworkWindow::options() const {
  network::NetworkOptions options;
  options.checkTolerance = tolerance_->checkWanted();
  options.varianceComponents = variance_->isChecked();
  options.toleranceCode = tolerance_->toleranceCode();
  return options;
}

PrecisionTexts NetworkWindow::precisionTexts() const {
  PrecisionTexts texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = precisionBoxes_[i]->text().toStdString();
  return texts;
}

NetworkGrid& NetworkWindow::activeGrid() const { return *lastGrid_; }

QString NetworkWindow::resultText() const { return results_->toPlainText(); }

void NetworkWindow::forgetResult() {
  computed_.reset();
  results_->clear();
  for (QPushButton* command : resultCommands_) command->setEnabled(false);
  if (plot_) plot_->close();
}

void NetworkWindow::closeEvent(QCloseEvent* event) {
  known_->editor().commitAndClose();
  observations_->editor().commitAndClose();
  if (plot_) plot_->close();
  event->accept();
}

}  // namespace korvane::ui
