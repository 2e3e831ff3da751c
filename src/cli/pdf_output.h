#pragma once
// The --pdf option of the commands whose results are reports (traverse,
// rigorous, level, network): the report on A4 pages as a PDF file.
#include <QCommandLineOption>
#include <functional>
#include <string>
#include <vector>

#include "render/report_pdf.h"

namespace korvane::cli {

QCommandLineOption PdfOption();

// Lays out the report made by `make` (a GUI application object is started
// for the fonts) and writes it; the exit status: 0, or 1 with the refusal or
// the error on standard error.
int WritePdfFile(const char* command, const std::string& path, const std::function<render::PrintableReport()>& make,
                 const std::vector<std::string>& inputs);

}  // namespace korvane::cli
