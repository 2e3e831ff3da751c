// The text decoder: any bytes give valid UTF-8, the same through both entry
// points, and mending valid UTF-8 changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/text_file.h"
#include "core/utf8.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = korvane::DecodeText(bytes);
  FUZZ_CHECK(korvane::IsStrictUtf8(text));
  FUZZ_CHECK(korvane::DecodeOwnedText(std::string(bytes)) == text);
  FUZZ_CHECK(korvane::IsStrictUtf8(korvane::DecodeGbk(bytes)));
  const std::string mended = korvane::SanitizeUtf8(bytes);
  FUZZ_CHECK(korvane::IsStrictUtf8(mended));
  FUZZ_CHECK(korvane::SanitizeUtf8(mended) == mended);
  FUZZ_CHECK(korvane::IsStrictUtf8(bytes) == (mended == bytes));
  // What is written as GBK reads back as the same text (GBK holds it all or
  // puts "?" in its place, after which it is stable).
  const std::string gbk = korvane::EncodeGbk(text);
  const std::string again = korvane::EncodeGbk(korvane::DecodeGbk(gbk));
  FUZZ_CHECK(again == gbk);
  return 0;
}
