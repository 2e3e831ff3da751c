// The geodetic direct and inverse problems: any four typed texts on any
// ellipsoid give finite, well-formed result texts or a refusal with a
// message. The first byte chooses the ellipsoid; the rest holds the four
// texts separated by line feeds (missing ones are empty, as untouched boxes).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/message.h"
#include "core/utf8.h"
#include "fuzz_check.h"
#include "geodesy/geodetic.h"

namespace {

using namespace korvane;
using namespace korvane::geodesy;

void CheckRefusal(const std::optional<Message>& refusal) {
  FUZZ_CHECK(!refusal->text.empty() && !refusal->title.empty());
  FUZZ_CHECK(IsStrictUtf8(refusal->text) && IsStrictUtf8(refusal->title));
}

// A shown number: a short decimal text of a finite value.
double CheckNumberText(const std::string& text) {
  FUZZ_CHECK(!text.empty() && text.size() <= 32);
  FUZZ_CHECK(text.find_first_not_of("0123456789.-+E") == std::string::npos);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  FUZZ_CHECK(end == text.c_str() + text.size());
  FUZZ_CHECK(std::isfinite(value));
  return value;
}

// DMS notation: minutes and seconds below 60, wherever the digits fit the
// fifteen significant digits of the text.
double CheckDmsText(const std::string& text) {
  const double value = CheckNumberText(text);
  const std::size_t point = text.find('.');
  if (point == std::string::npos || text.find('E') != std::string::npos || std::fabs(value) >= 1e6)
    return value;
  const std::string fraction = (text.substr(point + 1) + "00000000").substr(0, 8);
  FUZZ_CHECK(std::stoi(fraction.substr(0, 2)) < 60);
  FUZZ_CHECK(std::stoi(fraction.substr(2, 2)) < 60);
  return value;
}

void CheckAzimuthText(const std::string& text) {
  const double value = CheckDmsText(text);
  FUZZ_CHECK(value >= 0 && value < 360);
}

void RunDirect(const std::string (&texts)[4], EllipsoidId ellipsoid) {
  const DirectResult r = SolveDirect(DirectInput{texts[0], texts[1], texts[2], texts[3], ellipsoid});
  if (r.refusal) return CheckRefusal(r.refusal);
  for (const std::string* text : {&r.b2, &r.exactB2}) FUZZ_CHECK(std::fabs(CheckDmsText(*text)) <= 90);
  for (const std::string* text : {&r.l2, &r.exactL2}) CheckDmsText(*text);
  for (const std::string* text : {&r.a21, &r.exactA21}) CheckAzimuthText(*text);
  if (r.differenceMm) FUZZ_CHECK(std::isfinite(*r.differenceMm) && *r.differenceMm >= 0);
}

void RunInverse(const std::string (&texts)[4], EllipsoidId ellipsoid) {
  const InverseResult r = SolveInverse(InverseInput{texts[0], texts[1], texts[2], texts[3], ellipsoid});
  if (r.refusal) return CheckRefusal(r.refusal);
  FUZZ_CHECK(std::isfinite(r.s12) && r.s12 >= 0);
  FUZZ_CHECK(CheckNumberText(r.s12Text) >= 0);
  CheckAzimuthText(r.a12Text);
  CheckAzimuthText(r.a21Text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const auto ellipsoid = static_cast<EllipsoidId>(data[0] % 4);
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string texts[4];
  for (std::string& text : texts) {
    const std::size_t end = rest.find('\n');
    text.assign(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  RunDirect(texts, ellipsoid);
  RunInverse(texts, ellipsoid);
  return 0;
}
