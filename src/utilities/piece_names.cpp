#include "utilities/piece_names.h"

#include <algorithm>
#include <sys/stat.h>

#include <cstdio>

#include "io/text_file.h"
#include "core/utf8.h"
#include "core/text_utils.h"

namespace korvane::utilities {
namespace {

std::size_t NameStart(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? 0 : slash + 1;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// `name` between two `quote`s, each `special` in it written as `replacement`.
std::string Quoted(std::string_view name, char quote, char special, std::string_view replacement) {
  std::string quoted(1, quote);
  for (const char c : name) {
    if (c == special) quoted += replacement;
    else quoted.push_back(c);
  }
  return quoted + quote;
}

// For sh: a quote closes, is written escaped and reopens.
std::string ShellQuote(std::string_view name) { return Quoted(name, '\'', '\'', "'\\''"); }

// For cmd: "%" is doubled.
std::string BatchQuote(std::string_view name) { return Quoted(name, '"', '%', "%%"); }

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

std::string PieceBase(const std::string& piece) {
  const std::size_t start = NameStart(piece);
  const std::size_t dot = piece.rfind('.');
  if (dot == std::string::npos || dot < start) return {};
  const std::string_view number = std::string_view(piece).substr(dot + 1);
  if (!AllAsciiDigits(number) || number.size() > 12) return {};
  const std::string base = piece.substr(0, dot);
  const std::int64_t k = std::stoll(std::string(number));
  if (k < 1 || PieceName(base, k) != piece) return {};
  return base;
}

std::vector<std::string> CollectPieces(const std::string& piece) {
  const std::string base = PieceBase(piece);
  std::vector<std::string> pieces;
  if (base.empty()) return pieces;
  for (std::int64_t k = 1;; ++k) {
    std::string name = PieceName(base, k);
    if (!IsRegularFile(name)) break;
    pieces.push_back(std::move(name));
  }
  return pieces;
}

std::string UnfinishedMarker(const std::string& base) { return base + ".unfinished"; }

bool SplitUnfinished(const std::string& base) {
  struct stat info {};
  return ::lstat(UnfinishedMarker(base).c_str(), &info) == 0;
}

std::vector<std::string> PiecesToAdd(const std::string& chosen) {
  if (FileNameOf(chosen).find("001") != std::string::npos) {
    std::vector<std::string> pieces = CollectPieces(chosen);
    if (!pieces.empty()) return pieces;
  }
  return {chosen};
}

std::string BatchUnsafeCharacter(std::string_view name) {
  const auto escaped = [](unsigned char c) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", c);
    return std::string(text);
  };
  for (std::size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) {
      if (c == '"') return "\"";
      if (c < 0x20 || c == 0x7F) return escaped(c);
      ++i;
      continue;
    }
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    const std::string_view character = name.substr(i, length);
    if (character.size() < length || length == 1 || !IsStrictUtf8(character)) return escaped(c);
    if (io::EncodeGbk(character) == "?") return std::string(character);
    i += length;
  }
  return {};
}

std::string LinkBatBytes(const std::vector<std::string>& pieceNames, const std::string& mergedName) {
  std::string line = "copy/B ";
  for (std::size_t i = 0; i < pieceNames.size(); ++i) {
    if (i > 0) line += "+";
    line += BatchQuote(pieceNames[i]);
  }
  line += " " + BatchQuote(mergedName) + "\r\n";
  return io::EncodeGbk(line);
}

std::string LinkShText(const std::vector<std::string>& pieceNames, const std::string& mergedName) {
  std::string shown = mergedName;
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  std::string script =
      "#!/bin/sh\n"
      "# Joins the pieces in this folder into " + shown + ".\n"
      "set -e\n"
      "case $0 in */*) cd -- \"${0%/*}\" ;; esac\n"
      "cat --";
  for (const std::string& name : pieceNames) script += " " + ShellQuote(name);
  script += " > " + ShellQuote(mergedName) + "\n";
  return script;
}

}  // namespace korvane::utilities
