#pragma once
// The Gauss–Krüger window (zbtygz): forward, inverse and zone change on three
// pages, the ellipsoid, the zone (by number or central meridian, 3° or 6°,
// with or without the prefix) and a point list converted from a file.
#include <QWidget>
#include <array>
#include <vector>

#include "export/figure.h"
#include "geodesy/gauss_kruger.h"

class QPushButton;
class QLineEdit;
class QTabWidget;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;
class OptionGroup;
class ZoneChooser;

class GaussWindow : public QWidget {
  Q_OBJECT
 public:
  GaussWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent = nullptr);

  // The buttons; each acts on the page shown.
  void compute();
  void convertFile();
  void clearInput();
  void clearResult();
  void clearAll();
  void exportDrawing();      // 导出DXF…
  void exportCoordinates();  // 导出坐标…

  // The settings of the page shown, as the controls hold them.
  geodesy::Settings settings() const;

 signals:
  // 退出子程序: the window closes and the main window comes back.
  void leaveToolRequested();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The boxes of a page, in the order of its control-name lists.
  struct PageBoxes {
    std::vector<QLineEdit*> inputs, outputs;
  };
  const PageBoxes& shownBoxes() const;
  QWidget* buildPlanePage(const char* page, const char* const* inputs, const char* const* outputs,
                          const char* const* captions, bool zoneChange);
  QWidget* buildEllipsoidFrame();
  void showSolution(const geodesy::Solution& s);
  // Typing starts in the first box of the page shown.
  void focusFirstInput();
  // The page's converted points: the point computed last or the list
  // converted last; the export commands are enabled while the page shown has some.
  void keepPoints(exporting::Figure figure);
  void updateExports();
  std::string pageTitle() const;

  MessageBoxes& messages_;
  FileDialogs& files_;
  QTabWidget* pages_ = nullptr;
  PageBoxes boxes_[3];
  OptionGroup* ellipsoids_ = nullptr;
  ZoneChooser* zone_ = nullptr;
  ZoneChooser* target_ = nullptr;
  QString lastFolder_;
  bool centred_ = false;
  std::array<exporting::Figure, 3> figures_;
  QPushButton* exportDrawing_ = nullptr;
  QPushButton* exportCoordinates_ = nullptr;
};

}  // namespace korvane::ui
