// Point lists for the Gauss–Krüger conversion: any bytes convert or are
// refused with a message naming the line; every converted point reads back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/text_file.h"
#include "core/utf8.h"
#include "fuzz_check.h"
#include "geodesy/gauss_point_list.h"

using namespace korvane::io;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size < 1) return 0;
  // The first byte picks the problem and the zone; the rest is the file.
  geodesy::Settings settings;
  settings.problem = static_cast<geodesy::Problem>(data[0] % 3);
  settings.datum = static_cast<geodesy::Datum>((data[0] / 3) % 3);
  settings.zone = {data[0] & 0x40 ? 3 : 6, false, "20", "", (data[0] & 0x80) != 0};
  settings.target = {3, false, "39", "", (data[0] & 0x20) != 0};
  const std::string text = korvane::io::DecodeText(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  const geodesy::ListResult r = geodesy::ConvertPointList(text, settings);
  if (r.refusal) {
    FUZZ_CHECK(!r.refusal->text.empty() && r.lines.empty());
    return 0;
  }
  FUZZ_CHECK(r.points == static_cast<std::int64_t>(r.lines.size()) && r.points > 0);
  for (const std::string& line : r.lines) FUZZ_CHECK(IsStrictUtf8(line));
  // The output is a list of the same form: the inverse problem reads it.
  if (settings.problem == geodesy::Problem::Forward) {
    geodesy::Settings back = settings;
    back.problem = geodesy::Problem::Inverse;
    std::string written;
    for (const std::string& line : r.lines) written += line + "\r\n";
    const geodesy::ListResult again = geodesy::ConvertPointList(written, back);
    FUZZ_CHECK(!again.refusal || !again.unusable);
  }
  return 0;
}
