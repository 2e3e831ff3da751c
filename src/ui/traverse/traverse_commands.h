#pragma once
// The column of hover commands of the main window and the states it goes
// through: before start data are confirmed, ready to compute, showing
// results. The two compute commands (js for connecting and closed
// traverses, js2 for open and unoriented ones) share the first place; only
// the one of the selected kind shows.
#include <QVBoxLayout>
#include <functional>
#include <memory>

#include "ui/widgets/hover_command.h"

class QObject;
class QPushButton;

namespace korvane::ui {

class TraverseCommands {
 public:
  TraverseCommands(QWidget* background, std::function<void(HoverLabel*)> hovered);
  QVBoxLayout* layout() const { return layout_; }

  // The compute command of connecting and closed traverses (`first`) or of
  // the other kinds.
  const HoverPair& computeFor(bool first) const { return first ? compute : computeOther; }
  bool isCompute(const QObject* button) const { return button == compute.button || button == computeOther.button; }

  // Every button hidden; only 打开数据's caption and the compute caption
  // of the first kind show, greyed, until start data are confirmed.
  void startUp();
  // Start data of the kind confirmed: its compute command is offered.
  void offerCompute(bool first, bool showButton);
  // Start data of another kind: neither compute command is offered.
  void withdrawCompute(bool first);
  // Start data confirmed: files can be opened.
  void offerOpening();
  // Results shown: the used compute command goes with its caption until
  // 返回, and so do 打开数据 and 保存数据.
  void enterResults(const QPushButton* used);
  // 返回.
  void leaveResults();
  // The pointer entered an enabled caption.
  void hover(HoverLabel* label);
  // The pointer is on the background: every caption shows again.
  void pointerOverBackground(bool first);

 private:
  std::unique_ptr<HoverCommandColumn> column_;

 public:
  // In the order they stand in the column.
  const HoverPair compute, computeOther;
  const HoverCommandColumn::TableCommands table;
  const HoverPair saveText;
  const HoverCommandColumn::OutputCommands output;
  const HoverPair saveData, back, exit;

 private:
  QVBoxLayout* layout_;
  // The caption of the compute command used last, hidden until 返回.
  HoverLabel* hiddenCaption_ = nullptr;
};

}  // namespace korvane::ui
