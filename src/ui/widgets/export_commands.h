#pragma once
// 导出DXF… and 导出坐标… of the results windows: the file is asked for, the
// drawing or list written by the same code as korvane-cli's --dxf and
// --points, and whatever refuses or fails is said in a message box.
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/figure.h"

class QWidget;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;

struct ExportPrompts {
  QWidget* parent = nullptr;
  MessageBoxes& messages;
  FileDialogs& files;
  QString& folder;  // where the dialog starts; the chosen file's folder afterwards
};

// A figure without points has nothing to export: that is said instead.
void ExportDrawing(const ExportPrompts& prompts, const exporting::Figure& figure);
void ExportCoordinates(const ExportPrompts& prompts, const exporting::Figure& figure);
void ExportHeights(const ExportPrompts& prompts, const std::vector<exporting::HeightPoint>& points);

// The points of the coordinate list the user opens (从坐标文件读入); none
// when the dialog is cancelled or the list is refused, which is said.
std::optional<std::vector<exporting::FigurePoint>> OpenCoordinateList(const ExportPrompts& prompts);

// 从坐标文件读入 for known points typed by name: the coordinate list the
// user opens gives `fill` the point of each name it holds (by the name's
// index); the names it lacks are told afterwards. Without a typed name, with
// the dialog cancelled or the list refused (which is said) nothing is filled.
void ReadKnownPoints(const ExportPrompts& prompts, const std::vector<std::string>& names,
                     const std::function<void(std::size_t, const exporting::FigurePoint&)>& fill);

}  // namespace korvane::ui
