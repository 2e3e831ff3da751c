// The network file and its adjustment: any text is read or refused with a
// message naming the line; a read network is adjusted or refused with a
// message, never with a non-finite coordinate; a saved network reads back to
// the same records.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/text_file.h"
#include "fuzz_check.h"
#include "network/network_adjustment.h"
#include "formats/network_file.h"

using namespace korvane::formats;
using namespace korvane::io;
using namespace korvane::network;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string text = korvane::io::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
  const korvane::formats::NetworkFileLoad load = korvane::formats::ParseNetworkText(text);
  if (!load.ok()) {
    FUZZ_CHECK(load.refusal->text.find("行") != std::string::npos && !load.refusal->title.empty());
    return 0;
  }
  const std::string saved = NetworkText(load.input);
  const korvane::formats::NetworkFileLoad reread = korvane::formats::ParseNetworkText(saved);
  FUZZ_CHECK(reread.ok());
  FUZZ_CHECK(NetworkText(reread.input) == saved);
  const korvane::network::NetworkOutcome outcome = korvane::network::AdjustNetwork(load.input);
  if (!outcome.ok()) {
    FUZZ_CHECK(!outcome.refusal->text.empty() && outcome.refusal->title == korvane::formats::kNetworkTitle);
    return 0;
  }
  for (const korvane::network::NetworkPointResult& p : outcome.result.points) FUZZ_CHECK(std::isfinite(p.x) && std::isfinite(p.y));
  FUZZ_CHECK(std::isfinite(outcome.result.sigma0));
  return 0;
}
