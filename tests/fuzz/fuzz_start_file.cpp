// The start-data file: any bytes read as thirteen fields; saving them,
// reading the save and saving again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/start_data.h"
#include "core/utf8.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const StartRecord first = DecodeStartFile(std::string(reinterpret_cast<const char*>(data), size));
  for (const std::string& field : first.fields) FUZZ_CHECK(IsStrictUtf8(field));
  const std::string saved = EncodeStartFile(first);
  FUZZ_CHECK(saved.size() == static_cast<std::size_t>(kStartRecordCount * kStartRecordBytes));
  const StartRecord reread = DecodeStartFile(saved);
  FUZZ_CHECK(EncodeStartFile(reread) == saved);
  for (int k = 1; k <= kStartRecordCount; ++k) {
    (void)EngineValue(reread, k);
    FUZZ_CHECK(IsStrictUtf8(DialogReloadText(reread, k)));
  }
  return 0;
}
