#pragma once
// The observations of the main window's grid as traverse data files: 打开数据
// and 保存数据, the folder last used, the end-point name and kind letter a
// file brought, and whether the grid holds rows not saved since.
#include <QString>
#include <optional>

#include "formats/observation_table.h"
#include "formats/traverse_kind.h"

class QWidget;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;
class ObservationGrid;

class TraverseFiles {
 public:
  TraverseFiles(ObservationGrid& grid, MessageBoxes& messages, FileDialogs& files);

  // 打开数据: fills the grid and gives the title line of the traverse, or
  // nothing when the user cancelled or the file was refused (and said why).
  std::optional<QString> open(QWidget* window, formats::TraverseKind kind);
  // 保存数据: true when the file was written.
  bool save(QWidget* window, formats::TraverseKind kind);

  // The grid as it stands is what was last opened or saved.
  void markSaved();
  bool hasUnsavedRows() const;
  // A new traverse: no end-point name or kind letter from a file.
  void forgetFile();
  // The other end's name the last file gave, empty when none.
  const QString& endName() const { return endName_; }
  // Where the file dialogs start; the results' files share it.
  QString& folder() { return folder_; }

 private:
  ObservationGrid& grid_;
  MessageBoxes& messages_;
  FileDialogs& files_;
  QString folder_;
  QString endName_;
  QString kindLetter_;
  // The stations as last opened or saved, blank rows at the end left out.
  formats::ObservationTable savedRows_;
};

// Makes the start-data file writable (or makes it) for the session, unless
// the marker in `dataDir` says it is managed by hand.
void PrepareStartFile(const QString& dataDir, const QString& startFile);

}  // namespace korvane::ui
