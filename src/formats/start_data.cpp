#include "formats/start_data.h"

#include <algorithm>
#include <cstdint>

#include "core/numbers.h"
#include "io/text_file.h"
#include "core/text_utils.h"

namespace korvane::formats {
namespace {

constexpr std::size_t kMaxTextBytes = kStartRecordBytes - 2;

// The longest prefix of GBK bytes that ends on a character boundary.
std::string CutGbk(const std::string& gbk, std::size_t limit) {
  std::size_t i = 0;
  while (i < gbk.size()) {
    const std::size_t n = static_cast<unsigned char>(gbk[i]) >= 0x81 ? 2 : 1;
    if (i + n > limit) break;
    i += n;
  }
  return gbk.substr(0, i);
}

}  // namespace

std::string EncodeStartFile(const StartRecord& record) {
  std::string bytes;
  bytes.reserve(kStartRecordCount * kStartRecordBytes);
  for (const std::string& field : record.fields) {
    const std::string text = CutGbk(io::EncodeGbk(field), kMaxTextBytes);
    const auto length = static_cast<std::uint16_t>(text.size());
    std::string block(kStartRecordBytes, '\0');
    block[0] = static_cast<char>(length & 0xFF);
    block[1] = static_cast<char>(length >> 8);
    block.replace(2, text.size(), text);
    bytes += block;
  }
  return bytes;
}

StartRecord DecodeStartFile(const std::string& bytes) {
  StartRecord record;
  for (int k = 0; k < kStartRecordCount; ++k) {
    const std::size_t offset = static_cast<std::size_t>(k) * kStartRecordBytes;
    if (offset + 2 > bytes.size()) break;
    std::size_t length = static_cast<unsigned char>(bytes[offset]) |
                         (static_cast<std::size_t>(static_cast<unsigned char>(bytes[offset + 1])) << 8);
    // A damaged length never reads beyond its record or the file.
    length = std::min({length, kMaxTextBytes, bytes.size() - offset - 2});
    record.fields[static_cast<std::size_t>(k)] = io::DecodeGbk(std::string_view(bytes).substr(offset + 2, length));
  }
  return record;
}

StartRecord ReadStartFile(const std::string& path, std::string* error) {
  std::string bytes;
  std::string reason;
  if (!io::ReadFileBytes(path, bytes, reason, io::kMaxStartFileBytes)) {
    if (error) *error = reason;
    return StartRecord{};
  }
  if (error) error->clear();
  return DecodeStartFile(bytes);
}

std::string WriteStartFile(const std::string& path, const StartRecord& record) {
  return io::WriteFileAtomically(path, EncodeStartFile(record));
}

double EngineValue(const StartRecord& record, int k) {
  return ParseLenient(TrimLeft(LeftChars(record.record(k), 15)));
}

std::string DialogReloadText(const StartRecord& record, int k) { return LeftChars(record.record(k), 20); }

}  // namespace korvane::formats
