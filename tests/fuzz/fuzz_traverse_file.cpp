// The traverse data file: any text is loaded or refused with a message, for
// every kind the window may have selected.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/line_fields.h"
#include "io/text_file.h"
#include "formats/traverse_file.h"
#include "fuzz_check.h"

using namespace korvane::formats;
using namespace korvane::io;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string text = korvane::io::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
  for (korvane::formats::TraverseKind kind :
       {korvane::formats::TraverseKind::Connecting, korvane::formats::TraverseKind::Closed, korvane::formats::TraverseKind::Open, korvane::formats::TraverseKind::NoOrientation}) {
    const korvane::formats::TraverseFileLoad load = LoadTraverseText(text, kind);
    if (load.refusal) {
      FUZZ_CHECK(!load.refusal->text.empty() && !load.refusal->title.empty());
      continue;
    }
    FUZZ_CHECK(load.table.stationCount() >= 1);
    FUZZ_CHECK(load.table.stationCount() <= korvane::formats::kMaxTraverseFileStations);
    // Cells come without their leading blanks (a field of blanks only is an
    // empty cell, which the table check then names).
    for (const korvane::formats::ObservationRow& row : load.table.rows)
      for (const std::string& cell : row) FUZZ_CHECK(cell.empty() || cell[0] != ' ');
  }
  return 0;
}
