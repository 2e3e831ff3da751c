#include "ui/geodesy/geodetic_window.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/numbers.h"
#include "ui/shell/platform.h"
#include "ui/widgets/button_row.h"
#include "ui/widgets/option_group.h"
#include "ui/shell/user_prompts.h"
#include "ui/widgets/qt_text.h"

namespace korvane::ui {
namespace {

const char* const kAngleIn = "角度输入格式例：8度08分2.36秒则输入：8.080236";
const char* const kAngleOut = "角度输出格式例：8.08088888为8度08分08.8888秒";
const char* const kLengthIn = "S以米为单位";

const char* const kDirectInputs[] = {"Text_B1", "Text_A12", "Text_L1", "Text_S12"};
const char* const kDirectOutputs[] = {"Text_B2",       "Text_L2",        "Text_A21",
                                      "Text_B2_exact", "Text_L2_exact", "Text_A21_exact",
                                      "Text_diff"};
const char* const kInverseInputs[] = {"Text_fs_B1", "Text_fs_L1", "Text_fs_B2", "Text_fs_L2"};
const char* const kInverseOutputs[] = {"Text_fs_S12", "Text_fs_A12", "Text_fs_A21"};

const Option<geodesy::EllipsoidId> kEllipsoids[] = {
    {"Option_ks", "克氏", geodesy::EllipsoidId::Krassovsky},
    {"Option_iag75", "IAG-75", geodesy::EllipsoidId::Iag75},
    {"Option_cgcs2000", "CGCS2000", geodesy::EllipsoidId::Cgcs2000},
    {"Option_wgs84", "WGS84", geodesy::EllipsoidId::Wgs84},
};

std::string S(const QLineEdit* box) { return box->text().toStdString(); }

QLabel* Caption(const char* text) { return new QLabel(QString::fromUtf8(text)); }

}  // namespace

GeodeticWindow::GeodeticWindow(MessageBoxes& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(messages) {
  setObjectName("ddztzs");
  setWindowTitle(QString::fromUtf8("大地主题正算"));
  auto* layout = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  pages_->setObjectName("tabs");
  pages_->addTab(buildDirectPage(), QString::fromUtf8("大地主题正算"));
  pages_->addTab(buildInversePage(), QString::fromUtf8("大地主题反算"));
  connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
    setWindowTitle(QString::fromUtf8(page == 0 ? "大地主题正算" : "大地主题反算"));
  });
  layout->addWidget(pages_);
  layout->addWidget(buildEllipsoidFrame());
  layout->addWidget(buildButtons());
}

QLineEdit* GeodeticWindow::box(const char* name, const char* tooltip, bool readOnly) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  edit->setToolTip(QString::fromUtf8(tooltip));
  edit->setReadOnly(readOnly);
  edit->setMinimumWidth(150);
  // Enter in an input box computes, as the compute button does.
  if (!readOnly) connect(edit, &QLineEdit::returnPressed, this, &GeodeticWindow::compute);
  return edit;
}

QWidget* GeodeticWindow::buildDirectPage() {
  auto* page = new QWidget;
  page->setObjectName("page_zs");
  auto* grid = new QGridLayout(page);
  const char* inputLabels[] = {"B1", "A1(A12)", "L1", "S12"};
  for (int i = 0; i < 4; ++i) {
    grid->addWidget(Caption(inputLabels[i]), i + 1, 0);
    directInputs_.push_back(box(kDirectInputs[i], i == 3 ? kLengthIn : kAngleIn, false));
    grid->addWidget(directInputs_.back(), i + 1, 1);
  }
  grid->addWidget(Caption("级数解"), 0, 3);
  grid->addWidget(Caption("严密解"), 0, 4);
  const char* outputLabels[] = {"B2", "L2", "A21"};
  // Series solution, then the exact one, then the difference of the two.
  directOutputs_.resize(std::size(kDirectOutputs));
  for (int i = 0; i < 3; ++i) {
    grid->addWidget(Caption(outputLabels[i]), i + 1, 2);
    directOutputs_[i] = box(kDirectOutputs[i], kAngleOut, true);
    directOutputs_[i + 3] = box(kDirectOutputs[i + 3], kAngleOut, true);
    grid->addWidget(directOutputs_[i], i + 1, 3);
    grid->addWidget(directOutputs_[i + 3], i + 1, 4);
  }
  grid->addWidget(Caption("两解点位之差(mm)"), 4, 2, 1, 2, Qt::AlignRight);
  directOutputs_[6] = box("Text_diff", "级数解与严密解的第二点相距的毫米数：线太长时级数解不够精确", true);
  grid->addWidget(directOutputs_[6], 4, 4);
  grid->setColumnMinimumWidth(2, 40);
  return page;
}

QWidget* GeodeticWindow::buildInversePage() {
  auto* page = new QWidget;
  page->setObjectName("page_fs");
  auto* grid = new QGridLayout(page);
  const char* inputLabels[] = {"B1", "L1", "B2", "L2"};
  for (int i = 0; i < 4; ++i) {
    grid->addWidget(Caption(inputLabels[i]), i, 0);
    inverseInputs_.push_back(box(kInverseInputs[i], kAngleIn, false));
    grid->addWidget(inverseInputs_.back(), i, 1);
  }
  const char* outputLabels[] = {"S12", "A1(A12)", "A21"};
  for (int i = 0; i < 3; ++i) {
    grid->addWidget(Caption(outputLabels[i]), i, 2);
    inverseOutputs_.push_back(box(kInverseOutputs[i], i == 0 ? kLengthIn : kAngleOut, true));
    grid->addWidget(inverseOutputs_.back(), i, 3);
  }
  return page;
}

QWidget* GeodeticWindow::buildEllipsoidFrame() {
  ellipsoids_ = new OptionGroup("Frame_tq", "选择椭球", QBoxLayout::LeftToRight, this);
  ellipsoids_->addAll(kEllipsoids);
  return ellipsoids_;
}

QWidget* GeodeticWindow::buildButtons() {
  auto* buttons = new ButtonRow(this);
  buttons->add("js", "计算", [this] { compute(); });
  buttons->add("qksr", "清空输入", [this] { clearInput(); });
  buttons->add("qkjg", "清空结果", [this] { clearResult(); });
  buttons->add("qbqk", "全部清空", [this] {
    clearInput();
    clearResult();
  });
  buttons->add("tczcx", "退出子程序", [this] { emit leaveToolRequested(); });
  buttons->add("tczhcx", "退出主程序", [this] { emit endProgramRequested(); });
  return buttons;
}

geodesy::EllipsoidId GeodeticWindow::ellipsoid() const {
  return ellipsoids_->chosen(kEllipsoids);
}

bool GeodeticWindow::inverseShown() const { return pages_->currentIndex() == 1; }

void GeodeticWindow::compute() {
  if (inverseShown())
    computeInverse();
  else
    computeDirect();
}

void GeodeticWindow::computeDirect() {
  const geodesy::DirectResult r = geodesy::SolveDirect(
      {S(directInputs_[0]), S(directInputs_[1]), S(directInputs_[2]), S(directInputs_[3]), ellipsoid()});
  if (r.refusal) {
    messages_.inform(this, *r.refusal);
    return;
  }
  const std::string texts[] = {r.b2, r.l2, r.a21, r.exactB2, r.exactL2, r.exactA21};
  for (std::size_t i = 0; i < std::size(texts); ++i) directOutputs_[i]->setText(Q(texts[i]));
  directOutputs_[6]->setText(r.differenceMm ? Q(FormatFixed(*r.differenceMm, "#0.000")) : QString::fromUtf8("—"));
}

void GeodeticWindow::computeInverse() {
  const geodesy::InverseResult r = geodesy::SolveInverse(
      {S(inverseInputs_[0]), S(inverseInputs_[1]), S(inverseInputs_[2]), S(inverseInputs_[3]), ellipsoid()});
  if (r.refusal) {
    messages_.inform(this, *r.refusal);
    return;
  }
  const std::string texts[] = {r.s12Text, r.a12Text, r.a21Text};
  for (std::size_t i = 0; i < std::size(texts); ++i) inverseOutputs_[i]->setText(Q(texts[i]));
}

void GeodeticWindow::clearInput() {
  for (QLineEdit* box : inverseShown() ? inverseInputs_ : directInputs_) box->clear();
}

void GeodeticWindow::clearResult() {
  for (QLineEdit* box : inverseShown() ? inverseOutputs_ : directOutputs_) box->clear();
}

void GeodeticWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  CentreOnFirstShow(this, centred_);
}

}  // namespace korvane::ui
