#pragma once
// The levelling window (form_szpc): tables of benchmarks and sections, the
// data file, the grade, terrain and weighting, and the three computations —
// single line, single loop, junction network — with the results table and
// the HTML report.
#include <QWidget>
#include <optional>

#include "levelling/level_adjust.h"
#include "levelling/level_file.h"

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace korvane {

class FileDialogs;
class MessageBoxes;

class LevellingWindow : public QWidget {
  Q_OBJECT
 public:
  LevellingWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent = nullptr);

  void setMethod(levelling::Method method);
  levelling::Method method() const;
  levelling::Parameters parameters() const;
  void setParameters(const levelling::Parameters& params);

  // The commands, as their buttons run them.
  void openData();
  void saveData();
  void compute();
  void saveReport();
  void exportHeights();  // 导出高程…

  // The data as typed, or the refusal naming the faulty cell.
  levelling::LevelFileLoad typedData() const;
  void showData(const levelling::LevelData& levels);
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
  QPushButton* exportHeights_ = nullptr;
  QString exportFolder_;
  std::optional<levelling::LevelResult> result_;
  bool filling_ = false;
  bool centred_ = false;
};

}  // namespace korvane
