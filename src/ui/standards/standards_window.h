#pragma once
// The read-only standards window (form_gcclcygf): the traverse limits of the
// three standards and the levelling limits, for looking up.
#include <QWidget>

namespace korvane::ui {

class StandardsWindow : public QWidget {
  Q_OBJECT
 public:
  explicit StandardsWindow(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool centred_ = false;
};

}  // namespace korvane::ui
