#pragma once
// The levelling window (form_szpc): tables of benchmarks and sections, the
// data file, the grade, terrain and weighting, and the three computations —
// single line, single loop, junction network — with the results table and
// the HTML report.
#include <QWidget>
#include <optional>

#include "levelling/level_adjust.h"
#include "formats/level_file.h"

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;

class LevellingWindow : public QWidget {
  Q_OBJECT
 public:
  LevellingWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent = nullptr);

  void setMethod(formats::Method method);
  formats::Method method() const;
  formats::Parameters parameters() const;
  void setParameters(const formats::Parameters& params);

  // The commands, as their buttons run them.
  void openData();
  void saveData();
  void compute();
  void saveReport();
  // 打印… (the print preview) and 保存为PDF… of the report.
  void printReport(bool pdf);
  void exportHeights();  // 导出高程…

  // The data as typed, or the refusal naming the faulty cell.
  formats::LevelFileLoad typedData() const;
  void showData(const formats::LevelData& levels);
  bool hasResult() const { return result_.has_value(); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* buildTables();
  QWidget* buildOptions();
  QWidget* buildButtons();
  void addRow(QTableWidget* table);
  void deleteRow(QTableWidget* table);
  void updateSizeHeader();
  // Any change of the input makes the shown result stale.
  void dropResult();

  MessageBoxes& messages_;
  FileDialogs& files_;
  QTableWidget* benchmarks_ = nullptr;
  QTableWidget* sections_ = nullptr;
  QComboBox* grade_ = nullptr;
  QRadioButton* flat_ = nullptr;
  QRadioButton* hilly_ = nullptr;
  QRadioButton* byLength_ = nullptr;
  QRadioButton* bySetUps_ = nullptr;
  QRadioButton* methods_[3] = {};
  QPlainTextEdit* results_ = nullptr;
  QPushButton* saveReport_ = nullptr;
  QPushButton* printCommands_[2] = {};  // 打印… and 保存为PDF…, with 保存报告
  QString pdfFolder_;
  QPushButton* exportHeights_ = nullptr;
  QString exportFolder_;
  std::optional<levelling::LevelResult> result_;
  bool filling_ = false;
  bool centred_ = false;
};

}  // namespace korvane::ui
