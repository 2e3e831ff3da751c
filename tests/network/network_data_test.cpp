// Network files kept as data: generated networks with their expected adjusted
// coordinates, networks the engine must refuse, and single lines the reader
// refuses or accepts.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "io/text_file.h"
#include "core/text_utils.h"
#include "network/network_adjustment.h"
#include "formats/network_file.h"
#include "support/case_table.h"

using namespace korvane::formats;
using namespace korvane::io;
using namespace korvane::network;

namespace korvane {
namespace {

namespace fs = std::filesystem;
const fs::path kData = fs::path(KORVANE_TEST_DATA) / "network";

std::vector<fs::path> Files(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".net") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// The "# KEY, ..." comment lines of a network file, split at commas.
std::vector<std::vector<std::string>> Comments(const std::string& text, const std::string& key) {
  std::vector<std::vector<std::string>> found;
  for (const std::string& line : SplitLines(text)) {
    if (line.rfind("# " + key + ",", 0) != 0) continue;
    std::vector<std::string> fields;
    for (const std::string& f : Split(line.substr(2), ',')) fields.push_back(Trim(f));
    found.push_back(fields);
  }
  return found;
}

std::map<std::string, const network::NetworkPointResult*> ByName(const network::NetworkResult& r) {
  std::map<std::string, const network::NetworkPointResult*> m;
  for (const network::NetworkPointResult& p : r.points) m[p.name] = &p;
  return m;
}

TEST(NetworkFiles, GeneratedNetworksGiveTheirExpectedCoordinates) {
  int checked = 0;
  for (const fs::path& path : Files(kData)) {
    SCOPED_TRACE(path.filename().string());
    std::string error;
    const formats::NetworkFileLoad load = formats::LoadNetworkFile(path.string(), error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_TRUE(load.ok()) << load.refusal->text;
    const std::string text = io::ReadTextFile(path.string()).text;
    const double tolerance = std::stod(Comments(text, "TOLERANCE_MM").at(0).at(1)) / 1000;
    const network::NetworkOutcome outcome = network::AdjustNetwork(load.input);
    ASSERT_TRUE(outcome.ok()) << outcome.refusal->text;
    const auto points = ByName(outcome.result);
    const auto expected = Comments(text, "EXPECT");
    ASSERT_FALSE(expected.empty());
    for (const auto& e : expected) {
      ASSERT_TRUE(points.count(e.at(1))) << e.at(1);
      EXPECT_NEAR(points.at(e.at(1))->x, std::stod(e.at(2)), tolerance) << e.at(1);
      EXPECT_NEAR(points.at(e.at(1))->y, std::stod(e.at(3)), tolerance) << e.at(1);
      ++checked;
    }
    // Every residual is consistent with its deviation in a network of sound data.
    EXPECT_TRUE(outcome.result.chiTestPassed);
    // The written file reads back to the same adjustment.
    const formats::NetworkFileLoad again = formats::ParseNetworkText(NetworkText(load.input));
    ASSERT_TRUE(again.ok());
    const network::NetworkOutcome second = network::AdjustNetwork(again.input);
    ASSERT_TRUE(second.ok());
    // The file is written by kind of record, so its points may come in
    // another order: compared by name.
    const auto again2 = ByName(second.result);
    ASSERT_EQ(again2.size(), points.size());
    for (const auto& [name, p] : points) {
      EXPECT_NEAR(again2.at(name)->x, p->x, 1e-7) << name;
      EXPECT_NEAR(again2.at(name)->y, p->y, 1e-7) << name;
    }
  }
  EXPECT_GE(checked, 20);
}

TEST(NetworkFiles, RefusedNetworksNameTheirCause) {
  for (const fs::path& path : Files(kData / "refuse")) {
    SCOPED_TRACE(path.filename().string());
    std::string error;
    const formats::NetworkFileLoad load = formats::LoadNetworkFile(path.string(), error);
    ASSERT_TRUE(load.ok());
    const std::string text = io::ReadTextFile(path.string()).text;
    // "# FALLBACK_LIMIT, N": the most unknowns judged by the QR of the design.
    network::NetworkOptions options;
    for (const auto& limit : Comments(text, "FALLBACK_LIMIT")) options.fallbackLimit = std::stoi(limit.at(1));
    const network::NetworkOutcome outcome = AdjustNetwork(load.input, options);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.refusal->title, formats::kNetworkTitle);
    const std::string reason = Comments(text, "REFUSE").at(0).at(1);
    EXPECT_NE(outcome.refusal->text.find(reason), std::string::npos) << outcome.refusal->text;
  }
}

TEST(NetworkFiles, MalformedLinesAreRefusedWithTheirNumber) {
  const std::string table = io::ReadTextFile((kData / "file_cases_utf8.txt").string()).text;
  int cases = 0;
  for (const std::string& row : SplitLines(table)) {
    if (row.empty() || row[0] == '#') continue;
    const std::size_t bar1 = row.find(" | "), bar2 = row.find(" | ", bar1 + 3);
    const int line = std::stoi(row.substr(0, bar1));
    const std::string reason = Trim(row.substr(bar1 + 3, bar2 - bar1 - 3));
    const std::string text = korvane::testing::UnescapeCell(row.substr(bar2 + 3));
    SCOPED_TRACE(row);
    const formats::NetworkFileLoad load = formats::ParseNetworkText(text);
    ++cases;
    if (line == 0) {
      EXPECT_TRUE(load.ok()) << load.refusal->text;
      continue;
    }
    ASSERT_FALSE(load.ok());
    EXPECT_NE(load.refusal->text.find("第 " + std::to_string(line) + " 行"), std::string::npos) << load.refusal->text;
    EXPECT_NE(load.refusal->text.find(reason), std::string::npos) << load.refusal->text;
  }
  EXPECT_GE(cases, 25);
}

TEST(NetworkFiles, SavedRecordsKeepOwnDeviationsOnlyWhereGiven) {
  const std::string table = io::ReadTextFile((kData / "written_records_utf8.txt").string()).text;
  int cases = 0;
  for (const std::string& row : SplitLines(table)) {
    if (row.empty() || row[0] == '#') continue;
    SCOPED_TRACE(row);
    const std::size_t bar = row.find(" | ");
    ASSERT_NE(bar, std::string::npos);
    const formats::NetworkFileLoad load = formats::ParseNetworkText(korvane::testing::UnescapeCell(row.substr(0, bar)));
    ASSERT_TRUE(load.ok()) << load.refusal->text;
    // The PARAM line comes first in every saved file.
    const std::string text = NetworkText(load.input);
    const std::string records = text.substr(text.find('\n') + 1);
    EXPECT_EQ(records, korvane::testing::UnescapeCell(row.substr(bar + 3)) + "\n");
    // Read back, the same records again.
    EXPECT_EQ(NetworkText(formats::ParseNetworkText(text).input), text);
    ++cases;
  }
  EXPECT_GE(cases, 10);
}

TEST(NetworkFiles, SavedFileIsGbkWithCrLfAndReadsBack) {
  std::string error;
  const formats::NetworkFileLoad load = formats::LoadNetworkFile((kData / "gbk_names.net").string(), error);
  ASSERT_TRUE(load.ok() && error.empty());
  ASSERT_EQ(load.input.known.at(0).name, "起点甲");
  const fs::path out = fs::temp_directory_path() / ("korvane_network_" + std::to_string(::getpid()) + ".net");
  ASSERT_EQ(SaveNetworkFile(out.string(), load.input), "");
  std::string bytes;
  ASSERT_TRUE(io::ReadFileBytes(out.string(), bytes, error));
  EXPECT_NE(bytes.find(io::EncodeGbk("POINT, 起点甲") + ", 2000, 2000\r\n"), std::string::npos);
  const formats::NetworkFileLoad again = formats::LoadNetworkFile(out.string(), error);
  fs::remove(out);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(NetworkText(again.input), NetworkText(load.input));
  // A folder is not a network file.
  formats::LoadNetworkFile(kData.string(), error);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace korvane
