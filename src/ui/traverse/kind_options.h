#pragma once
// The frame 选择导线类型 (Frame1) of the main window: one option for each
// kind of simple traverse, exactly one checked.
#include <QGroupBox>
#include <map>

#include "formats/traverse_kind.h"

class QRadioButton;

namespace korvane::ui {

class KindOptions : public QGroupBox {
  Q_OBJECT
 public:
  explicit KindOptions(QWidget* parent);

  formats::TraverseKind selected() const;
  // Checks the option of `kind`; kindChosen follows when it was not checked.
  void check(formats::TraverseKind kind);
  // Every option usable or none; or only the one of `kind`.
  void setUsable(bool usable);
  void allowOnly(formats::TraverseKind kind);

 signals:
  void kindChosen(formats::TraverseKind kind);

 private:
  std::map<formats::TraverseKind, QRadioButton*> options_;
};

}  // namespace korvane::ui
