// The whole computation from files to report. The input holds a start-data
// file and a data file: two bytes (little-endian) give the start file's
// length, then come its bytes, then the data file's bytes. The data file is
// run through every simple kind to its results table, and as a rigorous data
// file through the engine, the tolerance check, the HTML report and the sketch.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/start_data.h"
#include "io/text_file.h"
#include "formats/traverse_file.h"
#include "core/utf8.h"
#include "fuzz_check.h"
#include "traverse/rigorous_adjustment.h"
#include "formats/rigorous_data_file.h"
#include "traverse/rigorous_report.h"
#include "traverse/rigorous_sketch.h"
#include "standards/tolerance.h"
#include "traverse/weighted_limits.h"
#include "traverse/simple_adjustment.h"

namespace {

using namespace korvane;
using namespace korvane::formats;
using namespace korvane::io;
using namespace korvane::standards;
using namespace korvane::traverse;

void RunSimple(const std::string& text, const korvane::formats::StartRecord& start) {
  for (korvane::formats::TraverseKind kind :
       {korvane::formats::TraverseKind::Connecting, korvane::formats::TraverseKind::Closed, korvane::formats::TraverseKind::Open, korvane::formats::TraverseKind::NoOrientation}) {
    const korvane::formats::TraverseFileLoad load = LoadTraverseText(text, kind);
    if (load.refusal) continue;
    // The same table is computed as every kind, as a window may do after
    // switching the kind.
    for (korvane::formats::TraverseKind as :
         {korvane::formats::TraverseKind::Connecting, korvane::formats::TraverseKind::Closed, korvane::formats::TraverseKind::Open, korvane::formats::TraverseKind::NoOrientation}) {
      korvane::traverse::SimpleInput input;
      input.kind = as;
      input.table = load.table;
      input.start = start;
      input.endName = load.secondName;
      const korvane::traverse::SimpleResult result = AdjustTraverse(input);
      if (result.refusal) FUZZ_CHECK(!result.refusal->text.empty());
      FUZZ_CHECK(IsStrictUtf8(ResultsText(result)));
    }
  }
}

void RunRigorous(const std::string& text, bool answer) {
  const korvane::formats::RigorousFileLoad load = korvane::formats::LoadRigorousText(text);
  if (!load.ok()) return;
  const korvane::traverse::RigorousOutcome outcome = korvane::traverse::AdjustRigorous(load.table, load.params, [&](const Message&) { return answer; });
  if (!outcome.ok()) {
    FUZZ_CHECK(!outcome.refusal->text.empty());
    return;
  }
  for (const std::string& standard : korvane::standards::Standards()) {
    const korvane::standards::ToleranceRow& row = korvane::standards::SelectToleranceRow(korvane::standards::ToleranceCode(standard, korvane::standards::GradesForStandard(standard).text));
    const korvane::traverse::ToleranceLimits limits = DeriveLimits(row, outcome.result);
    const korvane::traverse::ToleranceMarks marks = CheckTolerance(row, limits, outcome.result, true);
    const korvane::traverse::RigorousReportInput input{load.table, load.params, outcome.result, row, limits, marks, true, "1.bmp"};
    for (const std::string& line : RigorousReportLines(input)) FUZZ_CHECK(IsStrictUtf8(line));
  }
  (void)RigorousSketch(load.table, outcome.result);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t startSize = std::min<std::size_t>(data[0] | (data[1] << 8), size - 2);
  const char* bytes = reinterpret_cast<const char*>(data) + 2;
  const korvane::formats::StartRecord start = korvane::formats::DecodeStartFile(std::string(bytes, startSize));
  const std::string text = korvane::io::DecodeText(std::string(bytes + startSize, size - 2 - startSize));
  RunSimple(text, start);
  RunRigorous(text, true);
  RunRigorous(text, false);
  return 0;
}
