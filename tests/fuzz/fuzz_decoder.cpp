// The text decoder: any bytes give valid UTF-8, the same through both entry
// points, and mending valid UTF-8 changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/text_file.h"
#include "core/utf8.h"
#include "fuzz_check.h"

using namespace korvane::io;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = korvane::io::DecodeText(bytes);
  FUZZ_CHECK(korvane::IsStrictUtf8(text));
  FUZZ_CHECK(korvane::io::DecodeOwnedText(std::string(bytes)) == text);
  FUZZ_CHECK(korvane::IsStrictUtf8(korvane::io::DecodeGbk(bytes)));
  const std::string mended = korvane::SanitizeUtf8(bytes);
  FUZZ_CHECK(korvane::IsStrictUtf8(mended));
  FUZZ_CHECK(korvane::SanitizeUtf8(mended) == mended);
  FUZZ_CHECK(korvane::IsStrictUtf8(bytes) == (mended == bytes));
  // What is written as GBK reads back as the same text (GBK holds it all or
  // puts "?" in its place, after which it is stable).
  const std::string gbk = korvane::io::EncodeGbk(text);
  const std::string again = korvane::io::EncodeGbk(korvane::io::DecodeGbk(gbk));
  FUZZ_CHECK(again == gbk);
  return 0;
}
