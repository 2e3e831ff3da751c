// The rigorous data file: any text is loaded or refused with a message; a
// loaded file saved, read back and saved again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/text_file.h"
#include "fuzz_check.h"
#include "formats/rigorous_data_file.h"

using namespace korvane::formats;
using namespace korvane::io;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string text = korvane::io::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
  const korvane::formats::RigorousFileLoad load = korvane::formats::LoadRigorousText(text);
  if (!load.ok()) {
    FUZZ_CHECK(!load.refusal->text.empty() && !load.refusal->title.empty());
    return 0;
  }
  const std::string saved = korvane::io::EncodeGbk(korvane::io::ToCrLf(RigorousDataText(load.table, load.params)));
  // GBK bytes that are also valid UTF-8 and not plain GB2312 are read as
  // UTF-8 by design; the round trip is checked on the GBK reading.
  const korvane::formats::RigorousFileLoad reread = korvane::formats::LoadRigorousText(korvane::io::DecodeGbk(saved));
  FUZZ_CHECK(reread.ok());
  FUZZ_CHECK(korvane::io::EncodeGbk(korvane::io::ToCrLf(RigorousDataText(reread.table, reread.params))) == saved);
  return 0;
}
