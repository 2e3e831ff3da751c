#include "ui/traverse/traverse_commands.h"

#include <QPushButton>


namespace korvane::ui {

TraverseCommands::TraverseCommands(QWidget* background, std::function<void(HoverLabel*)> hovered)
    : column_(std::make_unique<HoverCommandColumn>(background, std::move(hovered))),
      compute(column_->add("Label3", "js", "计    算")),
      computeOther(column_->addToLastPlace("Label10", "js2", "计    算")),
      table(column_->addTableCommands()),
      saveText(column_->add("Label4", "bc", "保存文本")),
      output(column_->addOutputCommands()),
      saveData(column_->add("Label12", "bcsj", "保存数据")),
      back(column_->add("Label9", "Command_back", "返    回")),
      exit(column_->add("Label5", "tc", "退    出", "退   出")),
      layout_(column_->finish()) {
  back.button->setToolTip(QString::fromUtf8("计算后有效"));
}

void TraverseCommands::startUp() {
  for (const HoverPair& p : column_->pairs()) p.button->hide();
  table.open.label->setEnabled(false);
  compute.label->setEnabled(false);
  computeOther.label->setEnabled(false);
  computeOther.label->hide();
  back.label->setEnabled(false);
  back.button->setEnabled(false);
}

void TraverseCommands::offerCompute(bool first, bool showButton) {
  const HoverPair& active = computeFor(first);
  const HoverPair& other = computeFor(!first);
  other.button->hide();
  other.label->hide();
  other.label->setEnabled(false);
  active.label->setEnabled(true);
  active.label->show();
  active.button->setEnabled(true);
  active.button->setVisible(showButton);
}

void TraverseCommands::withdrawCompute(bool first) {
  for (const HoverPair* p : {&compute, &computeOther}) {
    p->button->hide();
    p->button->setEnabled(false);
    p->label->setEnabled(false);
  }
  computeFor(!first).label->hide();
  computeFor(first).label->show();
}

void TraverseCommands::offerOpening() {
  table.open.label->setEnabled(true);
  table.open.button->show();
}

void TraverseCommands::enterResults(const QPushButton* used) {
  table.open.label->setEnabled(false);
  table.open.button->hide();
  // The observations are saved from the input view.
  saveData.label->setEnabled(false);
  saveData.button->hide();
  for (const HoverPair* p : {&compute, &computeOther}) {
    if (p->button != used) continue;
    p->button->hide();
    p->label->setEnabled(false);
    p->label->hide();
    hiddenCaption_ = p->label;
  }
  back.label->setEnabled(true);
  back.button->setEnabled(true);
}

void TraverseCommands::leaveResults() {
  hiddenCaption_ = nullptr;
  back.label->setEnabled(false);
  back.button->setEnabled(false);
  saveData.label->setEnabled(true);
}

void TraverseCommands::hover(HoverLabel* label) {
  if (!label->isEnabled()) return;
  const HoverPair* p = column_->pairOf(label);
  if (!p) return;
  ShowButton(*p);
  // The two compute commands share a place: the other one goes.
  if (p->label == compute.label || p->label == computeOther.label) {
    const HoverPair& other = p->label == compute.label ? computeOther : compute;
    other.button->hide();
    other.label->hide();
  }
}

void TraverseCommands::pointerOverBackground(bool first) {
  column_->showCaptions();
  // Only the compute command of the selected kind is shown, greyed while it
  // is unavailable.
  computeFor(!first).label->hide();
  if (hiddenCaption_) hiddenCaption_->hide();
}

}  // namespace korvane::ui
