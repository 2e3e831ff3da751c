// korvane-cli convert: a total-station point file reordered into the chosen
// columns, printed or appended to a file as the window saves it.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "cli_command.h"
#include "cli_options.h"
#include "core/message_text.h"
#include "io/text_file.h"
#include "io/atomic_output.h"
#include "utilities/point_conversion.h"
#include "utilities/point_file.h"

namespace korvane::cli {
namespace {

constexpr const char* kConvertUsage = "convert FILE [--columns 1,2,3,4,5] [--out OUT [--replace]]";

// The window's save: GBK, CR LF, the text followed by a line break, appended
// to OUT (or replacing it). The old file stays as it was until all is written.
int WriteOut(const std::string& path, const std::string& out, bool replace,
             const std::vector<int>& columns, utilities::PointFileStats& stats) {
  if (const auto status = RefuseDestinations({out}, {path})) return *status;
  io::AtomicOutput output;
  if (const int error = output.open(out, !replace)) {
    std::cerr << "korvane-cli convert: " << output.errorText(error) << "\n";
    return 1;
  }
  int writeError = 0;
  WatchInterrupts();
  const std::string error = ConvertPointFile(path, columns, "\r\n", [&](std::string_view text) {
    writeError = utilities::IsAsciiText(text) ? output.write(text) : output.write(io::EncodeGbk(text));
    if (writeError == 0 && Interrupted()) writeError = EINTR;
    return writeError == 0;
  }, stats);
  if (writeError == 0 && error.empty() && stats.linesRead > 0) writeError = output.write("\r\n");
  if (writeError == 0 && error.empty() && stats.linesRead > 0) writeError = output.commit();
  if (!error.empty() && writeError == 0) {
    std::cerr << "korvane-cli convert: " << error << "\n";
    return 1;
  }
  if (writeError != 0) {
    std::cerr << "korvane-cli convert: " << output.errorText(writeError) << "\n";
    return 1;
  }
  return 0;
}

bool Print(std::string_view text) { return std::fwrite(text.data(), 1, text.size(), stdout) == text.size(); }

// Prints UTF-8 with LF line ends; the count line is held back until it is
// known that records were read.
int PrintOut(const std::string& path, const std::vector<int>& columns, utilities::PointFileStats& stats) {
  std::string countLine;
  bool first = true;
  const std::string error = ConvertPointFile(path, columns, "\n", [&](std::string_view text) {
    if (first) {
      first = false;
      countLine.assign(text);
      return true;
    }
    if (!countLine.empty() && !Print(countLine)) return false;
    countLine.clear();
    return Print(text);
  }, stats);
  if (!error.empty()) {
    std::cerr << "korvane-cli convert: " << error << "\n";
    return 1;
  }
  if (stats.linesRead > 0 && !countLine.empty()) Print(countLine);
  return 0;
}

int RunConvert(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription("按给出的列重排全站仪点文件的字段，结果写到标准输出。");
  parser.addPositionalArgument("FILE", "点文件（GBK 或 UTF-8），读到第一个空行为止。");
  const QCommandLineOption columnsOption("columns", "输出的列及顺序（默认 1,2,3,4,5）。", "LIST");
  const QCommandLineOption outOption("out", "把结果追加到 OUT 末尾（GBK，CR LF）。", "OUT");
  const QCommandLineOption replaceOption("replace", "替换 OUT 而不是追加。");
  parser.addOptions({columnsOption, outOption, replaceOption});
  if (const auto status = ParseCommandLine(parser, kConvertCommand, args)) return *status;
  const QStringList files = parser.positionalArguments();
  if (files.size() != 1) return UsageError(kConvertCommand, "应给出一个点文件，且只给一个");
  std::vector<int> columns = utilities::DefaultPointColumns();
  if (parser.isSet(columnsOption) &&
      !utilities::ParsePointColumns(parser.value(columnsOption).toStdString(), columns))
    return UsageError(kConvertCommand, "--columns 应为 1 至 5 的数字，每个至多一次，以“,”分隔");
  if (parser.isSet(replaceOption) && !parser.isSet(outOption))
    return UsageError(kConvertCommand, "--replace 须与 --out 同用");
  const std::string path = ArgBytes(files.front());
  utilities::PointFileStats stats;
  const int status = parser.isSet(outOption)
                         ? WriteOut(path, ArgBytes(parser.value(outOption)),
                                    parser.isSet(replaceOption), columns, stats)
                         : PrintOut(path, columns, stats);
  if (status != 0) return status;
  if (stats.linesRead == 0) {
    PrintMessage(Message{"你未读入数据！", "抱歉", MessageIcon::Information});
    return 2;
  }
  std::fflush(stdout);
  if (const std::string note = utilities::WideLinesNote(stats.firstWideLine, stats.wideLines); !note.empty())
    std::cerr << "korvane-cli convert: " << note << "\n";
  return 0;
}

}  // namespace

const Command kConvertCommand{"convert", kConvertUsage, RunConvert};
}  // namespace korvane::cli
