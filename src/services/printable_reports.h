#pragma once
// The reports of the adjustments as printable pages (see report_pdf.h): the
// same texts the program saves, with their sketches. The windows print them
// and korvane-cli writes them as PDF files from here.
#include <string>
#include <vector>

#include "core/sketch.h"
#include "network/network_adjustment.h"
#include "formats/network_file.h"
#include "render/report_pdf.h"
#include "report/report_file.h"
#include "traverse/rigorous_report.h"
#include "levelling/level_adjust.h"

namespace korvane::services {

// The results table of a simple adjustment (its lines, or the pane's text)
// in the monospaced font, with the traverse's sketch.
render::PrintableReport SimpleResultsPrint(const QString& tableText, const Sketch& sketch);
render::PrintableReport SimpleResultsPrint(const std::vector<std::string>& lines, const Sketch& sketch);
// The weighted report; the picture the HTML file refers to is drawn instead.
render::PrintableReport RigorousReportPrint(traverse::RigorousReportInput input);
render::PrintableReport NetworkReportPrint(const formats::NetworkInput& input, const network::NetworkResult& result,
                                   const network::NetworkOptions& options);
render::PrintableReport LevelReportPrint(const levelling::LevelResult& result);

}  // namespace korvane::services
