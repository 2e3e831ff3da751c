#include "core/text_utils.h"

namespace korvane {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

int CharCount(std::string_view text) {
  int count = 0;
  for (char c : text)
    if (!IsContinuationByte(c)) ++count;
  return count;
}

std::string LeftChars(std::string_view text, int n) {
  if (n <= 0) return {};
  int seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsContinuationByte(text[i])) {
      if (seen == n) return std::string(text.substr(0, i));
      ++seen;
    }
  }
  return std::string(text);
}

std::string TrimLeft(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  return std::string(text.substr(i));
}

std::string TrimRight(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && text[n - 1] == ' ') --n;
  return std::string(text.substr(0, n));
}

std::string Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

std::string PadRight(std::string_view text, int width) {
  std::string padded(text);
  const int count = CharCount(text);
  if (count < width) padded.append(static_cast<std::size_t>(width - count), ' ');
  return padded;
}

int DisplayWidth(std::string_view text) {
  int width = 0;
  for (unsigned char c : text) {
    if (c < 0x80) width += 1;
    else if ((c & 0xC0) != 0x80) width += 2;  // the lead byte of a multi-byte character
  }
  return width;
}

std::string PadRightToWidth(std::string_view text, int width) {
  std::string padded(text);
  const int used = DisplayWidth(text);
  if (used < width) padded.append(static_cast<std::size_t>(width - used), ' ');
  return padded;
}

std::string ToLowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (true) {
    const auto pos = text.find(separator, start);
    if (pos == std::string_view::npos) {
      pieces.emplace_back(text.substr(start));
      return pieces;
    }
    pieces.emplace_back(text.substr(start, pos - start));
    start = pos + 1;
  }
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

}  // namespace korvane
