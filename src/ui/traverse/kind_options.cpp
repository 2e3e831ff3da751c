#include "ui/traverse/kind_options.h"

#include <QHBoxLayout>
#include <QRadioButton>

namespace korvane::ui {

KindOptions::KindOptions(QWidget* parent) : QGroupBox(QString::fromUtf8("     选择导线类型"), parent) {
  setObjectName("Frame1");
  auto* row = new QHBoxLayout(this);
  const std::pair<formats::TraverseKind, std::pair<const char*, const char*>> kindNames[] = {
      {formats::TraverseKind::Connecting, {"fhdx", "附合导线"}},
      {formats::TraverseKind::Closed, {"bhdx", "闭合导线"}},
      {formats::TraverseKind::Open, {"zdx", "支导线"}},
      {formats::TraverseKind::NoOrientation, {"wdxdx", "无定向导线"}}};
  for (const auto& [kind, names] : kindNames) {
    auto* option = new QRadioButton(QString::fromUtf8(names.second), this);
    option->setObjectName(names.first);
    row->addWidget(option);
    row->addSpacing(30);
    options_[kind] = option;
    const formats::TraverseKind chosen = kind;
    connect(option, &QRadioButton::toggled, this, [this, chosen](bool on) {
      if (on) emit kindChosen(chosen);
    });
  }
  row->addStretch();
}

formats::TraverseKind KindOptions::selected() const {
  for (const auto& [kind, option] : options_) {
    if (option->isChecked()) return kind;
  }
  return formats::TraverseKind::Connecting;
}

void KindOptions::check(formats::TraverseKind kind) { options_.at(kind)->setChecked(true); }

void KindOptions::setUsable(bool usable) {
  for (auto& [kind, option] : options_) option->setEnabled(usable);
}

void KindOptions::allowOnly(formats::TraverseKind kind) {
  for (auto& [k, option] : options_) option->setEnabled(k == kind);
}

}  // namespace korvane::ui
