#pragma once
// Every text file of the program is read and written here: GBK with CR LF.
// Reading also accepts UTF-16 and UTF-8 with a byte-order mark, and valid
// UTF-8 that does not look like GBK; inside the program all text is UTF-8.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::io {

struct TextFileRead {
  bool ok = false;
  std::string text;   // UTF-8, line ends as in the file
  std::string error;  // why the file could not be read
};

// Largest traverse or rigorous data file read (64 MiB, itself accepted).
inline constexpr std::uintmax_t kMaxDataFileBytes = 64ull * 1024 * 1024;
// Largest start-data file read.
inline constexpr std::uintmax_t kMaxStartFileBytes = 4096;

// Decodes a file's bytes. A byte-order mark says UTF-8 or UTF-16 (little or
// big endian). Without one the bytes are UTF-8 when they are valid UTF-8,
// hold no C1 control character (U+0080 to U+009F, which only GBK bytes such as
// 職 C2 9A give) and their GBK reading would not be plain GB2312 text;
// otherwise GBK. GBK text whose every character also reads as a letter of
// another script in UTF-8 (袀, D0 82, reads as Ђ) cannot be told apart and is
// read as UTF-8. Invalid bytes become U+FFFD, so the result is always valid
// UTF-8.
std::string DecodeText(std::string_view bytes);
// The same, reusing the buffer when the bytes are already the text.
std::string DecodeOwnedText(std::string&& bytes);
// The choice DecodeText makes for bytes without a mark, taken over a text
// handed in pieces that end at line breaks (a file read in blocks).
class TextEncodingGuess {
 public:
  void feed(std::string_view bytes);
  bool utf8() const { return utf8_ && !(nonAscii_ && plainGb2312_); }

 private:
  bool utf8_ = true;         // valid UTF-8 without C1 controls so far
  bool nonAscii_ = false;    // any byte above 0x7F so far
  bool plainGb2312_ = true;  // every piece with such bytes reads as GB2312
};
// Decodes UTF-16 (without its mark) into UTF-8, appended to `out`; a lone
// surrogate and, when `final`, an odd last byte become U+FFFD. Returns the
// bytes used: short of the end when not `final` and the last unit or
// surrogate pair is incomplete.
std::size_t DecodeUtf16(std::string_view bytes, bool bigEndian, bool final, std::string& out);
// Decodes GBK bytes whatever they look like (the start-data file).
std::string DecodeGbk(std::string_view bytes);
// Encodes UTF-8 text as GBK; characters GBK cannot hold become "?".
std::string EncodeGbk(std::string_view utf8);
// Line breaks LF, CR LF or CR all become CR LF.
std::string ToCrLf(std::string_view text);

// Reads a regular file of at most `limit` bytes; anything else (a missing
// file, a folder, a pipe, a device, a larger file) is reported in `error`.
TextFileRead ReadTextFile(const std::string& path, std::uintmax_t limit = kMaxDataFileBytes);

// Replaces the file with the text in GBK and CR LF through the atomic writer
// (atomic_output.h), so that a failure or a kill never leaves the target
// empty or half written, and a destination that is no regular file or is
// read-only is refused. Returns an empty string on success, otherwise the
// reason.
std::string WriteTextFile(const std::string& path, std::string_view utf8Text);
// The same for raw bytes.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);
// The same for lines of text, each written in GBK and ended by CR LF, then
// `trailer` as it is.
std::string WriteLinesAtomically(const std::string& path, const std::vector<std::string>& lines,
                                 std::string_view trailer = {});
// Receives the lines of a text one at a time, as they are produced.
using LineSink = std::function<void(std::string_view line)>;
// Produces a text line by line into the sink it is given.
using LineSource = std::function<void(const LineSink& sink)>;
// The same for lines handed over as they are produced, so that a long text is
// never held whole: a report of many stations is written while it is made.
std::string WriteLinesAtomically(const std::string& path, const LineSource& produce, std::string_view trailer = {});
class AtomicOutput;
// Writes the lines into an open output as WriteLinesAtomically does; 0 or
// the error number.
int WriteLines(AtomicOutput& output, const LineSource& produce, std::string_view trailer = {});
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error,
                   std::uintmax_t limit = kMaxDataFileBytes);

}  // namespace korvane::io
