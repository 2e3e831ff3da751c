#pragma once
// The start-data dialog (Form_qssj): thirteen fields, their options, the key
// filter, validation, saving to the start-data file and the hand-over to the
// main window. Its set-up per traverse kind comes from core.
#include <QDialog>
#include <QString>
#include <array>

#include "formats/start_data.h"
#include "traverse/start_dialog_logic.h"
#include "formats/traverse_kind.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QPushButton;
class QGroupBox;
class QGridLayout;
class QHBoxLayout;

namespace korvane::ui {

class FileDialogs;
class ListPointPicker;
class MessageBoxes;

class StartDialog : public QDialog {
  Q_OBJECT
 public:
  StartDialog(QWidget* parent, MessageBoxes& messages, FileDialogs& files, QString startFilePath);

  // Loaded: the dialog exists (possibly hidden) and holds its set-up;
  // confirming or leaving it unloads it, so the next opening starts afresh.
  bool isLoaded() const { return loaded_; }
  // Loads the dialog hidden, set up for the kind.
  void load(formats::TraverseKind kind);
  // The main window selected a kind: the dialog follows it.
  void selectKind(formats::TraverseKind kind);
  // Shows the dialog (loading it first when needed), centred and on top.
  void open(formats::TraverseKind kind);
  // Closes without saving.
  void unload();

  const traverse::StartDialogLayout& layout() const { return layout_; }
  // The texts of the thirteen boxes, record k at k-1.
  formats::StartRecord fields() const;
  // The texts as "确定" checks and saves them: a box hidden among records 5
  // to 13 counts as empty, whatever it still holds for when it is shown again.
  formats::StartRecord fieldsToSave() const;
  QLineEdit* field(int record) const { return edits_[record - 1]; }
  QString startFilePath() const { return startFilePath_; }

  // The commands of the four buttons.
  void confirm();       // 确定
  void clearAll();      // 全部重输
  void reloadLast();    // 接上次输入
  // 从坐标文件读入: a coordinate list is opened and the picker asks which of
  // its points are the roles shown; 确定 there fills their X, Y (and H).
  void readFromList();
  // The picker while it is open.
  ListPointPicker* picker() const { return picker_; }

 signals:
  // The start data were saved: the main window locks the kind.
  void handedOver(formats::TraverseKind kind);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildControls();
  QGroupBox* buildDataForm();
  QGridLayout* buildCoordinateFields();
  QGroupBox* buildPlaneOptions();
  QGroupBox* buildConstantOptions();
  QHBoxLayout* buildButtons();
  void connectOptions();
  void applyLayout();
  formats::TraverseKind dialogKind() const;

  void fillFromPicker();

  MessageBoxes& messages_;
  FileDialogs& files_;
  QString listFolder_;
  ListPointPicker* picker_ = nullptr;
  QString startFilePath_;
  traverse::StartDialogLayout layout_;
  bool loaded_ = false;
  bool applying_ = false;

  std::array<QLineEdit*, formats::kStartRecordCount> edits_{};
  std::array<QLabel*, 10> labels_{};
  QLabel* labelDw_ = nullptr;
  QLabel* labelJia_ = nullptr;
  QLabel* labelPpm_ = nullptr;
  QRadioButton* optionSd_ = nullptr;
  QRadioButton* optionDf_ = nullptr;
  QRadioButton* optionCqpj_ = nullptr;
  QRadioButton* optionZdy_ = nullptr;
  QRadioButton* optionOk_ = nullptr;
  QRadioButton* optionNo_ = nullptr;
};

}  // namespace korvane::ui
