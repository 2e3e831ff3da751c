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
    parser.addOption({"dxf", "Also save the drawing of the adjusted points as DXF R12 (GBK texts).", "FILE.dxf"});
  parser.addOption({"points", drawing ? "Also save the coordinate list name,X,Y[,H][,mx,my,mp] (GBK, CR LF)."
                                      : "Also save the height list name,H[,mH] (GBK, CR LF).",
                    "FILE"});
  parser.addOption({"utf8", "Write the list of --points in UTF-8 instead of GBK."});
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
