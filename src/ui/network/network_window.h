#pragma once
// The network window (form_dxw) for junction traverses and traverse
// networks adjusted by least squares: a table of known points, a table of
// observations in the records of the network file, the a-priori deviations,
// the standard and grade the traverse misclosures are checked against, and
// the commands open data, save data, insert row, delete row, compute, save
// report, sketch and exit. Compute shows the results as text and the sketch
// in the plot window.
#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "network/network_adjustment.h"
#include "ui/network/network_tables.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;
class NetworkGrid;
class PlotWindow;
class StandardGradePicker;

class NetworkWindow : public QWidget {
  Q_OBJECT
 public:
  // What the window is opened for; only the captions differ.
  enum class Purpose { JunctionTraverse, Network };

  NetworkWindow(MessageBoxes& messages, FileDialogs& files);
  ~NetworkWindow() override;

  // Shows the window for the purpose, placed on the screen the first time.
  void showFor(Purpose purpose);

  NetworkGrid& knownGrid() const { return *known_; }
  NetworkGrid& observationGrid() const { return *observations_; }
  PlotWindow* plotWindow() const { return plot_; }
  QString resultText() const;
  bool hasResult() const { return computed_ != nullptr; }

  // The commands, as their buttons run them.
  void openData();
  void saveData();
  // 打印… (the print preview) and 保存为PDF… of the report of the computation.
  void printReport(bool pdf);
  void insertRow();
  void deleteRow();
  void compute();
  void saveReport();
  void showSketch();
  void exportDrawing();      // 导出DXF…
  void exportCoordinates();  // 导出坐标…
  // 从坐标文件读入: the known points whose names are typed get X and Y from
  // a coordinate list.
  void readKnownPoints();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Computed {
    formats::NetworkInput input;
    network::NetworkResult result;
    network::NetworkOptions options;
  };

  QWidget* buildInputPage();
  QWidget* buildParameters(QWidget* parent);
  QWidget* buildCommands(QWidget* parent);
  void setCaptions(Purpose purpose);
  network::NetworkOptions options() const;
  PrecisionTexts precisionTexts() const;
  NetworkGrid& activeGrid() const;
  void forgetResult();
  QString chooseDataFile(bool saving);
  void refuse(const std::string& what, const QString& path, const std::string& why);

  MessageBoxes& messages_;
  FileDialogs& files_;
  QLabel* title_ = nullptr;
  QTabWidget* pages_ = nullptr;
  NetworkGrid* known_ = nullptr;
  NetworkGrid* observations_ = nullptr;
  NetworkGrid* lastGrid_ = nullptr;
  QPlainTextEdit* results_ = nullptr;
  // The a-priori deviations: direction, angle, distance constant and scale.
  std::array<QLineEdit*, 4> precisionBoxes_{};
  // 保存报告 … 显示图形: usable once the network is adjusted.
  std::vector<QPushButton*> resultCommands_;
  StandardGradePicker* tolerance_ = nullptr;
  QCheckBox* variance_ = nullptr;
  PlotWindow* plot_ = nullptr;
  std::unique_ptr<Computed> computed_;
  QString lastFolder_;
  bool placed_ = false;
};

}  // namespace korvane::ui
