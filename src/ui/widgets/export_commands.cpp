#include "ui/widgets/export_commands.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

#include "formats/traverse_file.h"
#include "export/export_files.h"
#include "export/point_list.h"
#include "ui/shell/platform.h"
#include "ui/shell/user_prompts.h"

namespace korvane::ui {
namespace {

// The file chosen in the save dialog, with its suffix; empty when none.
QString ChooseFile(const ExportPrompts& p, const char* title, const QStringList& filters, const QString& suffix) {
  FileDialogRequest request;
  request.title = QString::fromUtf8(title);
  request.filters = filters;
  request.folder = p.folder.isEmpty() ? QDir::homePath() : p.folder;
  request.defaultSuffix = suffix;
  const QString path = WithDefaultSuffix(p.files.saveFile(p.parent, request), suffix);
  if (!path.isEmpty()) p.folder = QFileInfo(path).absolutePath();
  return path;
}

template <typename Write>
void Export(const ExportPrompts& p, bool empty, const char* title, const QStringList& filters, const QString& suffix,
            Write write) {
  if (empty) {
    p.messages.inform(p.parent, formats::NothingToSaveMessage());
    return;
  }
  const QString path = ChooseFile(p, title, filters, suffix);
  if (path.isEmpty()) return;
  exporting::ExportWrite done;
  {
    BusyCursor busy;
    done = write(path.toStdString());
  }
  if (!done.ok()) p.messages.inform(p.parent, *done.problem);
}

const QStringList kListFilters = {QString::fromUtf8("坐标文件(*.txt *.TXT *.csv *.dat *.DAT)")};

}  // namespace

void ExportDrawing(const ExportPrompts& p, const exporting::Figure& figure) {
  Export(p, figure.points.empty(), "导出DXF", {QString::fromUtf8("DXF图形(*.dxf *.DXF)")}, "dxf",
         [&](const std::string& path) { return exporting::SaveDrawing(path, figure); });
}

void ExportCoordinates(const ExportPrompts& p, const exporting::Figure& figure) {
  Export(p, figure.points.empty(), "导出坐标", kListFilters, "txt",
         [&](const std::string& path) { return exporting::SaveCoordinateList(path, figure, false); });
}

void ExportHeights(const ExportPrompts& p, const std::vector<exporting::HeightPoint>& points) {
  Export(p, points.empty(), "导出高程", kListFilters, "txt",
         [&](const std::string& path) { return exporting::SaveHeightList(path, points, false); });
}

std::optional<std::vector<exporting::FigurePoint>> OpenCoordinateList(const ExportPrompts& p) {
  FileDialogRequest request;
  request.title = QString::fromUtf8("从坐标文件读入");
  request.filters = kListFilters;
  request.folder = p.folder.isEmpty() ? QDir::homePath() : p.folder;
  const QString path = p.files.openFile(p.parent, request);
  if (path.isEmpty()) return std::nullopt;
  p.folder = QFileInfo(path).absolutePath();
  exporting::ListRead read;
  {
    BusyCursor busy;
    read = exporting::ReadCoordinateListFile(path.toStdString());
  }
  if (read.refusal) {
    p.messages.inform(p.parent, *read.refusal);
    return std::nullopt;
  }
  return std::move(read.points);
}

void ReadKnownPoints(const ExportPrompts& p, const std::vector<std::string>& names,
                     const std::function<void(std::size_t, const exporting::FigurePoint&)>& fill) {
  if (std::all_of(names.begin(), names.end(), [](const std::string& n) { return n.empty(); })) {
    p.messages.inform(p.parent, Message{"请先输入已知点名！", "提示", MessageIcon::Information});
    return;
  }
  const std::optional<std::vector<exporting::FigurePoint>> list = OpenCoordinateList(p);
  if (!list) return;
  const exporting::NameLookup lookup = exporting::LookUpNames(*list, names);
  for (std::size_t i = 0; i < lookup.points.size(); ++i)
    if (lookup.points[i]) fill(i, *lookup.points[i]);
  if (!lookup.missing.empty()) p.messages.inform(p.parent, exporting::MissingNamesMessage(lookup.missing));
}

}  // namespace korvane::ui
