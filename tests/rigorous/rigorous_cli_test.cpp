// korvane-cli rigorous end to end: printed report, refusals and questions,
// the written report with its picture.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "io/text_file.h"
#include "rigorous_fixture.h"
#include "support/test_folder.h"

using namespace korvane::io;

namespace {

struct CliRun {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// One folder for the whole program, removed when it ends.
std::string Dir() {
  static const TestFolder folder;
  return folder.path().string();
}

CliRun Cli(const std::string& args) {
  const std::string dir = Dir();
  const std::string cmd = std::string(KORVANE_CLI) + " rigorous " + args + " >" + dir + "/out.txt 2>" + dir + "/err.txt";
  CliRun r;
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = Slurp(dir + "/out.txt");
  r.err = Slurp(dir + "/err.txt");
  return r;
}

std::string WriteData(const std::string& name, const std::string& text) {
  const std::string path = Dir() + "/" + name;
  std::ofstream(path, std::ios::binary) << korvane::io::EncodeGbk(korvane::io::ToCrLf(text));
  return path;
}

const std::string kTraverse = korvane::testing_rigorous::FourStationFileText();
const std::string kTraverseFile = korvane::testing_rigorous::FourStationFilePath();

TEST(RigorousCli, PrintsTheReportInUtf8) {
  const std::string data = kTraverseFile;
  const CliRun r = Cli("--data " + data);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.find('\r'), std::string::npos);
  EXPECT_EQ(r.out.substr(0, 7), "<html>\n");
  EXPECT_NE(r.out.find("\n<title>附合导线(B—C)平差成果表</title>\n"), std::string::npos);
  // Unchecked: no limits table, the default row's grades.
  EXPECT_EQ(r.out.find("导线限差表"), std::string::npos);
  EXPECT_NE(r.out.find("<td><a=''>四等</a>"), std::string::npos);
  EXPECT_NE(r.out.find("<td><a=''>未限定</a>"), std::string::npos);

  const CliRun checked = Cli("--data " + data + " --check --standard 工程测量规范 --grade 图根");
  ASSERT_EQ(checked.status, 0) << checked.err;
  EXPECT_NE(checked.out.find("<P><B>导线限差表：标定等级《工程测量规范》（GB50026─93）图根导线<BR>\n"),
            std::string::npos);
  // A standard alone selects the grade the list shows after picking it.
  const CliRun water = Cli("--data " + data + " --check --standard 水工测量规范");
  ASSERT_EQ(water.status, 0) << water.err;
  EXPECT_NE(water.out.find("（SL52─93）五等导线<BR>"), std::string::npos);
  const CliRun plain = Cli("--data " + data + " --check");
  EXPECT_NE(plain.out.find("（CJJ 8－99）一级导线<BR>"), std::string::npos);
}

TEST(RigorousCli, RefusalsAndQuestions) {
  std::string text = kTraverse;
  text.replace(text.find("270.0005"), 8, "271.3");
  const std::string gross = WriteData("gross.dat", text);
  CliRun r = Cli("--data " + gross);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "警告: 角度闭合差已超过1度，要继续计算吗？\n");
  EXPECT_EQ(r.out, "");
  r = Cli("--data " + gross + " --continue");
  EXPECT_EQ(r.status, 0);

  text = kTraverse;
  text.replace(text.find("P1,270.0005,150.002,"), 20, "P1,270.0005,");
  r = Cli("--data " + WriteData("short.dat", text));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "请检查第7行: 文本中第7行格式不对！\n");

  text = kTraverse;
  text.replace(0, 2, " 9");
  r = Cli("--data " + WriteData("sides.dat", text));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "告示：您错输导线边数  9，程序已修正为 3！\n");

  text = kTraverse;
  text.replace(text.find("0.1500\r\n"), 6, "0.15x0");
  r = Cli("--data " + WriteData("bad.dat", text));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "请检查: 第5行第9列数据输入有误！\n");

  EXPECT_EQ(Cli("--data /nonexistent/x.dat").status, 1);
  EXPECT_EQ(Cli("").status, 1);
  EXPECT_EQ(Cli("--data " + gross + " --grade 五级").status, 1);
}

TEST(RigorousCli, WritesTheReportAndItsPictureBesideIt) {
  const std::string dir = Dir();
  const std::string data = kTraverseFile;
  std::filesystem::remove(dir + "/result.html");
  const CliRun r = Cli("--data " + data + " --check --html " + dir + "/Result.TXT");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string path = dir + "/Result.TXT.html";
  ASSERT_TRUE(std::filesystem::exists(path));
  const std::string bytes = Slurp(path);
  const std::string text = korvane::io::DecodeText(bytes);
  EXPECT_EQ(text.substr(0, 8), "<html>\r\n");
  EXPECT_NE(text.find("<meta charset=\"gbk\">\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n<IMG SRC=Result.TXT.bmp   border=0 align=center  HEIGHT=709 WIDTH=502>\r\n"),
            std::string::npos);
  const std::string bmp = Slurp(dir + "/Result.TXT.bmp");
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");

  // A read-only report is refused and kept.
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  const CliRun ro = Cli("--data " + data + " --html " + path);
  EXPECT_EQ(ro.status, 1);
  EXPECT_EQ(ro.err, "提示: 文件只读,请先改变文件属性\n");
  EXPECT_EQ(Slurp(path), bytes);
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

}  // namespace
