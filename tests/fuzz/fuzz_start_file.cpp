// The start-data file: any bytes read as thirteen fields; saving them,
// reading the save and saving again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/start_data.h"
#include "core/utf8.h"
#include "fuzz_check.h"

using namespace korvane::formats;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const korvane::formats::StartRecord first = korvane::formats::DecodeStartFile(std::string(reinterpret_cast<const char*>(data), size));
  for (const std::string& field : first.fields) FUZZ_CHECK(IsStrictUtf8(field));
  const std::string saved = EncodeStartFile(first);
  FUZZ_CHECK(saved.size() == static_cast<std::size_t>(korvane::formats::kStartRecordCount * korvane::formats::kStartRecordBytes));
  const korvane::formats::StartRecord reread = korvane::formats::DecodeStartFile(saved);
  FUZZ_CHECK(EncodeStartFile(reread) == saved);
  for (int k = 1; k <= korvane::formats::kStartRecordCount; ++k) {
    (void)EngineValue(reread, k);
    FUZZ_CHECK(IsStrictUtf8(DialogReloadText(reread, k)));
  }
  return 0;
}
