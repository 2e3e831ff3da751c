#pragma once
// The geodetic window (ddztzs): the direct problem by the series with the
// exact solution beside it, and the exact inverse problem on a second page,
// on one of four ellipsoids.
#include <QWidget>
#include <vector>

#include "geodesy/geodetic.h"

class QLineEdit;
class QTabWidget;

namespace korvane::ui {

class MessageBoxes;
class OptionGroup;

class GeodeticWindow : public QWidget {
  Q_OBJECT
 public:
  explicit GeodeticWindow(MessageBoxes& messages, QWidget* parent = nullptr);

  // The six buttons; each acts on the page shown.
  void compute();
  void clearInput();
  void clearResult();

  geodesy::EllipsoidId ellipsoid() const;
  bool inverseShown() const;

 signals:
  // 退出子程序: the window closes and the main window comes back.
  void leaveToolRequested();
  // 退出主程序: the whole program ends.
  void endProgramRequested();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* buildDirectPage();
  QWidget* buildInversePage();
  QWidget* buildEllipsoidFrame();
  QWidget* buildButtons();
  QLineEdit* box(const char* name, const char* tooltip, bool readOnly);
  void computeDirect();
  void computeInverse();

  MessageBoxes& messages_;
  QTabWidget* pages_ = nullptr;
  OptionGroup* ellipsoids_ = nullptr;
  // The boxes of each page in the order of its control-name list.
  std::vector<QLineEdit*> directInputs_, directOutputs_, inverseInputs_, inverseOutputs_;
  bool centred_ = false;
};

}  // namespace korvane::ui
