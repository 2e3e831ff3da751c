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

void RunSimple(const std::string& text, const StartRecord& start) {
  for (TraverseKind kind :
       {TraverseKind::Connecting, TraverseKind::Closed, TraverseKind::Open, TraverseKind::NoOrientation}) {
    const TraverseFileLoad load = LoadTraverseText(text, kind);
    if (load.refusal) continue;
    // The same table is computed as every kind, as a window may do after
    // switching the kind.
    for (TraverseKind as :
         {TraverseKind::Connecting, TraverseKind::Closed, TraverseKind::Open, TraverseKind::NoOrientation}) {
      SimpleInput input;
      input.kind = as;
      input.table = load.table;
      input.start = start;
      input.endName = load.secondName;
      const SimpleResult result = AdjustTraverse(input);
      if (result.refusal) FUZZ_CHECK(!result.refusal->text.empty());
      FUZZ_CHECK(IsStrictUtf8(ResultsText(result)));
    }
  }
}

void RunRigorous(const std::string& text, bool answer) {
  const RigorousFileLoad load = LoadRigorousText(text);
  if (!load.ok()) return;
  const RigorousOutcome outcome = AdjustRigorous(load.table, load.params, [&](const Message&) { return answer; });
  if (!outcome.ok()) {
    FUZZ_CHECK(!outcome.refusal->text.empty());
    return;
  }
  for (const std::string& standard : Standards()) {
    const ToleranceRow& row = SelectToleranceRow(ToleranceCode(standard, GradesForStandard(standard).text));
    const ToleranceLimits limits = DeriveLimits(row, outcome.result);
    const ToleranceMarks marks = CheckTolerance(row, limits, outcome.result, true);
    const RigorousReportInput input{load.table, load.params, outcome.result, row, limits, marks, true, "1.bmp"};
    for (const std::string& line : RigorousReportLines(input)) FUZZ_CHECK(IsStrictUtf8(line));
  }
  (void)RigorousSketch(load.table, outcome.result);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t startSize = std::min<std::size_t>(data[0] | (data[1] << 8), size - 2);
  const char* bytes = reinterpret_cast<const char*>(data) + 2;
  const StartRecord start = DecodeStartFile(std::string(bytes, startSize));
  const std::string text = DecodeText(std::string(bytes + startSize, size - 2 - startSize));
  RunSimple(text, start);
  RunRigorous(text, true);
  RunRigorous(text, false);
  return 0;
}
