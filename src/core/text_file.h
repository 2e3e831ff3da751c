#pragma once
// Every text file of the program is read and written here: GBK with CR LF.
// Reading also accepts UTF-8 (with a byte-order mark, or valid UTF-8 that is
// not plain GB2312 text read as GBK); inside the program all text is UTF-8.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

struct TextFileRead {
  bool ok = false;
  std::string text;   // UTF-8, line ends as in the file
  std::string error;  // why the file could not be read
};

// Largest traverse or rigorous data file read (64 MiB, itself accepted).
inline constexpr std::uintmax_t kMaxDataFileBytes = 64ull * 1024 * 1024;
// Largest start-data file read.
inline constexpr std::uintmax_t kMaxStartFileBytes = 4096;

// Decodes a file's bytes. They are UTF-8 when they begin with a byte-order
// mark, or when they are valid UTF-8 and their GBK reading would not be plain
// GB2312 text; otherwise GBK. Invalid bytes become U+FFFD, so the result is
// always valid UTF-8.
std::string DecodeText(std::string_view bytes);
// The same, reusing the buffer when the bytes are already the text.
std::string DecodeOwnedText(std::string&& bytes);
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

}  // namespace korvane
