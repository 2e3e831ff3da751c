// Forward intersection, resection and centring corrections: any typed texts
// give finite, well-formed result texts (with at most a warning) or a
// refusal with a message. The first byte ticks 右侧 for the intersection by
// distances; the rest holds up to eight texts separated by line feeds
// (missing ones are empty, as untouched boxes), read by each tool in order.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "core/utf8.h"
#include "fuzz_check.h"
#include "cogo/centring.h"
#include "cogo/intersection.h"
#include "cogo/resection.h"

namespace {

using namespace korvane;

void CheckMessage(const std::optional<Message>& m) {
  if (!m) return;
  FUZZ_CHECK(!m->text.empty() && !m->title.empty());
  FUZZ_CHECK(IsStrictUtf8(m->text) && IsStrictUtf8(m->title));
}

// A printed figure: a short fixed-point text of a finite value.
double CheckFixedText(const std::string& text) {
  FUZZ_CHECK(!text.empty() && text.size() <= 24);
  FUZZ_CHECK(text.find_first_not_of("0123456789.-") == std::string::npos);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  FUZZ_CHECK(end == text.c_str() + text.size() && std::isfinite(value));
  return value;
}

void CheckIntersection(const cogo::intersection::Result& r) {
  CheckMessage(r.refusal);
  CheckMessage(r.warning);
  if (r.refusal) return;
  CheckFixedText(r.x);
  CheckFixedText(r.y);
  FUZZ_CHECK(r.angleAtP >= 0 && r.angleAtP <= 180);
  FUZZ_CHECK(!r.angleText.empty() && IsStrictUtf8(r.angleText));
  // A weak angle is always told.
  FUZZ_CHECK(r.warning.has_value() == (r.angleAtP < 30 || r.angleAtP > 150));
}

void CheckResection(const cogo::resection::Result& r) {
  CheckMessage(r.refusal);
  CheckMessage(r.warning);
  if (r.refusal) return;
  CheckFixedText(r.x);
  CheckFixedText(r.y);
  FUZZ_CHECK(std::isfinite(r.radius) && r.radius > 0);
  FUZZ_CHECK(r.dangerDistance >= r.radius / 100);
  FUZZ_CHECK(r.warning.has_value() == (r.dangerDistance < r.radius / 5));
}

void CheckCentring(const cogo::centring::Result& r) {
  CheckMessage(r.refusal);
  if (r.refusal) return;
  for (const std::string* text : {&r.stationText, &r.targetText, &r.totalText})
    FUZZ_CHECK(std::fabs(CheckFixedText(*text)) <= 90 * 3600);
  if (!r.correctedDms.empty()) {
    FUZZ_CHECK(r.correctedDegrees && *r.correctedDegrees >= 0 && *r.correctedDegrees < 360);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const bool right = (data[0] & 1) != 0;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<std::string> texts(8);
  for (std::string& text : texts) {
    const std::size_t end = rest.find('\n');
    text.assign(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  const std::vector<std::string> six(texts.begin(), texts.begin() + 6);
  CheckIntersection(cogo::intersection::ByAngles(six));
  CheckIntersection(cogo::intersection::ByDistances(six, right));
  CheckResection(cogo::resection::Resect(texts));
  CheckCentring(cogo::centring::Correct(six));
  return 0;
}
