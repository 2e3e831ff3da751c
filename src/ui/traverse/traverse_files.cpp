#include "ui/traverse/traverse_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "formats/observation_check.h"
#include "formats/start_data.h"
#include "formats/traverse_file.h"
#include "io/read_only.h"
#include "io/text_file.h"
#include "ui/shell/platform.h"
#include "ui/shell/user_prompts.h"
#include "ui/traverse/observation_grid.h"

namespace korvane::ui {
namespace {

// The most stations the observation grid takes from a file.
constexpr int kMaxGridStations = 10000;

// The line above the grid after a file is opened: the traverse from its
// first station to its other end, and the kind of computation.
QString TraverseTitle(formats::TraverseKind kind, const formats::TraverseFileLoad& load) {
  const char* kindTitle = "";
  switch (kind) {
    case formats::TraverseKind::Connecting: kindTitle = "  附合导线计算："; break;
    case formats::TraverseKind::Closed: kindTitle = "  闭合导线计算："; break;
    case formats::TraverseKind::Open: kindTitle = "  支导线计算："; break;
    case formats::TraverseKind::NoOrientation: kindTitle = "  无定向导线计算："; break;
  }
  const std::string& otherEnd = kind == formats::TraverseKind::Closed ? load.firstStation : load.secondName;
  return QString::fromStdString(load.firstStation + "(至)" + otherEnd + kindTitle);
}

// The traverse data files offered by 打开数据 and 保存数据.
FileDialogRequest DataFileRequest(const char* title, const QString& folder) {
  FileDialogRequest request;
  request.title = QString::fromUtf8(title);
  request.filters = {QString::fromUtf8("数据文件(*.DAT *.dat)"),
                     QString::fromUtf8("文本文件(*.TXT *.txt)"),
                     QString::fromUtf8("写字板文件(*.RTF *.rtf)"),
                     QString::fromUtf8("所有文件(*)")};
  request.folder = folder.isEmpty() ? QDir::homePath() : folder;
  return request;
}

}  // namespace

TraverseFiles::TraverseFiles(ObservationGrid& grid, MessageBoxes& messages, FileDialogs& files)
    : grid_(grid), messages_(messages), files_(files) {}

std::optional<QString> TraverseFiles::open(QWidget* window, formats::TraverseKind kind) {
  const QString path = files_.openFile(window, DataFileRequest("打开文件", folder_));
  if (path.isEmpty()) return std::nullopt;
  folder_ = QFileInfo(path).absolutePath();
  formats::TraverseFileLoad load;
  {
    BusyCursor busy;
    load = LoadTraverseFile(path.toStdString(), kind);
    if (!load.refusal && load.table.stationCount() <= kMaxGridStations) grid_.fill(load.table);
  }
  if (load.refusal) {
    messages_.inform(window, *load.refusal);
    return std::nullopt;
  }
  // The grid holds one widget item per cell: a traverse larger than a
  // surveyor types is computed with korvane-cli instead.
  if (load.table.stationCount() > kMaxGridStations) {
    messages_.inform(window, Message{"文本中测站数超过" + std::to_string(kMaxGridStations) +
                                         "个，请用 korvane-cli traverse 计算！",
                                     "抱歉", MessageIcon::Information});
    return std::nullopt;
  }
  endName_ = QString::fromStdString(load.secondName);
  kindLetter_ = QString::fromStdString(load.kindLetter);
  markSaved();
  return TraverseTitle(kind, load);
}

bool TraverseFiles::save(QWidget* window, formats::TraverseKind kind) {
  grid_.editor().commitAndClose();
  const formats::TraverseDataLines file =
      TraverseFileLines(grid_.table(), kind, kindLetter_.toStdString(), endName_.toStdString());
  if (file.refusal) {
    messages_.inform(window, *file.refusal);
    return false;
  }
  FileDialogRequest request = DataFileRequest("保存文件", folder_);
  request.defaultSuffix = "DAT";
  const QString path = WithDefaultSuffix(files_.saveFile(window, request), "DAT");
  if (path.isEmpty()) return false;
  folder_ = QFileInfo(path).absolutePath();
  const std::string error = io::WriteLinesAtomically(path.toStdString(), file.lines);
  if (!error.empty()) {
    messages_.inform(window, Message{"数据无法保存：" + path.toStdString() + "\n" + error, "请检查",
                                     MessageIcon::Warning});
    return false;
  }
  markSaved();
  return true;
}

void TraverseFiles::markSaved() { savedRows_ = WithoutBlankTrailingRows(grid_.table()); }

bool TraverseFiles::hasUnsavedRows() const {
  const formats::ObservationTable now = WithoutBlankTrailingRows(grid_.table());
  return HoldsObservations(now) && now.rows != savedRows_.rows;
}

void TraverseFiles::forgetFile() {
  endName_.clear();
  kindLetter_.clear();
  markSaved();
}

void PrepareStartFile(const QString& dataDir, const QString& startFile) {
  const QString marker = dataDir + "/" + QString::fromUtf8(formats::kStartDataMarkerName);
  if (QFileInfo::exists(marker)) return;
  if (QFileInfo::exists(startFile)) {
    io::SetReadOnlyFile(startFile.toStdString(), false);
  } else {
    QFile file(startFile);
    if (file.open(QIODevice::WriteOnly)) file.close();
  }
}

}  // namespace korvane::ui
