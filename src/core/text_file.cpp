#include "text_file.h"

#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace korvane {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

// Converts as much as possible; `onBadInput` is appended for each input unit
// the converter cannot take, and the input moves on by `skip(input)` bytes.
template <typename Skip>
std::string Convert(const char* to, const char* from, std::string_view input,
                    const std::string& onBadInput, Skip skip) {
  Converter converter(to, from);
  std::string output;
  if (!converter.valid()) return std::string(input);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    if (result == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ, or EINVAL for an incomplete sequence at the end of the input:
      // never hold bytes back silently.
      output += onBadInput;
      const std::size_t n = std::min(skip(std::string_view(in, inLeft)), inLeft);
      in += n;
      inLeft -= n;
      iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  char* out = buffer;
  std::size_t outLeft = sizeof buffer;
  iconv(converter.get(), nullptr, nullptr, &out, &outLeft);
  output.append(buffer, static_cast<std::size_t>(out - buffer));
  return output;
}

std::size_t Utf8SequenceLength(std::string_view bytes) {
  const auto c = static_cast<unsigned char>(bytes[0]);
  std::size_t n = 1;
  if (c >= 0xF0) n = 4;
  else if (c >= 0xE0) n = 3;
  else if (c >= 0xC0) n = 2;
  return n;
}

// Valid UTF-8, and whether it holds any multi-byte character.
bool IsValidUtf8(std::string_view bytes, bool& hasMultiByte) {
  hasMultiByte = false;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    std::size_t n = 0;
    if (c < 0x80) n = 1;
    else if (c >= 0xC2 && c < 0xE0) n = 2;
    else if (c >= 0xE0 && c < 0xF0) n = 3;
    else if (c >= 0xF0 && c < 0xF5) n = 4;
    else return false;
    if (i + n > bytes.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    if (n > 1) hasMultiByte = true;
    i += n;
  }
  return true;
}

}  // namespace

std::string DecodeText(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    return Convert("UTF-8", "UTF-8", bytes.substr(3), kReplacement, [](std::string_view) -> std::size_t { return 1; });
  }
  bool hasMultiByte = false;
  if (IsValidUtf8(bytes, hasMultiByte) && hasMultiByte) return std::string(bytes);
  // A GBK character is one byte below 0x80 or two bytes; a bad pair is
  // replaced as a whole unless its second byte starts a character itself.
  return Convert("UTF-8", "GBK", bytes, kReplacement, [](std::string_view rest) -> std::size_t {
    if (rest.size() < 2) return 1;
    const auto lead = static_cast<unsigned char>(rest[0]);
    const auto trail = static_cast<unsigned char>(rest[1]);
    if (lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F) return 2;
    return 1;
  });
}

std::string EncodeGbk(std::string_view utf8) {
  return Convert("GBK", "UTF-8", utf8, "?", Utf8SequenceLength);
}

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    error = "文件不存在：" + path;
    return false;
  }
  if (std::filesystem::is_directory(path, ec)) {
    error = "不是文件：" + path;
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "无法读取文件：" + path;
    return false;
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) {
    error = "无法读取文件：" + path;
    return false;
  }
  bytes = content.str();
  return true;
}

TextFileRead ReadTextFile(const std::string& path) {
  TextFileRead read;
  std::string bytes;
  if (!ReadFileBytes(path, bytes, read.error)) return read;
  read.text = DecodeText(bytes);
  read.ok = true;
  return read;
}

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::random_device random;
  const fs::path temporary =
      folder / ("." + target.filename().string() + ".tmp" + std::to_string(random()));
  {
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return "无法写入文件：" + path + "（" + std::strerror(errno) + "）";
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !flushed || !closed) {
      const std::string reason = std::strerror(errno);
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return "无法写入文件：" + path + "（" + reason + "）";
    }
  }
  std::error_code ec;
  fs::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return "无法写入文件：" + path + "（" + ec.message() + "）";
  }
  return {};
}

std::string WriteTextFile(const std::string& path, std::string_view utf8Text) {
  return WriteFileAtomically(path, EncodeGbk(ToCrLf(utf8Text)));
}

}  // namespace korvane
