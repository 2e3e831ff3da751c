#include "export_options.h"

#include "argument_bytes.h"
#include "cli_options.h"
#include "export/export_files.h"

namespace korvane::cli {
namespace {

int Outcome(const exporting::ExportWrite& write) {
  if (write.ok()) return 0;
  PrintMessage(*write.problem);
  return write.contentRefused ? 2 : 1;
}

}  // namespace

void AddExportOptions(QCommandLineParser& parser, bool drawing) {
  if (drawing)
    parser.addOption({"dxf", "另把成果点位画成 DXF R12 图形（文字为 GBK）。", "FILE.dxf"});
  parser.addOption({"points", drawing ? "另存坐标文件 点名,X,Y[,H][,mx,my,mp]\n（GBK，CR LF）。"
                                      : "另存高程文件 点名,H[,mH]（GBK，CR LF）。",
                    "FILE"});
  parser.addOption({"utf8", "--points 的文件用 UTF-8 而不用 GBK 写出。"});
}

std::optional<int> ReadExportOptions(const QCommandLineParser& parser, const Command& command, ExportOptions& out,
                                     bool drawing) {
  if (drawing) {
    out.dxf = ArgBytes(parser.value("dxf"));
    if (parser.isSet("dxf") && out.dxf.empty()) return UsageError(command, "选项 --dxf 缺少文件名");
  }
  out.points = ArgBytes(parser.value("points"));
  if (parser.isSet("points") && out.points.empty()) return UsageError(command, "选项 --points 缺少文件名");
  out.utf8 = parser.isSet("utf8");
  if (out.utf8 && out.points.empty()) return UsageError(command, "选项 --utf8 只用于 --points");
  return std::nullopt;
}

int WriteExports(const ExportOptions& options, const exporting::Figure& figure,
                 const std::vector<std::string>& inputs) {
  if (!options.points.empty()) {
    if (const int status = Outcome(exporting::SaveCoordinateList(options.points, figure, options.utf8, inputs)))
      return status;
  }
  if (!options.dxf.empty()) return Outcome(exporting::SaveDrawing(options.dxf, figure, inputs));
  return 0;
}

int WriteHeightExport(const ExportOptions& options, const std::vector<exporting::HeightPoint>& points,
                      const std::vector<std::string>& inputs) {
  if (options.points.empty()) return 0;
  return Outcome(exporting::SaveHeightList(options.points, points, options.utf8, inputs));
}

}  // namespace korvane::cli
