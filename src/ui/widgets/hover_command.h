#pragma once
// A hover command: a flat caption label that gives way to its push button
// when the pointer enters it. A disabled label reacts to nothing, which is how
// a command is made unavailable.
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <vector>

class QVBoxLayout;

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

// The column of hover commands of a window, top to bottom, each in a place
// 200 × 40 of its own or sharing the place above. The window keeps the pairs
// add() returns as members; `hovered` hears every enabled caption the
// pointer enters.
class HoverCommandColumn {
 public:
  HoverCommandColumn(QWidget* parent, std::function<void(HoverLabel*)> hovered);

  // A command whose caption is its button's text after a margin; the caption
  // may be spaced differently from the button (`buttonText`).
  HoverPair add(const char* labelName, const char* buttonName, const char* text, const char* buttonText = nullptr);
  // A command in the place of the one added last (the two show by turns).
  HoverPair addToLastPlace(const char* labelName, const char* buttonName, const char* text);
  // The commands on the results of a computation, in this order: 打印…,
  // 保存为PDF…, 导出DXF…, 导出坐标….
  struct OutputCommands {
    HoverPair print, pdf, dxf, coordinates;
  };
  OutputCommands addOutputCommands();
  // The commands on the table: 打开数据, 插入一行, 删除该行.
  struct TableCommands {
    HoverPair open, insertRow, deleteRow;
  };
  TableCommands addTableCommands();
  // The column, ended by a stretch, for the window's layout.
  QVBoxLayout* finish();

  const std::vector<HoverPair>& pairs() const { return pairs_; }
  // The pair of `label`, or none.
  const HoverPair* pairOf(const HoverLabel* label) const;
  // The pointer is off the commands: every button gives way to its caption.
  void showCaptions() const;

 private:
  HoverPair addTo(CommandPlace* place, const char* labelName, const char* buttonName, const char* text,
                  const char* buttonText);

  QWidget* parent_;
  QVBoxLayout* layout_;
  CommandPlace* lastPlace_ = nullptr;
  std::function<void(HoverLabel*)> hovered_;
  std::vector<HoverPair> pairs_;
};

}  // namespace korvane::ui
