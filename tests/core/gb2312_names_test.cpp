// The GBK-or-UTF-8 rule over every GB2312 hanzi as station names, and over
// every GBK file the project ships.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "io/text_file.h"

using namespace korvane;
using namespace korvane::io;

namespace {

// The 6,763 hanzi of GB2312 in GBK bytes: rows B0 to F7, places A1 to FE,
// with the five empty places at the end of row D7.
std::vector<std::string> Gb2312Hanzi() {
  std::vector<std::string> hanzi;
  for (int lead = 0xB0; lead <= 0xF7; ++lead)
    for (int trail = 0xA1; trail <= 0xFE; ++trail)
      if (!(lead == 0xD7 && trail >= 0xFA)) hanzi.push_back({static_cast<char>(lead), static_cast<char>(trail)});
  return hanzi;
}

// A small traverse data file whose station names are the given names.
std::string DataFile(const std::vector<std::string>& names) {
  std::string text = "F,K9\r\n";
  for (const std::string& name : names) text += name + ",90.3,125.36,1.45,1.5,0.0215,1.48,1.52,-0.0212\r\n";
  return text;
}

struct Share {
  int right = 0, total = 0;
  double percent() const { return 100.0 * right / total; }
};

}  // namespace

TEST(Gb2312Names, GbkNamesReadRightAndUtf8NamesAlmostAlways) {
  const std::vector<std::string> hanzi = Gb2312Hanzi();
  ASSERT_EQ(hanzi.size(), 6763u);
  const std::size_t n = hanzi.size();
  Share utf8[4];  // by name length 1..3
  Share several;  // four two-character names in one file
  for (std::size_t k = 0; k < n; ++k) {
    std::string name;
    for (int len = 1; len <= 3; ++len) {
      name += hanzi[(k + static_cast<std::size_t>(len) - 1) % n];
      const std::string gbk = DataFile({name});
      const std::string utf8Text = korvane::io::DecodeGbk(gbk);
      // Every GBK file whose Chinese is GB2312 text reads right.
      ASSERT_EQ(korvane::io::DecodeText(gbk), utf8Text) << "GBK name of length " << len << " at " << k;
      utf8[len].right += korvane::io::DecodeText(utf8Text) == utf8Text;
      ++utf8[len].total;
    }
    std::vector<std::string> names;
    // Names spread over the table, as a traverse's names are.
    for (std::size_t j = 0; j < 4; ++j) {
      const std::size_t first = (k * 7919 + j * 1543) % n;
      names.push_back(hanzi[first] + hanzi[(first * 31 + 17) % n]);
    }
    const std::string utf8Text = korvane::io::DecodeGbk(DataFile(names));
    ASSERT_EQ(korvane::io::DecodeText(korvane::io::EncodeGbk(utf8Text)), utf8Text);
    several.right += korvane::io::DecodeText(utf8Text) == utf8Text;
    ++several.total;
  }
  std::printf("UTF-8 files read right: one character %.2f%%, two %.2f%%, three %.2f%%, four two-character names %.2f%%\n",
              utf8[1].percent(), utf8[2].percent(), utf8[3].percent(), several.percent());
  // An odd number of UTF-8 bytes never pairs up as GB2312.
  EXPECT_EQ(utf8[1].right, utf8[1].total);
  EXPECT_GT(utf8[2].percent(), 90.0);
  EXPECT_GT(utf8[3].percent(), 99.0);
  EXPECT_EQ(several.right, several.total);
}

TEST(Gb2312Names, EveryShippedGbkFileReadsAsGbk) {
  namespace fs = std::filesystem;
  int files = 0;
  for (const char* root : {KORVANE_EXAMPLES, KORVANE_TEST_DATA}) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".dat" && ext != ".txt")) continue;
      const std::string name = entry.path().filename().string();
      if (name.find("utf8") != std::string::npos || name.find("utf16") != std::string::npos) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::stringstream bytes;
      bytes << in.rdbuf();
      // Test lists written in UTF-8 are no GBK files: the tables at the top
      // of the test data and those of the file splitter.
      const fs::path folder = entry.path().parent_path();
      if (folder == fs::path(KORVANE_TEST_DATA) || folder.filename() == "splitter") continue;
      EXPECT_EQ(korvane::io::DecodeText(bytes.str()), korvane::io::DecodeGbk(bytes.str())) << entry.path();
      ++files;
    }
  }
  EXPECT_GT(files, 10);
}
