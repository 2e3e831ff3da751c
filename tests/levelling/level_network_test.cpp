// The network engine against an independent dense solve of the normal
// equations, the single line and loop through the network engine, and the
// report and data file written to disk.
#include <gtest/gtest.h>

#include <unistd.h>

#include <Eigen/Dense>
#include <cmath>
#include <filesystem>
#include <map>

#include "io/text_file.h"
#include "levelling/level_adjust.h"
#include "formats/level_file.h"
#include "levelling/level_report.h"
#include "levelling/level_table.h"

using namespace korvane;
using namespace korvane::formats;
using namespace korvane::io;
using namespace korvane::report;
using namespace korvane::levelling;

namespace {

LevelData LoadNetworkCase(const std::string& name) {
  std::string error;
  const LevelFileLoad load = LoadLevelFile(std::string(KORVANE_TEST_DATA) + "/levelling/" + name, error);
  EXPECT_TRUE(error.empty() && load.ok()) << name;
  return load.data;
}

double HeightOf(const LevelResult& r, const std::string& name) {
  for (const PointResult& p : r.points)
    if (p.name == name) return p.height;
  ADD_FAILURE() << "no point " << name;
  return 0;
}

// Heights, their errors and the unit weight error from the normal equations
// formed directly in metres, without approximate heights, and solved densely.
struct DenseSolution {
  std::map<std::string, double> height, errorMm;
  double sigma0Mm = 0;
};

DenseSolution SolveDense(const LevelData& d) {
  std::map<std::string, double> known;
  for (const Benchmark& b : d.benchmarks) known[b.name] = b.height;
  std::map<std::string, int> unknown;
  for (const Section& s : d.sections)
    for (const std::string& name : {s.from, s.to})
      if (!known.count(name) && !unknown.count(name)) unknown.emplace(name, static_cast<int>(unknown.size()));
  const int u = static_cast<int>(unknown.size()), m = static_cast<int>(d.sections.size());
  Eigen::MatrixXd a = Eigen::MatrixXd::Zero(m, u);
  Eigen::VectorXd l(m), p(m);
  for (int k = 0; k < m; ++k) {
    const Section& s = d.sections[k];
    l[k] = s.dh;
    p[k] = 1 / s.size;
    if (known.count(s.to)) l[k] -= known[s.to]; else a(k, unknown[s.to]) = 1;
    if (known.count(s.from)) l[k] += known[s.from]; else a(k, unknown[s.from]) = -1;
  }
  const Eigen::MatrixXd n = a.transpose() * p.asDiagonal() * a;
  const Eigen::VectorXd x = n.ldlt().solve(a.transpose() * p.asDiagonal() * l);
  const Eigen::VectorXd v = (a * x - l) * 1000;
  DenseSolution out;
  out.sigma0Mm = std::sqrt(v.dot(p.asDiagonal() * v) / (m - u));
  const Eigen::MatrixXd q = n.inverse();
  for (const auto& [name, i] : unknown) {
    out.height[name] = x[i];
    out.errorMm[name] = out.sigma0Mm * std::sqrt(q(i, i));
  }
  return out;
}

}  // namespace

TEST(LevelNetwork, AgreesWithAnIndependentDenseSolve) {
  for (const char* file : {"network.lev", "network_gbk.lev", "network_one_benchmark.lev"}) {
    SCOPED_TRACE(file);
    const LevelData data = LoadNetworkCase(file);
    const LevelOutcome outcome = AdjustNetwork(data);
    ASSERT_TRUE(outcome.ok()) << outcome.refusal->text;
    const DenseSolution dense = SolveDense(data);
    EXPECT_NEAR(outcome.result.sigma0Mm, dense.sigma0Mm, 1e-6);
    for (const PointResult& p : outcome.result.points) {
      if (p.known) continue;
      EXPECT_NEAR(p.height, dense.height.at(p.name), 1e-7) << p.name;
      EXPECT_NEAR(p.errorMm, dense.errorMm.at(p.name), 1e-6) << p.name;
    }
    // Adjusted height differences close exactly on the adjusted heights.
    for (const SectionResult& s : outcome.result.sections)
      EXPECT_NEAR(s.adjustedDh, HeightOf(outcome.result, s.section.to) - HeightOf(outcome.result, s.section.from), 1e-9);
  }
}

TEST(LevelNetwork, TheVarianceTestFollowsTheGrade) {
  LevelData data = LoadNetworkCase("network.lev");
  data.params.grade = Grade::Fourth;  // σ0 10 mm/√km against μ = 2.6: significantly better
  const LevelResult fourth = AdjustNetwork(data).result;
  ASSERT_TRUE(fourth.test.done);
  EXPECT_NEAR(fourth.test.statistic, 4 * fourth.sigma0Mm * fourth.sigma0Mm / 100, 1e-9);
  EXPECT_FALSE(fourth.test.passed);
  EXPECT_FALSE(fourth.test.tooLarge());
  EXPECT_FALSE(fourth.anyOverLimit());
  data.params.grade = Grade::Second;  // σ0 2 mm/√km: the test passes, the 11 mm line is over ±4√5.2
  const LevelResult second = AdjustNetwork(data).result;
  EXPECT_NEAR(second.test.statistic, fourth.test.statistic * 25, 1e-9);
  EXPECT_TRUE(second.test.passed);
  EXPECT_TRUE(second.anyOverLimit());
  // A line of 37 mm on 7.4 km is far worse than 二等 allows.
  const LevelResult line = AdjustNetwork(LoadNetworkCase("line_second_order_over.lev")).result;
  EXPECT_TRUE(line.test.tooLarge());
}

TEST(LevelNetwork, SingleLineAndLoopGiveTheSameHeights) {
  for (auto [file, method] : {std::pair{"line_textbook.lev", Method::Line}, std::pair{"loop_hilly.lev", Method::Loop},
                              std::pair{"line_second_order_over.lev", Method::Line}}) {
    SCOPED_TRACE(file);
    const LevelData data = LoadNetworkCase(file);
    const LevelOutcome single = Adjust(method, data);
    const LevelOutcome network = AdjustNetwork(data);
    ASSERT_TRUE(single.ok() && network.ok());
    for (const PointResult& p : single.result.points) EXPECT_NEAR(HeightOf(network.result, p.name), p.height, 0.0005) << p.name;
    ASSERT_EQ(network.result.misclosures.size(), 1u);
    EXPECT_NEAR(network.result.misclosures[0].wMm, single.result.misclosures[0].wMm, 1e-9);
  }
}

TEST(LevelReport, OverLimitInRedAndWrittenInGbk) {
  const LevelResult over = AdjustLine(LoadNetworkCase("line_second_order_over.lev")).result;
  const LevelResult fine = AdjustLine(LoadNetworkCase("line_textbook.lev")).result;
  auto joined = [](const LevelResult& r) {
    std::string text;
    for (const std::string& line : LevelReportLines(r)) text += line + "\n";
    return text;
  };
  EXPECT_NE(joined(over).find("<FONT COLOR=#FF0000>+37.0mm</FONT>"), std::string::npos);
  EXPECT_EQ(joined(fine).find("#FF0000"), std::string::npos);
  EXPECT_NE(LevelTableText(over).find("超限"), std::string::npos);
  EXPECT_EQ(LevelTableText(fine).find("超限"), std::string::npos);

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "korvane_level_report_test";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "报告.html").string();
  ASSERT_TRUE(WriteLevelReport(path, over).ok());
  std::string bytes, error;
  ASSERT_TRUE(ReadFileBytes(path, bytes, error));
  EXPECT_NE(bytes.find("\r\n"), std::string::npos);
  EXPECT_EQ(DecodeGbk(bytes), ToCrLf(joined(over)));
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  const ReportWrite refused = WriteLevelReport(path, fine);
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  if (::geteuid() != 0) {
    EXPECT_TRUE(refused.refusal.has_value());
  }
  std::filesystem::remove_all(folder);
}

TEST(LevelReport, EveryTextSurvivesGbk) {
  std::vector<LevelResult> results = {AdjustLine(LoadNetworkCase("line_second_hilly.lev")).result,
                                      AdjustLoop(LoadNetworkCase("loop_hilly.lev")).result,
                                      AdjustNetwork(LoadNetworkCase("network_gbk.lev")).result};
  for (const LevelResult& r : results) {
    std::vector<std::string> lines = LevelReportLines(r);
    for (const std::string& line : LevelTableLines(r)) lines.push_back(line);
    for (const std::string& line : lines) EXPECT_EQ(DecodeGbk(EncodeGbk(line)), line);
  }
}

TEST(LevelFile, SavedInGbkAndReadBack) {
  const LevelData data = LoadNetworkCase("network_gbk.lev");
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "korvane_level_saved.lev";
  ASSERT_EQ(SaveLevelFile(path.string(), data), "");
  std::string bytes, error;
  ASSERT_TRUE(ReadFileBytes(path.string(), bytes, error));
  EXPECT_NE(bytes.find(EncodeGbk("BM,甲,50\r\n")), std::string::npos);
  std::string readError;
  EXPECT_EQ(LoadLevelFile(path.string(), readError).data, data);
  std::filesystem::remove(path);
  // Only regular files are read.
  EXPECT_FALSE(LoadLevelFile("/dev/zero", readError).ok() && readError.empty());
  EXPECT_FALSE(readError.empty());
}
