// The levelling data file and engines: any text is read or refused with a
// message naming the line; what is read writes and reads back unchanged; each
// of the three computations gives finite heights and a table and report, or a
// refusal with a message.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/text_file.h"
#include "fuzz_check.h"
#include "levelling/level_adjust.h"
#include "formats/level_file.h"
#include "levelling/level_report.h"
#include "levelling/level_table.h"

using namespace korvane::formats;
using namespace korvane::io;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  using namespace korvane::levelling;
  const std::string text = korvane::io::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
  const korvane::formats::LevelFileLoad load = korvane::formats::ParseLevelText(text);
  if (!load.ok()) {
    FUZZ_CHECK(!load.refusal->text.empty() && !load.refusal->title.empty());
    return 0;
  }
  const korvane::formats::LevelFileLoad again = korvane::formats::ParseLevelText(LevelDataText(load.data));
  FUZZ_CHECK(again.ok() && again.data == load.data);
  for (korvane::formats::Method method : {korvane::formats::Method::Line, korvane::formats::Method::Loop, korvane::formats::Method::Network}) {
    const LevelOutcome outcome = Adjust(method, load.data);
    if (!outcome.ok()) {
      FUZZ_CHECK(!outcome.refusal->text.empty() && !outcome.refusal->title.empty());
      continue;
    }
    for (const PointResult& p : outcome.result.points) FUZZ_CHECK(std::isfinite(p.height));
    FUZZ_CHECK(!LevelTableLines(outcome.result).empty());
    FUZZ_CHECK(!LevelReportLines(outcome.result).empty());
  }
  return 0;
}
