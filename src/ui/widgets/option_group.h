#pragma once
// A framed set of radio options (the ellipsoid of a computation and the
// like): each named as the control it is, the first one checked, and the
// choice asked by its place in the order the options were added.
#include <QBoxLayout>
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QString>
#include <cstddef>

namespace korvane::ui {

// An option of a window's table: its control name, caption and what it
// stands for.
template <typename T>
struct Option {
  const char* name;
  const char* caption;
  T value;
};

class OptionGroup : public QGroupBox {
 public:
  OptionGroup(const char* name, const char* title, QBoxLayout::Direction direction, QWidget* parent)
      : QGroupBox(QString::fromUtf8(title), parent), group_(new QButtonGroup(this)), layout_(new QBoxLayout(direction, this)) {
    setObjectName(name);
  }

  QRadioButton* add(const char* name, const char* caption) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), this);
    radio->setObjectName(name);
    group_->addButton(radio, group_->buttons().size());
    layout_->addWidget(radio);
    if (group_->buttons().size() == 1) radio->setChecked(true);
    return radio;
  }
  template <typename T, std::size_t N>
  void addAll(const Option<T> (&options)[N]) {
    for (const Option<T>& option : options) add(option.name, option.caption);
  }
  // The place of the checked option.
  int chosen() const { return group_->checkedId(); }
  // What the checked option of `options` (the table the group was made
  // from) stands for.
  template <typename T, std::size_t N>
  const T& chosen(const Option<T> (&options)[N]) const {
    return options[chosen()].value;
  }

 private:
  QButtonGroup* group_;
  QBoxLayout* layout_;
};

}  // namespace korvane::ui
