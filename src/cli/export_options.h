#pragma once
// The options every command with adjusted points shares: --dxf FILE for the
// drawing, --points FILE for the coordinate (or height) list, --utf8 for a
// UTF-8 list. They print nothing when the files are written.
#include <QCommandLineParser>
#include <optional>
#include <string>
#include <vector>

#include "cli_command.h"
#include "export/figure.h"

namespace korvane::cli {

struct ExportOptions {
  std::string dxf, points;
  bool utf8 = false;
};

// Adds --points and --utf8, and --dxf when the command draws.
void AddExportOptions(QCommandLineParser& parser, bool drawing = true);
// Reads them after parsing; the exit status of a usage error.
std::optional<int> ReadExportOptions(const QCommandLineParser& parser, const Command& command, ExportOptions& out,
                                     bool drawing = true);

// Writes the files asked for: 0 done, 1 a file that cannot be written
// (refused destination, full disk), 2 a list refused for its content.
int WriteExports(const ExportOptions& options, const exporting::Figure& figure,
                 const std::vector<std::string>& inputs);
int WriteHeightExport(const ExportOptions& options, const std::vector<exporting::HeightPoint>& points,
                      const std::vector<std::string>& inputs);

}  // namespace korvane::cli
