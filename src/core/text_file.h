#pragma once
// Every text file of the program is read and written here: GBK with CR LF.
// Reading also accepts UTF-8 (with a byte-order mark, or valid UTF-8 with
// multi-byte characters); inside the program all text is UTF-8.
#include <string>
#include <string_view>

namespace korvane {

struct TextFileRead {
  bool ok = false;
  std::string text;   // UTF-8, line ends as in the file
  std::string error;  // why the file could not be read
};

// Decodes GBK or UTF-8 bytes; bytes that are not valid GBK become U+FFFD.
std::string DecodeText(std::string_view bytes);
// Encodes UTF-8 text as GBK; characters GBK cannot hold become "?".
std::string EncodeGbk(std::string_view utf8);
// Line breaks LF, CR LF or CR all become CR LF.
std::string ToCrLf(std::string_view text);

TextFileRead ReadTextFile(const std::string& path);

// Replaces the file with the text in GBK and CR LF. The text goes to a
// temporary file beside the target first and is renamed over it, so that a
// failure never leaves the target empty or half written. Returns an empty
// string on success, otherwise the reason.
std::string WriteTextFile(const std::string& path, std::string_view utf8Text);
// The same for raw bytes.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);

}  // namespace korvane
