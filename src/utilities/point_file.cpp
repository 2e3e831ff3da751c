#include "utilities/point_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/message_text.h"
#include "io/text_file.h"
#include "core/utf8.h"
#include "utilities/point_conversion.h"

namespace korvane::utilities {
namespace {

constexpr std::size_t kBlockBytes = 1 << 20;
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Le = "\xFF\xFE", kUtf16Be = "\xFE\xFF";

}  // namespace

bool IsAsciiText(std::string_view bytes) {
  std::size_t i = 0;
  std::uint64_t high = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    high |= word;
  }
  for (; i < bytes.size(); ++i) high |= static_cast<unsigned char>(bytes[i]);
  return (high & 0x8080808080808080ULL) == 0;
}

namespace {

// Reads a regular file in blocks and hands out runs of whole lines (with
// their line breaks), stopping before the first empty line. Once the lines
// have been counted, a second reading only cuts the runs at their last line
// break and leaves it to the reader to stop after the counted lines.
class RecordChunks {
 public:
  explicit RecordChunks(bool counted = false) : counted_(counted) {}
  ~RecordChunks() {
    if (fd_ >= 0) ::close(fd_);
  }
  std::string open(const std::string& path, std::int64_t maxBytes) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return "无法读取文件：" + path + "（" + SystemErrorText(errno) + "）";
    struct stat info {};
    if (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return "不是普通文件：" + path;
    if (maxBytes >= 0 && info.st_size > maxBytes)
      return "文件太大：" + path + "（超过 " + std::to_string(maxBytes >> 20) + " MB）";
    path_ = path;
    // A small file gets a buffer of its size; should it grow while being
    // read, the buffer grows to the full size once it is filled.
    capacity_ = std::min<std::size_t>(kCapacity, static_cast<std::size_t>(info.st_size) + 64);
    // UTF-16 is turned into UTF-8 as it is read, up to half as long again.
    char bytes[2];
    const std::string_view mark(bytes, 2);
    if (::pread(fd_, bytes, 2, 0) == 2 && (mark == kUtf16Le || mark == kUtf16Be)) {
      if (::lseek(fd_, 2, SEEK_SET) != 2) return "无法读取文件：" + path + "（" + SystemErrorText(errno) + "）";
      utf16_ = bom_ = true;
      bigEndian_ = mark == kUtf16Be;
      capacity_ = kCapacity;
    }
    buffer_.reset(new char[capacity_]);
    return {};
  }
  // The next run of lines; false when the records are over (error tells why
  // when reading failed).
  bool next(std::string_view& chunk, std::string& error) {
    begin_ = taken_;
    while (!done_) {
      if (const std::size_t end = counted_ ? lastBreakEnd() : wholeLines(); end > begin_) {
        taken_ = end;
        chunk = std::string_view(buffer_.get() + begin_, end - begin_);
        return true;
      }
      if (eof_) {
        done_ = true;
        if (end_ == begin_) return false;
        ++lines_;  // the last line, without a line break
        taken_ = end_;
        chunk = std::string_view(buffer_.get() + begin_, end_ - begin_);
        return true;
      }
      if (end_ - begin_ > kMaxPointLineBytes) {
        error = "第" + std::to_string(lines_ + 1) + "行太长（超过 1 MB），不是测量数据文件：" + path_;
        return false;
      }
      if (!fill(error)) return false;
    }
    return false;
  }
  bool hadBom() const { return bom_; }
  std::int64_t lines() const { return lines_; }

 private:
  static constexpr std::size_t kCapacity = kBlockBytes + kMaxPointLineBytes + 16;

  bool fill(std::string& error) {
    // The unfinished line moves to the front, then a block is read after it.
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = taken_ = 0;
    if (end_ == capacity_) {
      std::unique_ptr<char[]> larger(new char[kCapacity]);
      std::memcpy(larger.get(), buffer_.get(), end_);
      buffer_ = std::move(larger);
      capacity_ = kCapacity;
    }
    const std::size_t room = std::min(kBlockBytes, capacity_ - end_);
    if (utf16_) return fillUtf16(room, error);
    ssize_t n;
    do n = ::read(fd_, buffer_.get() + end_, room);
    while (n < 0 && errno == EINTR);
    if (n < 0) {
      error = "无法读取文件：" + path_ + "（" + SystemErrorText(errno) + "）";
      return false;
    }
    end_ += static_cast<std::size_t>(n);
    if (n == 0) eof_ = true;
    if (!started_ && std::string_view(buffer_.get(), end_).substr(0, 3) == kBom) {
      begin_ = taken_ = 3;
      bom_ = true;
    }
    started_ = true;
    return true;
  }

  // Reads UTF-16 and puts its UTF-8 into the buffer; a unit or surrogate
  // pair cut by the block waits for the next one.
  bool fillUtf16(std::size_t room, std::string& error) {
    const std::size_t carried = raw_.size();
    raw_.resize(carried + (room - 16) * 2 / 3);
    ssize_t n;
    do n = ::read(fd_, raw_.data() + carried, raw_.size() - carried);
    while (n < 0 && errno == EINTR);
    if (n < 0) {
      error = "无法读取文件：" + path_ + "（" + SystemErrorText(errno) + "）";
      return false;
    }
    raw_.resize(carried + static_cast<std::size_t>(n));
    if (n == 0) eof_ = true;
    decoded_.clear();
    raw_.erase(0, io::DecodeUtf16(raw_, bigEndian_, eof_, decoded_));
    std::memcpy(buffer_.get() + end_, decoded_.data(), decoded_.size());
    end_ += decoded_.size();
    started_ = true;
    return true;
  }

  // End of the last complete line in the buffer.
  std::size_t lastBreakEnd() const {
    for (std::size_t i = end_; i > begin_; --i) {
      const char c = buffer_[i - 1];
      if (c == '\n' || (c == '\r' && (i < end_ || eof_))) return i;
    }
    return begin_;
  }

  // End of the complete lines from begin_, stopping before an empty line. A
  // CR at the very end waits for a possible LF.
  std::size_t wholeLines() {
    const std::string_view data(buffer_.get(), end_);
    std::size_t pos = begin_;
    std::size_t end = begin_;
    while (pos < end_) {
      const std::size_t lineEnd = FindLineBreak(data, pos);
      if (lineEnd == std::string::npos) break;
      if (lineEnd == pos) {  // empty line: the records end here
        done_ = true;
        return end;
      }
      std::size_t next = lineEnd + 1;
      if (data[lineEnd] == '\r') {
        if (next == end_ && !eof_) break;
        if (next < end_ && data[next] == '\n') ++next;
      }
      ++lines_;
      pos = end = next;
    }
    return end;
  }

  bool counted_;
  int fd_ = -1;
  std::string path_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t begin_ = 0, taken_ = 0, end_ = 0;
  std::int64_t lines_ = 0;
  bool eof_ = false;
  bool done_ = false;
  bool started_ = false;
  bool bom_ = false;
  bool utf16_ = false, bigEndian_ = false;
  std::string raw_, decoded_;  // UTF-16 read and not yet used; its UTF-8
};

struct Encoding {
  bool utf8 = false;
};

// First pass: the number of lines, the first line and the encoding.
std::string Scan(const std::string& path, std::int64_t maxBytes, Encoding& encoding,
                 std::int64_t& lines, std::string& firstLine) {
  RecordChunks chunks;
  if (std::string error = chunks.open(path, maxBytes); !error.empty()) return error;
  std::string_view chunk;
  std::string error;
  io::TextEncodingGuess guess;
  bool first = true;
  lines = 0;
  while (chunks.next(chunk, error)) {
    if (first) {
      std::string_view rest = chunk, line;
      if (NextRecordLine(rest, line)) firstLine.assign(line);
    }
    first = false;
    if (!IsAsciiText(chunk)) guess.feed(chunk);
  }
  lines = chunks.lines();
  if (!error.empty()) return error;
  encoding.utf8 = chunks.hadBom() || guess.utf8();
  return {};
}

// Second pass: the lines as UTF-8, in runs of whole lines. Text that needs
// no decoding is handed on as it is.
std::string_view DecodeInto(std::string_view chunk, const Encoding& encoding, std::string& decoded) {
  if (IsAsciiText(chunk)) return chunk;
  if (encoding.utf8) {
    // A file with a byte-order mark may still hold invalid bytes: each
    // invalid run becomes U+FFFD, as the project's decoder does.
    if (IsStrictUtf8(chunk)) return chunk;
    decoded = SanitizeUtf8(chunk);
    return decoded;
  }
  decoded = io::DecodeGbk(chunk);
  return decoded;
}

std::string Decode(std::string_view chunk, const Encoding& encoding) {
  std::string decoded;
  return std::string(DecodeInto(chunk, encoding, decoded));
}

// Runs of whole lines, decoded; the reader stops after the counted lines.
std::string ForEachRun(const std::string& path, const Encoding& encoding,
                       const std::function<bool(std::string_view)>& run) {
  RecordChunks chunks(true);
  if (std::string error = chunks.open(path, -1); !error.empty()) return error;
  std::string_view chunk;
  std::string error, decoded;
  while (chunks.next(chunk, error)) {
    if (!run(DecodeInto(chunk, encoding, decoded))) return {};
  }
  return error;
}

}  // namespace

std::string ReadPointLines(const std::string& path, std::int64_t maxBytes, std::string& text,
                           std::int64_t& lines) {
  Encoding encoding;
  std::string firstLine;
  if (std::string error = Scan(path, maxBytes, encoding, lines, firstLine); !error.empty())
    return error;
  text.clear();
  std::int64_t number = 0;
  return ForEachRun(path, encoding, [&](std::string_view run) {
    std::string_view line;
    while (number < lines && NextRecordLine(run, line)) {
      ++number;
      text.append(line);
      text.push_back('\n');
    }
    return number < lines;
  });
}

std::string ConvertPointFile(const std::string& path, const std::vector<int>& columns,
                             const std::string& lineEnd, const TextSink& sink,
                             PointFileStats& stats) {
  Encoding encoding;
  std::string firstLine;
  std::int64_t lines = 0;
  if (std::string error = Scan(path, -1, encoding, lines, firstLine); !error.empty()) return error;
  const bool hasCountLine = lines == 0 || IsCountLine(Decode(firstLine, encoding));
  PointConverter converter(columns, lineEnd);
  bool sinkOk = sink(converter.CountLine(lines, hasCountLine));
  std::int64_t number = 0;
  std::string out;
  std::string error = ForEachRun(path, encoding, [&](std::string_view run) {
    out.clear();
    std::string_view line;
    // The count of the first pass bounds the second, should the file grow.
    while (number < lines && NextRecordLine(run, line)) {
      ++number;
      converter.Take(line, number, !(hasCountLine && number == 1), out);
    }
    sinkOk = sinkOk && sink(out);
    return sinkOk && number < lines;
  });
  stats.linesRead = lines;
  stats.firstWideLine = converter.firstWideLine();
  stats.wideLines = converter.wideLines();
  if (error.empty() && !sinkOk) error = "无法写入转换结果";
  return error;
}

}  // namespace korvane::utilities
