#pragma once
// The reports of the adjustments as printable pages (see report_pdf.h): the
// same texts the program saves, with their sketches. The windows print them
// and korvane-cli writes them as PDF files from here.
#include <string>
#include <vector>

#include "core/sketch.h"
#include "network/network_adjustment.h"
#include "network/network_file.h"
#include "render/report_pdf.h"
#include "rigorous/rigorous_report.h"

namespace korvane {

namespace levelling {
struct LevelResult;
}

// The results table of a simple adjustment (its lines, or the pane's text)
// in the monospaced font, with the traverse's sketch.
PrintableReport SimpleResultsPrint(const QString& tableText, const Sketch& sketch);
PrintableReport SimpleResultsPrint(const std::vector<std::string>& lines, const Sketch& sketch);
// The weighted report; the picture the HTML file refers to is drawn instead.
PrintableReport RigorousReportPrint(RigorousReportInput input);
PrintableReport NetworkReportPrint(const NetworkInput& input, const NetworkResult& result,
                                   const NetworkOptions& options);
PrintableReport LevelReportPrint(const levelling::LevelResult& result);

}  // namespace korvane
