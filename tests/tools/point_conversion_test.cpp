// The total-station conversion on the cases under tests/data/point_conversion,
// from text and from files in each encoding, and the reader's limits.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "io/text_file.h"
#include "support/test_folder.h"
#include "utilities/point_conversion.h"
#include "utilities/point_file.h"
#include "support/case_table.h"

using namespace korvane;
using namespace korvane::io;
using namespace korvane::utilities;

namespace {

struct ConversionCase {
  std::string name;
  std::vector<int> columns;
  std::string input, output, note;
  std::string file;  // the file's own bytes, when the case is about decoding them
  std::int64_t lines = 0;
};

// UTF-8 text as UTF-16 with its byte-order mark, as Windows Notepad saves it.
std::string Utf16(const std::string& utf8, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  const auto unit = [&](char32_t u) {
    const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
    out += bigEndian ? std::string{high, low} : std::string{low, high};
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : b & (0x7F >> n);
    for (int k = 1; k < n; ++k) c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += static_cast<std::size_t>(n);
    if (c < 0x10000) {
      unit(c);
    } else {
      unit(0xD800 + ((c - 0x10000) >> 10));
      unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

std::vector<ConversionCase> LoadCases() {
  std::vector<ConversionCase> cases;
  for (const auto& entry : std::filesystem::directory_iterator(KORVANE_TEST_DATA "/point_conversion")) {
    if (entry.path().extension() != ".case") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::map<std::string, std::string> sections;
    std::string line, current;
    while (std::getline(in, line)) {
      if (line.rfind("=== ", 0) == 0) current = line.substr(4);
      else sections[current] += line + "\n";
    }
    ConversionCase c;
    c.name = entry.path().stem().string();
    std::string columns = sections["columns"];
    columns.erase(columns.find_last_not_of('\n') + 1);
    EXPECT_TRUE(korvane::utilities::ParsePointColumns(columns, c.columns)) << c.name;
    c.input = ReplaceAll(sections["input"], "\\r", "\r");
    if (sections.count("file")) {
      std::string file = sections["file"];
      file.erase(file.find_last_not_of('\n') + 1);
      c.file = korvane::testing::UnescapeCell(file);
    }
    c.output = sections["output"];
    c.lines = std::stoll(sections["lines"]);
    c.note = sections["note"];
    c.note.erase(c.note.find_last_not_of('\n') + 1);
    cases.push_back(c);
  }
  EXPECT_GE(cases.size(), 10u);
  return cases;
}

std::string ConvertFile(const std::string& path, const std::vector<int>& columns,
                        korvane::utilities::PointFileStats& stats, std::string& error) {
  std::string out;
  error = ConvertPointFile(path, columns, "\n", [&](std::string_view text) {
    out.append(text);
    return true;
  }, stats);
  return out;
}

}  // namespace

TEST(PointConversion, CasesFromText) {
  for (const ConversionCase& c : LoadCases()) {
    const korvane::utilities::PointConversion result = korvane::utilities::ConvertPointText(c.input, c.columns);
    EXPECT_EQ(result.text, c.output) << c.name;
    EXPECT_EQ(result.linesRead, c.lines) << c.name;
    EXPECT_EQ(korvane::utilities::WideLinesNote(result.firstWideLine, result.wideLines), c.note) << c.name;
  }
}

TEST(PointConversion, CasesFromFilesInEveryEncoding) {
  TestFolder folder;
  for (const ConversionCase& c : LoadCases()) {
    std::map<std::string, std::string> files = {
        {"gbk", korvane::io::EncodeGbk(c.input)}, {"utf8", c.input}, {"bom", "\xEF\xBB\xBF" + c.input},
        {"utf16le", Utf16(c.input, false)}, {"utf16be", Utf16(c.input, true)}};
    // A case with its own bytes: the reader must give its input as the text.
    if (!c.file.empty()) files = {{"file", c.file}};
    for (const auto& [encoding, bytes] : files) {
      folder.write("in.dat", bytes);
      korvane::utilities::PointFileStats stats;
      std::string error;
      EXPECT_EQ(ConvertFile(folder.file("in.dat"), c.columns, stats, error), c.output)
          << c.name << " " << encoding;
      EXPECT_EQ(error, "");
      EXPECT_EQ(stats.linesRead, c.lines) << c.name << " " << encoding;
      EXPECT_EQ(korvane::utilities::WideLinesNote(stats.firstWideLine, stats.wideLines), c.note) << c.name;
      std::string text;
      std::int64_t lines = -1;
      EXPECT_EQ(korvane::utilities::ReadPointLines(folder.file("in.dat"), 1 << 20, text, lines), "");
      EXPECT_EQ(korvane::utilities::ConvertPointText(text, c.columns).text, c.output) << c.name << " " << encoding;
      if (!c.file.empty()) {
        EXPECT_EQ(text, c.input) << c.name;
      }
      EXPECT_EQ(lines, c.lines);
    }
  }
}

// Over a megabyte of records, a CR LF split by the reader's block boundary,
// GBK names, and more lines than a 16-bit count holds.
TEST(PointConversion, LargeFilesStreamLikeTheText) {
  TestFolder folder;
  std::string text = std::string(94, 'H') + "\r\n";  // puts a CR on the last byte of the first MiB
  for (int i = 0; i < 40000; ++i) {
    std::string line = "点" + std::to_string(i) + ",100.5,,3";
    line.resize(100, '0');  // 99 bytes in GBK, where "点" takes two
    text += line + "\r\n";
  }
  folder.write("big.dat", korvane::io::EncodeGbk(text));
  korvane::utilities::PointFileStats stats;
  std::string error;
  const std::vector<int> columns{3, 1, 2};
  const std::string streamed = ConvertFile(folder.file("big.dat"), columns, stats, error);
  EXPECT_EQ(error, "");
  EXPECT_EQ(stats.linesRead, 40001);
  EXPECT_EQ(streamed.substr(0, 6), "40001\n");
  EXPECT_EQ(streamed, korvane::utilities::ConvertPointText(text, columns).text);
}

// UTF-16 read in blocks: lines of surrogate pairs after one two-byte
// character, so that the blocks, whose sizes are multiples of four bytes,
// cut pairs and line breaks in two.
TEST(PointConversion, LargeUtf16FilesStreamLikeTheText) {
  TestFolder folder;
  std::string text = "A\r\n";
  std::string pairs;
  for (int i = 0; i < 40; ++i) pairs += "\U0001F600";
  for (int i = 0; i < 30000; ++i) text += pairs + "," + std::to_string(i % 10) + ",2\r\n";
  const std::vector<int> columns{2, 1};
  for (const bool bigEndian : {false, true}) {
    folder.write("big16.dat", Utf16(text, bigEndian));
    korvane::utilities::PointFileStats stats;
    std::string error;
    const std::string streamed = ConvertFile(folder.file("big16.dat"), columns, stats, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(stats.linesRead, 30001);
    EXPECT_EQ(streamed, korvane::utilities::ConvertPointText(text, columns).text) << bigEndian;
  }
}

TEST(PointConversion, ReaderRefusesWhatIsNoPointFile) {
  TestFolder folder;
  std::string text;
  std::int64_t lines = 0;
  EXPECT_NE(korvane::utilities::ReadPointLines(folder.file("missing.dat"), 1 << 20, text, lines), "");
  std::filesystem::create_directory(folder.file("dir.dat"));
  EXPECT_NE(korvane::utilities::ReadPointLines(folder.file("dir.dat"), 1 << 20, text, lines).find("不是普通文件"),
            std::string::npos);
  folder.write("long.dat", std::string(3 << 20, 'x'));
  korvane::utilities::PointFileStats stats;
  std::string error;
  ConvertFile(folder.file("long.dat"), korvane::utilities::DefaultPointColumns(), stats, error);
  EXPECT_NE(error.find("第1行太长"), std::string::npos) << error;
  EXPECT_NE(korvane::utilities::ReadPointLines(folder.file("long.dat"), 1 << 20, text, lines).find("文件太大"),
            std::string::npos);
  // A long tail after the first empty line is never read.
  folder.write("tail.dat", "P1,1,2,3\n\n" + std::string(3 << 20, 'x'));
  EXPECT_EQ(ConvertFile(folder.file("tail.dat"), {1}, stats, error), "1\nP1\n");
  EXPECT_EQ(error, "");
}

TEST(PointConversion, ColumnLists) {
  std::vector<int> columns;
  EXPECT_TRUE(korvane::utilities::ParsePointColumns("3, 2,1", columns));
  EXPECT_EQ(columns, (std::vector<int>{3, 2, 1}));
  EXPECT_TRUE(korvane::utilities::ParsePointColumns("", columns));
  EXPECT_TRUE(columns.empty());
  for (const char* bad : {"6", "0", "1,1", "1,,2", "a", "12", "1;2"})
    EXPECT_FALSE(korvane::utilities::ParsePointColumns(bad, columns)) << bad;
}
