#pragma once
// The rigorous-adjustment window (form_ddx): the table of a connecting
// traverse with its four known points, the a-priori parameters, the standard
// and grade of the optional tolerance check, and the commands compute, save
// data, open data, insert row, delete row, back and exit. Compute runs the
// weighted adjustment, the check, the sketch and the offer of the HTML
// report, then locks the inputs until back is chosen. Ticked, "严密平差（最小
// 二乘）" writes a second report beside the weighted one that sets the
// least-squares solution of the same traverse against it.
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "render/report_pdf.h"
#include "formats/rigorous_table.h"
#include "formats/traverse_observations.h"
#include "traverse/rigorous_adjustment.h"
#include "ui/shell/greeting_animation.h"
#include "ui/widgets/hover_command.h"
#include "export/figure.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace korvane::ui {

class FileDialogs;
class HoverLabel;
class MessageBoxes;
class PlotWindow;
class RigorousGrid;
class StandardGradePicker;

extern const char* const kReadZero;

class RigorousWindow : public QWidget {
  Q_OBJECT
 public:
  RigorousWindow(MessageBoxes& messages, FileDialogs& files);
  ~RigorousWindow() override;

  // Shows the window: placed on the screen the first time, brought up with
  // its state afterwards.
  void showUp();

  RigorousGrid& grid() const { return *grid_; }
  PlotWindow* plotWindow() const { return plot_; }
  // The texts of the parameter boxes.
  formats::RigorousParameters parameters() const;
  bool afterCompute() const { return afterCompute_; }

  // The commands, as their buttons run them.
  void compute();
  // 保存数据; true when the file was written.
  bool saveData();
  // 打印… (the print preview) and 保存为PDF… of the report of the last computation.
  void printReport(bool pdf);
  void openData();
  void insertRow();
  void deleteRow();
  void back();
  void exportDrawing();      // 导出DXF…
  void exportCoordinates();  // 导出坐标…
  // 从坐标文件读入: the known points A, B, C and D whose names are typed get
  // X and Y (B and C also H, where the list has it) from a coordinate list.
  void readKnownPoints();

  // Whether the table holds data typed or changed since it was last opened
  // or saved.
  bool hasUnsavedRows() const;
  // Offers the table's unsaved data for saving; false when the user stays.
  bool offerToSave();
  // Asked when the window is closed (which ends the program); false keeps it
  // open. Without one the window offers its own table for saving.
  void setLeaveGuard(std::function<bool()> guard) { leaveGuard_ = std::move(guard); }

  // Pointer movements of the hover commands.
  void hoverLabel(HoverLabel* label);
  void pointerOverBackground();
  void pointerOverCompute();

  // One tick of the title animation (which also refreshes the grade code).
  void tickTitle();

 signals:
  // The window was closed: the program says goodbye.
  void endProgramRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildWindow();
  QWidget* buildCommands(QWidget* parent);
  QWidget* buildParameters(QWidget* parent);
  QLineEdit* addBox(QWidget* parent, const char* name, int width);
  QLabel* addLabel(QWidget* parent, const char* name, const char* text);
  void connectCommands();
  void boxFocus(QLineEdit* box, bool in);
  void sidesTyped(const QString& text);
  void refreshGradeCode();
  void refreshCompute();
  void setInputsUsable(bool usable);
  void showSides();
  void offerReport(const formats::RigorousTable& table, const formats::RigorousParameters& params,
                   const formats::TraverseObservations& observations, const traverse::RigorousResult& result);
  void writeComparison(const std::string& reportPath, const formats::TraverseObservations& observations,
                       const traverse::RigorousResult& result);
  QString chooseFile(bool saving);
  void markSaved();

  MessageBoxes& messages_;
  FileDialogs& files_;
  RigorousGrid* grid_ = nullptr;
  PlotWindow* plot_ = nullptr;
  QLabel* title_ = nullptr;
  QLabel* notice_ = nullptr;
  std::unique_ptr<HoverCommandColumn> commands_;
  HoverPair computeCommand_{}, saveDataCommand_{}, readKnownCommand_{}, backCommand_{}, exitCommand_{};
  HoverCommandColumn::OutputCommands output_{};
  HoverCommandColumn::TableCommands table_{};
  // The a-priori parameters; the captions and boxes that the after-compute
  // state locks.
  QLineEdit* sidesBox_ = nullptr;
  QLineEdit* angleErrorBox_ = nullptr;
  QLineEdit* projectionHeightBox_ = nullptr;
  QLineEdit* additiveConstantBox_ = nullptr;
  QLineEdit* scaleConstantBox_ = nullptr;
  QLabel* metreLabel_ = nullptr;
  std::vector<QLabel*> parameterLabels_;
  std::vector<QLineEdit*> parameterBoxes_;
  StandardGradePicker* tolerance_ = nullptr;
  QCheckBox* leastSquares_ = nullptr;
  // The tolerance code of the standard and grade chosen.
  QLineEdit* code_ = nullptr;
  QTimer* titleTimer_ = nullptr;
  GreetingAnimation titleAnimation_;
  QString lastFolder_;
  bool placed_ = false;
  bool afterCompute_ = false;
  std::unique_ptr<render::PrintableReport> report_;
  // The adjusted points after a computation, for 导出DXF… and 导出坐标….
  exporting::Figure figure_;
  // The table as last opened or saved.
  formats::RigorousTable savedTable_;
  std::function<bool()> leaveGuard_;
};

}  // namespace korvane::ui
