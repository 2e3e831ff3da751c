// korvane-cli traverse run as a user runs it: the bundled examples against
// their expected tables, the saved report, the sketch pictures, refusals and
// unusable input.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "formats/start_data.h"
#include "io/text_file.h"
#include "support/test_folder.h"

using namespace korvane::formats;
using namespace korvane::io;

namespace {

namespace fs = std::filesystem;

struct CliRun {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class TraverseCli : public ::testing::Test {
 protected:

  CliRun Cli(const std::string& args) {
    const fs::path err = dir_ / "stderr.txt";
    const std::string command = std::string("\"") + KORVANE_CLI + "\" traverse " + args + " 2>\"" +
                                err.string() + "\"";
    CliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.err = Slurp(err);
    return run;
  }
  static std::string Example(const std::string& kind) {
    const std::string base = std::string(KORVANE_EXAMPLES) + "/" + kind;
    return "--start \"" + base + ".ini\" --data \"" + base + ".dat\"";
  }
  // A data file (UTF-8 is read as well as GBK) and a start-data file.
  std::string Write(const std::string& data, const korvane::formats::StartRecord& start) {
    const fs::path d = dir_ / "t.dat", s = dir_ / "t.ini";
    std::ofstream(d, std::ios::binary) << data;
    EXPECT_EQ(korvane::formats::WriteStartFile(s.string(), start), "");
    return "--start \"" + s.string() + "\" --data \"" + d.string() + "\"";
  }

  TestFolder folder_;
  const fs::path& dir_ = folder_.path();
};

TEST_F(TraverseCli, OutSavesGbkWithCrLfAsTheSaveCommandDoes) {
  const fs::path out = dir_ / "report.dat";
  const CliRun r = Cli(Example("open") + " --out \"" + out.string() + "\"");
  ASSERT_EQ(r.status, 0);
  const std::string bytes = Slurp(out);
  // The pane's text and one more line break, in GBK with CR LF.
  EXPECT_EQ(bytes, korvane::io::EncodeGbk(korvane::io::ToCrLf(r.out + "\n")));
  EXPECT_NE(bytes.find("\xB1\xB1\xC9\xBD"), std::string::npos);  // 北山 in GBK
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");
  EXPECT_EQ(korvane::io::DecodeText(bytes).find("支导线( Z0-Z3段)"), 17u);
}

TEST_F(TraverseCli, SketchIsWrittenByExtension) {
  const fs::path png = dir_ / "s.png", bmp = dir_ / "s.bmp";
  ASSERT_EQ(Cli(Example("connecting") + " --sketch \"" + png.string() + "\"").status, 0);
  ASSERT_EQ(Cli(Example("no_orientation") + " --sketch=" + bmp.string()).status, 0);
  EXPECT_EQ(Slurp(png).substr(0, 4), "\x89PNG");
  EXPECT_EQ(Slurp(bmp).substr(0, 2), "BM");
  EXPECT_GT(fs::file_size(bmp), 100000u);
}

TEST_F(TraverseCli, KindDefaultsToTheFileLetterAndMustMatchIt) {
  const CliRun lower = Cli(Example("open") + " --kind z");
  EXPECT_EQ(lower.status, 0);
  EXPECT_EQ(lower.out, Cli(Example("open")).out);

  const CliRun mismatch = Cli(Example("open") + " --kind F");
  EXPECT_EQ(mismatch.status, 2);
  EXPECT_EQ(mismatch.out, "");
  EXPECT_EQ(mismatch.err, "提醒: 文本中导线类型输入有误或与窗体上导线类型的选择不一致！\n");

  EXPECT_EQ(Cli(Example("open") + " --kind Q").status, 1);
}

TEST_F(TraverseCli, UnusableInputIsStatusOne) {
  const CliRun noStart = Cli("--start \"" + (dir_ / "none.ini").string() + "\" --data \"" +
                          std::string(KORVANE_EXAMPLES) + "/open.dat\"");
  EXPECT_EQ(noStart.status, 1);
  EXPECT_NE(noStart.err.find("none.ini"), std::string::npos);
  const CliRun noData = Cli("--start \"" + std::string(KORVANE_EXAMPLES) + "/open.ini\" --data \"" +
                         (dir_ / "none.dat").string() + "\"");
  EXPECT_EQ(noData.status, 1);
  EXPECT_NE(noData.err.find("none.dat"), std::string::npos);
  EXPECT_EQ(Cli("--data x.dat").status, 1);
  EXPECT_EQ(Cli(Example("open") + " --colour red").status, 1);
}

TEST_F(TraverseCli, GrossAngularErrorIsRefusedBeforeAnyLine) {
  korvane::formats::StartRecord stat;
  for (auto [k, v] : {std::pair{1, "0"}, {2, "0"}, {4, "0"}, {6, "100"}, {7, "0"}, {9, "0"}})
    stat.record(k) = v;
  const CliRun r = Cli(Write("F,C\nA,180,100,0,0,0,0,0,0\nC,182,0,0,0,0,0,0,0\n", stat));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "警告: 角度闭合差已超过1度，不再接受计算！\n");
}

TEST_F(TraverseCli, WidthRefusalPrintsThePartialTable) {
  korvane::formats::StartRecord stat;
  for (auto [k, v] : {std::pair{1, "0"}, {2, "0"}, {3, "10"}, {4, "0"}, {6, "200"}, {7, "0"}, {8, "15"},
                      {9, "0"}})
    stat.record(k) = v;
  const CliRun r = Cli(Write("F,C\nA,180,100,0,0,0,0,0,0\nB,180,100,0,0,0,0,0,0\nC,180,0,0,0,0,0,0,0\n", stat));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "提醒: 高程闭合差远远超限，不接受继续计算！\n");
  EXPECT_EQ(r.out.rfind("     **********  附合导线( A—C段)", 0), 0u);
  EXPECT_NE(r.out.find("  点  号     δβ″"), std::string::npos);
  EXPECT_EQ(r.out.find("平差最终结果"), std::string::npos);
}

TEST_F(TraverseCli, TableCheckNamesTheCell) {
  const CliRun r = Cli(Write("W,B\nA,90,1o0,0,0,0,0,0,0\n", korvane::formats::StartRecord{}));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "请检查: 第1行第3列数据输入有误！\n");
}

}  // namespace
