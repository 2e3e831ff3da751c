#pragma once
// The optional tolerance check of an adjustment window: the box 选择等级
// (Ch1), the standard (Co1) and the grade (Co2, which may be typed). The two
// lists show only while the box is ticked; choosing a standard offers its
// grades.
#include <QWidget>
#include <string>

class QCheckBox;
class QComboBox;

namespace korvane::ui {

class StandardGradePicker : public QWidget {
  Q_OBJECT
 public:
  explicit StandardGradePicker(QWidget* parent);

  // Whether the misclosures are to be checked.
  bool checkWanted() const;
  // The tolerance code of the standard and grade chosen.
  std::string toleranceCode() const;

 signals:
  // The standard or the grade changed: the tolerance code may be another.
  void choiceChanged();

 private:
  void pickStandard(const QString& standard);

  QCheckBox* check_ = nullptr;
  QComboBox* standard_ = nullptr;
  QComboBox* grade_ = nullptr;
};

}  // namespace korvane::ui
