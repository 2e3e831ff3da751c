#include "io/text_file.h"

#include "io/atomic_output.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "core/message_text.h"
#include "core/utf8.h"

namespace korvane::io {
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
                    const std::string& onBadInput, Skip skip, std::size_t expectedSize) {
  Converter converter(to, from);
  std::string output;
  if (!converter.valid()) return std::string(input);
  output.reserve(expectedSize);
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

// GBK text whose every double-byte character is also a GB2312 character.
// Valid UTF-8 that holds a C1 control character (U+0080 to U+009F, the
// bytes C2 80 to C2 9F) was never typed as UTF-8: it is GBK whose lead byte
// is C2, such as 職 (C2 9A).
bool HasC1Control(std::string_view bytes) {
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) != 0xC2) continue;
    const auto next = static_cast<unsigned char>(bytes[i + 1]);
    if (next >= 0x80 && next <= 0x9F) return true;
  }
  return false;
}

bool IsPlainGb2312(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) continue;
    if (i + 1 >= bytes.size()) return false;
    const auto trail = static_cast<unsigned char>(bytes[i + 1]);
    if (c < 0xA1 || c > 0xF7 || trail < 0xA1 || trail > 0xFE) return false;
    ++i;
  }
  // Within those ranges a few places of the table are unassigned.
  Converter converter("UTF-8", "GB2312");
  if (!converter.valid()) return true;
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) && errno != E2BIG)
      return false;
  }
  return true;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// A text that begins with a byte-order mark says what it is; the result is
// its text, or nothing when the bytes carry no mark.
std::optional<std::string> DecodeMarked(std::string_view bytes) {
  if (bytes.substr(0, 3) == kByteOrderMark) return SanitizeUtf8(bytes.substr(3));
  const std::string_view mark = bytes.substr(0, 2);
  if (mark != kUtf16LeMark && mark != kUtf16BeMark) return std::nullopt;
  std::string text;
  DecodeUtf16(bytes.substr(2), mark == kUtf16BeMark, true, text);
  return text;
}

std::string ReadError(const char* what, const std::string& path) { return std::string(what) + PathForDisplay(path); }

}  // namespace

std::string DecodeGbk(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  // A GBK character is one byte below 0x80 or two bytes; a bad pair is
  // replaced as a whole unless its second byte starts a character itself.
  return Convert("UTF-8", "GBK", bytes, kReplacement, [](std::string_view rest) -> std::size_t {
    if (rest.size() < 2) return 1;
    const auto lead = static_cast<unsigned char>(rest[0]);
    const auto trail = static_cast<unsigned char>(rest[1]);
    if (lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F) return 2;
    return 1;
  }, bytes.size() + bytes.size() / 2);
}

void TextEncodingGuess::feed(std::string_view bytes) {
  if (!utf8_ || IsAscii(bytes)) return;
  nonAscii_ = true;
  utf8_ = IsStrictUtf8(bytes) && !HasC1Control(bytes);
  plainGb2312_ = plainGb2312_ && utf8_ && IsPlainGb2312(bytes);
}

std::size_t DecodeUtf16(std::string_view bytes, bool bigEndian, bool final, std::string& out) {
  const auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? static_cast<char32_t>(a << 8 | b) : static_cast<char32_t>(b << 8 | a);
  };
  std::size_t i = 0;
  while (i + 2 <= bytes.size()) {
    char32_t c = unit(i);
    std::size_t used = 2;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 4 > bytes.size() && !final) break;  // its partner may follow
      const char32_t low = i + 4 <= bytes.size() ? unit(i + 2) : 0;
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        used = 4;
      } else {
        c = 0xFFFD;
      }
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(c, out);
    i += used;
  }
  if (final && i < bytes.size()) {  // an odd byte at the end
    out += kReplacement;
    i = bytes.size();
  }
  return i;
}

std::string DecodeText(std::string_view bytes) {
  if (auto text = DecodeMarked(bytes)) return std::move(*text);
  if (IsAscii(bytes)) return std::string(bytes);
  TextEncodingGuess guess;
  guess.feed(bytes);
  return guess.utf8() ? std::string(bytes) : DecodeGbk(bytes);
}

std::string DecodeOwnedText(std::string&& bytes) {
  const std::string_view view(bytes);
  if (auto text = DecodeMarked(view)) {
    std::string().swap(bytes);
    return std::move(*text);
  }
  TextEncodingGuess guess;
  guess.feed(view);
  if (guess.utf8()) return std::move(bytes);
  std::string text = DecodeGbk(view);
  std::string().swap(bytes);
  return text;
}

std::string EncodeGbk(std::string_view utf8) {
  return Convert("GBK", "UTF-8", utf8, "?", Utf8SequenceLength, utf8.size());
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

namespace {

// Reads at most limit + 1 bytes from an open regular file, so that a file
// that grows while it is read is still caught by the size bound.
bool ReadOpenFile(int fd, std::uintmax_t size, std::uintmax_t limit, std::string& bytes) {
  bytes.clear();
  bytes.reserve(static_cast<std::size_t>(std::min(size, limit)) + 1);
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > limit) return true;
  }
}

std::string CannotRead(const std::string& path, int error) {
  return "无法读取文件：" + path + "（" + SystemErrorText(error) + "）";
}

std::string TooLarge(std::uintmax_t limit, const std::string& path) {
  return "文件超过" + std::to_string(limit) + "字节，不予读取：" + PathForDisplay(path);
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error, std::uintmax_t limit) {
  // Non-blocking, so that opening a pipe with no writer returns at once; the
  // descriptor is then refused for not being a regular file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    error = errno == ENOENT ? ReadError("文件不存在：", path) : CannotRead(path, errno);
    return false;
  }
  struct stat info {};
  bool ok = false;
  if (::fstat(fd, &info) != 0) {
    error = CannotRead(path, errno);
  } else if (!S_ISREG(info.st_mode)) {
    error = ReadError("不是普通文件，不予读取：", path);
  } else if (static_cast<std::uintmax_t>(info.st_size) > limit) {
    error = TooLarge(limit, path);
  } else if (!ReadOpenFile(fd, static_cast<std::uintmax_t>(info.st_size), limit, bytes)) {
    error = CannotRead(path, errno);
  } else if (bytes.size() > limit) {
    error = TooLarge(limit, path);
  } else {
    ok = true;
  }
  ::close(fd);
  if (!ok) std::string().swap(bytes);
  return ok;
}

TextFileRead ReadTextFile(const std::string& path, std::uintmax_t limit) {
  TextFileRead read;
  std::string bytes;
  if (!ReadFileBytes(path, bytes, read.error, limit)) return read;
  read.text = DecodeOwnedText(std::move(bytes));
  read.ok = true;
  return read;
}

std::string WriteTextFile(const std::string& path, std::string_view utf8Text) {
  return WriteFileAtomically(path, EncodeGbk(ToCrLf(utf8Text)));
}

}  // namespace korvane::io
