// korvane-cli traverse: the simple adjustment of a traverse data file with its
// start-data file, printed as the results table.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QSize>
#include <QString>

#include "cli_command.h"
#include "cli_options.h"
#include "formats/line_fields.h"
#include "formats/start_data.h"
#include "io/text_file.h"
#include "core/text_utils.h"
#include "formats/traverse_file.h"
#include "formats/traverse_kind.h"
#include "export/figures.h"
#include "export_options.h"
#include "gui_application.h"
#include "pdf_output.h"
#include "services/printable_reports.h"
#include "render/sketch_renderer.h"
#include "traverse/simple_adjustment.h"

namespace korvane::cli {
namespace {

constexpr const char* kTraverseUsage =
    "traverse --start START.ini --data TRAVERSE.dat [--kind F|B|Z|W] [--out REPORT] [--sketch IMAGE] [--pdf FILE.pdf] [--dxf FILE.dxf] [--points FILE [--utf8]]";

struct TraverseArgs {
  std::string start, data, kind, out, sketch, pdf;
  ExportOptions exports;
};

// Reads the options; the exit status when the command ends here.
std::optional<int> ParseArgs(const std::vector<std::string>& args, TraverseArgs& out) {
  QCommandLineParser parser;
  parser.setApplicationDescription("按起始数据文件和导线数据文件平差，把成果表写到标准输出。");
  const QCommandLineOption start("start", "起始数据文件（text_qssj.ini 格式）。", "START.ini");
  const QCommandLineOption data("data", "导线数据文件（GBK 或 UTF-8）。", "TRAVERSE.dat");
  const QCommandLineOption kind("kind", "F 附合导线、B 闭合导线、Z 支导线、W 无定向导线；\n默认取文件第 1 行的字母。",
                                "F|B|Z|W");
  const QCommandLineOption report("out", "另把成果表存为文件（GBK，CR LF）。", "REPORT");
  const QCommandLineOption sketch("sketch", "把草图画成 PNG、JPEG 或 BMP 图片。", "IMAGE");
  const QCommandLineOption pdf = PdfOption();
  parser.addOptions({start, data, kind, report, sketch, pdf});
  AddExportOptions(parser);
  if (const auto status = ParseCommandLine(parser, kTraverseCommand, args)) return status;
  if (!parser.positionalArguments().isEmpty())
    return UsageError(kTraverseCommand, ExtraArgument(parser.positionalArguments().front()));
  out.start = ArgBytes(parser.value(start));
  out.data = ArgBytes(parser.value(data));
  out.kind = parser.value(kind).toStdString();
  out.out = ArgBytes(parser.value(report));
  out.sketch = ArgBytes(parser.value(sketch));
  out.pdf = ArgBytes(parser.value(pdf));
  if (parser.isSet(pdf) && out.pdf.empty()) return UsageError(kTraverseCommand, "选项 --pdf 缺少文件名");
  if (const auto status = ReadExportOptions(parser, kTraverseCommand, out.exports)) return status;
  if (out.start.empty()) return UsageError(kTraverseCommand, MissingOption("--start"));
  if (out.data.empty()) return UsageError(kTraverseCommand, MissingOption("--data"));
  return std::nullopt;
}

// The kind letter of a data file: the first non-empty field of its first line.
std::string FileKindLetter(const std::string& text) {
  formats::LineCursor lines(text);
  std::string_view first;
  if (!lines.next(first)) return {};
  const std::vector<std::string_view> fields = formats::NonEmptyFields(first, 0);
  return fields.empty() ? std::string() : Trim(fields.front());
}

// Picture size following the sketch's proportions, 1000 pixels on its longer side.
QSize SketchSize(const Sketch& sketch) {
  constexpr int kLong = 1000, kShortest = 300;
  for (const SketchOp& op : sketch.ops) {
    if (const auto* s = std::get_if<SketchScale>(&op)) {
      const double w = s->right - s->left, h = s->top - s->bottom;
      if (!(w > 0 && h > 0 && std::isfinite(w) && std::isfinite(h))) break;
      if (w >= h) return QSize(kLong, std::max(kShortest, static_cast<int>(std::lround(kLong * h / w))));
      return QSize(std::max(kShortest, static_cast<int>(std::lround(kLong * w / h))), kLong);
    }
  }
  return QSize(kLong, kLong);
}

std::string WriteSketch(const Sketch& sketch, const std::string& path) {
  const auto app = EnsureGuiApplication();
  return render::SaveSketchImage(sketch, path, SketchSize(sketch));
}

// Lines of the results table written to standard output as they come, in
// chunks of some kilobytes rather than one write each.
class ChunkedOutput {
 public:
  void add(std::string_view line) {
    chunk_.append(line).push_back('\n');
    if (chunk_.size() >= kChunk) flush();
  }
  void flush() {
    std::cout.write(chunk_.data(), static_cast<std::streamsize>(chunk_.size()));
    chunk_.clear();
  }

 private:
  static constexpr std::size_t kChunk = 64 * 1024;
  std::string chunk_;
};

// The two files of the command: the start data and the traverse text.
std::optional<int> ReadInputs(const TraverseArgs& a, std::string& startBytes, io::TextFileRead& data) {
  std::string error;
  if (!io::ReadFileBytes(a.start, startBytes, error, io::kMaxStartFileBytes)) {
    std::cerr << "korvane-cli traverse: 无法读取起算数据文件：" << error << "\n";
    return 1;
  }
  data = io::ReadTextFile(a.data);
  if (!data.ok) {
    std::cerr << "korvane-cli traverse: 无法读取导线数据文件：" << data.error << "\n";
    return 1;
  }
  return std::nullopt;
}

// The rows go straight from the text into stations: their texts are never
// held as a table. The text is freed once they are read.
std::optional<int> LoadStations(io::TextFileRead& data, formats::TraverseKind kind, traverse::StationReader& reader,
                                formats::TraverseFileLoad& load) {
  const auto lineBreaks = std::count(data.text.begin(), data.text.end(), '\n');
  reader.stations.reserve(static_cast<std::size_t>(std::min<std::ptrdiff_t>(lineBreaks, formats::kMaxTraverseFileStations)));
  load = LoadTraverseText(data.text, kind, [&reader](const formats::ObservationRow& row) { reader.add(row); });
  std::string().swap(data.text);
  if (load.refusal || reader.refusal) return Refuse(load.refusal ? *load.refusal : *reader.refusal);
  return std::nullopt;
}

// The report file, the refusal and the sketch, after the table was printed.
int Finish(const TraverseArgs& a, formats::TraverseKind kind, const traverse::SimpleResult& result) {
  if (!a.out.empty() && !result.lines.empty()) {
    const std::string saveError = formats::SaveResultsLines(a.out, result.lines);
    if (!saveError.empty()) {
      std::cerr << "korvane-cli traverse: " << saveError << "\n";
      return 1;
    }
  }
  if (!result.ok()) return Refuse(*result.refusal);
  if (!a.sketch.empty()) {
    if (const std::string error = WriteSketch(result.sketch, a.sketch); !error.empty()) {
      std::cerr << "korvane-cli traverse: " << error << "\n";
      return 1;
    }
  }
  if (!a.pdf.empty()) {
    const auto make = [&result] { return services::SimpleResultsPrint(result.lines, result.sketch); };
    if (const int status = WritePdfFile("traverse", a.pdf, make, {a.start, a.data})) return status;
  }
  return WriteExports(a.exports, exporting::SimpleFigure(kind, result.points), {a.start, a.data});
}

int RunTraverse(const std::vector<std::string>& args) {
  TraverseArgs a;
  if (const auto status = ParseArgs(args, a)) return *status;
  if (const auto status = RefuseDestinations({a.out, a.sketch, a.pdf, a.exports.dxf, a.exports.points}, {a.start, a.data})) return *status;
  std::string startBytes;
  io::TextFileRead data;
  if (const auto status = ReadInputs(a, startBytes, data)) return *status;

  // The kind defaults to the file's letter; a letter that names no kind is
  // refused by the loading below with the kind-mismatch message.
  std::optional<formats::TraverseKind> kind = formats::KindFromLetter(a.kind.empty() ? FileKindLetter(data.text) : a.kind);
  if (!a.kind.empty() && !kind) return UsageError(kTraverseCommand, "--kind 只能是 F、B、Z 或 W");
  traverse::StationReader reader;
  formats::TraverseFileLoad load;
  if (const auto status = LoadStations(data, kind.value_or(formats::TraverseKind::Connecting), reader, load)) return *status;

  traverse::SimpleInput input;
  input.kind = *kind;
  input.withSketch = !a.sketch.empty() || !a.pdf.empty();
  input.withPoints = !a.exports.dxf.empty() || !a.exports.points.empty();
  input.start = formats::DecodeStartFile(startBytes);
  if (!load.secondName.empty()) input.endName = load.secondName;
  // Without a report file the table is printed as it is written, in chunks.
  ChunkedOutput printed;
  if (a.out.empty() && a.pdf.empty()) input.onLine = [&printed](std::string_view line) { printed.add(line); };
  const traverse::SimpleResult result = AdjustStations(input, std::move(reader.stations));
  printed.flush();
  for (const std::string& line : result.lines) std::cout << line << '\n';
  std::cout << std::flush;
  return Finish(a, *kind, result);
}

}  // namespace

const Command kTraverseCommand{"traverse", kTraverseUsage, RunTraverse};
}  // namespace korvane::cli
