// The traverse data file: any text is loaded or refused with a message, for
// every kind the window may have selected.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/line_fields.h"
#include "io/text_file.h"
#include "formats/traverse_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string text = DecodeText(std::string(reinterpret_cast<const char*>(data), size));
  for (TraverseKind kind :
       {TraverseKind::Connecting, TraverseKind::Closed, TraverseKind::Open, TraverseKind::NoOrientation}) {
    const TraverseFileLoad load = LoadTraverseText(text, kind);
    if (load.refusal) {
      FUZZ_CHECK(!load.refusal->text.empty() && !load.refusal->title.empty());
      continue;
    }
    FUZZ_CHECK(load.table.stationCount() >= 1);
    FUZZ_CHECK(load.table.stationCount() <= kMaxFileStations);
    // Cells come without their leading blanks (a field of blanks only is an
    // empty cell, which the table check then names).
    for (const ObservationRow& row : load.table.rows)
      for (const std::string& cell : row) FUZZ_CHECK(cell.empty() || cell[0] != ' ');
  }
  return 0;
}
