#include "tools/piece_names.h"

#include <algorithm>
#include <filesystem>

#include "core/text_file.h"

namespace korvane {
namespace {

std::size_t NameStart(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? 0 : slash + 1;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Numeric order of digit strings of any length; equal numbers by their text.
bool NumberBefore(const std::string& a, const std::string& b) {
  const std::size_t za = std::min(a.find_first_not_of('0'), a.size());
  const std::size_t zb = std::min(b.find_first_not_of('0'), b.size());
  const std::string_view na = std::string_view(a).substr(za), nb = std::string_view(b).substr(zb);
  if (na.size() != nb.size()) return na.size() < nb.size();
  if (na != nb) return na < nb;
  return a < b;
}

std::string ShellQuote(std::string_view name) {
  std::string quoted = "'";
  for (const char c : name) {
    if (c == '\'') quoted += "'\\''";
    else quoted.push_back(c);
  }
  return quoted + "'";
}

std::string BatchQuote(std::string_view name) {
  std::string quoted = "\"";
  for (const char c : name) {
    if (c == '%') quoted += "%%";
    else quoted.push_back(c);
  }
  return quoted + "\"";
}

}  // namespace

std::string FileNameOf(std::string_view path) { return std::string(path.substr(NameStart(path))); }

std::string FolderOf(std::string_view path) {
  const std::size_t start = NameStart(path);
  return start == 0 ? std::string() : std::string(path.substr(0, start - 1));
}

std::string PieceName(const std::string& base, std::int64_t k) {
  const char* pad = k < 10 ? ".00" : k < 100 ? ".0" : ".";
  return base + pad + std::to_string(k);
}

std::string ProposeBaseName(const std::string& source) {
  const std::size_t start = NameStart(source);
  const std::size_t dot = source.rfind('.');
  if (dot == std::string::npos || dot < start) return source;
  std::string base = source;
  base[dot] = '$';
  return base;
}

std::string MergedName(const std::string& piece) {
  const std::size_t start = NameStart(piece);
  std::string merged = piece;
  const std::size_t dot = merged.rfind('.');
  if (dot != std::string::npos && dot >= start) merged.erase(dot);
  const std::size_t dollar = merged.rfind('$');
  if (dollar != std::string::npos && dollar >= start) merged[dollar] = '.';
  return merged;
}

std::vector<std::string> CollectPieces(const std::string& piece) {
  namespace fs = std::filesystem;
  const std::string name = FileNameOf(piece);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || !AllDigits(std::string_view(name).substr(dot + 1))) return {};
  const std::string prefix = name.substr(0, dot + 1);
  const std::string folder = FolderOf(piece);
  std::vector<std::pair<std::string, std::string>> found;  // number, file name
  std::error_code ec;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string number = entry.substr(prefix.size());
    std::error_code typeError;
    if (AllDigits(number) && it->is_regular_file(typeError)) found.emplace_back(number, entry);
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return NumberBefore(a.first, b.first); });
  std::vector<std::string> pieces;
  for (const auto& [number, entry] : found)
    pieces.push_back(folder.empty() ? entry : folder + "/" + entry);
  return pieces;
}

std::vector<std::string> PiecesToAdd(const std::string& chosen) {
  if (FileNameOf(chosen).find("001") != std::string::npos) {
    std::vector<std::string> pieces = CollectPieces(chosen);
    if (!pieces.empty()) return pieces;
  }
  return {chosen};
}

std::string LinkBatBytes(const std::vector<std::string>& pieceNames, const std::string& mergedName) {
  std::string line = "copy/B ";
  for (std::size_t i = 0; i < pieceNames.size(); ++i) {
    if (i > 0) line += "+";
    line += BatchQuote(pieceNames[i]);
  }
  line += " " + BatchQuote(mergedName) + "\r\n";
  return EncodeGbk(line);
}

std::string LinkShText(const std::vector<std::string>& pieceNames, const std::string& mergedName) {
  std::string script =
      "#!/bin/sh\n"
      "# Joins the pieces in this folder into " + ShellQuote(mergedName) + ".\n"
      "set -e\n"
      "cd \"$(dirname \"$0\")\"\n"
      "cat";
  for (const std::string& name : pieceNames) script += " " + ShellQuote(name);
  script += " > " + ShellQuote(mergedName) + "\n";
  return script;
}

}  // namespace korvane
