#pragma once
// A hover command: a flat caption label that gives way to its push button
// when the pointer enters it. A disabled label reacts to nothing, which is how
// a command is made unavailable.
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace korvane::ui {

class HoverLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  // The pointer entered the label while it was enabled.
  void hovered();

 protected:
  void enterEvent(QEnterEvent* event) override;
};

// The place a command occupies: every child is stretched over the whole
// place, so a label and its button (or the two compute pairs) coincide.
class CommandPlace : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void childEvent(QChildEvent* event) override;
};

// A caption label and its hidden button, both filling `place`.
struct HoverPair {
  HoverLabel* label;
  QPushButton* button;
};
// Creates the pair of a command in its place: the label, framed, with
// `labelText`; the button, hidden, with `buttonText`.
HoverPair AddHoverPair(CommandPlace* place, const char* labelName, const QString& labelText,
                       const char* buttonName, const QString& buttonText);

// The pointer reached the pair's label: the button takes its place.
void ShowButton(const HoverPair& pair);

}  // namespace korvane::ui
