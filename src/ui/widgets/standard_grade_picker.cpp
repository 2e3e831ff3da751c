#include "ui/widgets/standard_grade_picker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QStringList>
#include <vector>

#include "standards/tolerance.h"

namespace korvane::ui {
namespace {

QStringList ToQt(const std::vector<std::string>& items) {
  QStringList list;
  for (const std::string& item : items) list << QString::fromStdString(item);
  return list;
}

}  // namespace

StandardGradePicker::StandardGradePicker(QWidget* parent) : QWidget(parent) {
  setObjectName("standardGradePicker");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  check_ = new QCheckBox(QString::fromUtf8("选择等级（可选参数）"), this);
  check_->setObjectName("Ch1");
  row->addWidget(check_);
  standard_ = new QComboBox(this);
  standard_->setObjectName("Co1");
  standard_->setToolTip(QString::fromUtf8("参照规范"));
  standard_->addItems(ToQt(standards::Standards()));
  standard_->setCurrentText(QString::fromUtf8(standards::kInitialStandard));
  row->addWidget(standard_);
  grade_ = new QComboBox(this);
  grade_->setObjectName("Co2");
  grade_->setToolTip(QString::fromUtf8("等级"));
  grade_->setEditable(true);
  grade_->addItems(ToQt(standards::InitialGrades()));
  grade_->setEditText(QString::fromUtf8(standards::kInitialGrade));
  grade_->setMinimumWidth(90);
  row->addWidget(grade_);
  standard_->hide();
  grade_->hide();
  connect(check_, &QCheckBox::toggled, this, [this](bool on) {
    standard_->setVisible(on);
    grade_->setVisible(on);
  });
  connect(standard_, &QComboBox::currentTextChanged, this, &StandardGradePicker::pickStandard);
  connect(grade_, &QComboBox::currentTextChanged, this, &StandardGradePicker::choiceChanged);
}

bool StandardGradePicker::checkWanted() const { return check_->isChecked(); }

std::string StandardGradePicker::toleranceCode() const {
  return standards::ToleranceCode(standard_->currentText().toStdString(), grade_->currentText().toStdString());
}

void StandardGradePicker::pickStandard(const QString& standard) {
  const standards::GradeChoice choice = standards::GradesForStandard(standard.toStdString());
  grade_->clear();
  grade_->addItems(ToQt(choice.items));
  grade_->setEditText(QString::fromStdString(choice.text));
  emit choiceChanged();
}

}  // namespace korvane::ui
