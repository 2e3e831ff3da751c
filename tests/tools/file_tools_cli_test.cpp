// korvane-cli convert, split and merge as a user runs them: output, files
// written, questions answered by default and exit statuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "io/text_file.h"
#include "support/test_folder.h"

namespace {

struct CliRun {
  int status = -1;
  std::string out, err;
};

class ToolsCli : public ::testing::Test {
 protected:
  CliRun Cli(const std::string& args) {
    const std::string command = std::string("cd '") + folder.file("") + "' && '" KORVANE_CLI "' " + args +
                                " 2>'" + folder.file("stderr.txt") + "'";
    CliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = folder.read("stderr.txt");
    std::filesystem::remove(folder.file("stderr.txt"));
    return run;
  }
  TestFolder folder;
};

const std::string kPoints = "2\r\n\xB5\xE3" "1,10.0,20.0,1.5\r\n\xB5\xE3" "2,11.0,,1.6,x,y,z\r\n";

}  // namespace

TEST_F(ToolsCli, ConvertPrintsUtf8AndNotesWideRecords) {
  folder.write("pts.dat", kPoints);
  const CliRun run = Cli("convert pts.dat --columns 3,2,1");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "2\n20.0,10.0,点1\n11.0,11.0,点2\n");
  EXPECT_NE(run.err.find("第3行等1行字段多于6个，多余字段已忽略"), std::string::npos) << run.err;
  EXPECT_EQ(Cli("convert pts.dat").out, "2\n点1,10.0,20.0,1.5,\n点2,11.0,11.0,1.6,x\n");
}

TEST_F(ToolsCli, ConvertAppendsOrReplacesInGbk) {
  folder.write("pts.dat", kPoints);
  const std::string once = "2\r\n\xB5\xE3" "1,10.0\r\n\xB5\xE3" "2,11.0\r\n\r\n";
  ASSERT_EQ(Cli("convert pts.dat --columns 1,2 --out res.dat").status, 0);
  EXPECT_EQ(folder.read("res.dat"), once);
  ASSERT_EQ(Cli("convert pts.dat --columns 1,2 --out res.dat").status, 0);
  EXPECT_EQ(folder.read("res.dat"), once + once);
  ASSERT_EQ(Cli("convert pts.dat --columns 1,2 --out res.dat --replace").status, 0);
  EXPECT_EQ(folder.read("res.dat"), once);
}

TEST_F(ToolsCli, ConvertUsageAndRefusals) {
  folder.write("pts.dat", kPoints);
  folder.write("empty.dat", "\r\nP1,1,2\r\n");
  EXPECT_EQ(Cli("convert --help").status, 0);
  EXPECT_EQ(Cli("convert").status, 1);
  EXPECT_EQ(Cli("convert pts.dat --columns 1,7").status, 1);
  EXPECT_EQ(Cli("convert pts.dat --replace").status, 1);
  EXPECT_EQ(Cli("convert missing.dat").status, 1);
  EXPECT_EQ(Cli("convert .").status, 1);
  const CliRun empty = Cli("convert empty.dat --out res.dat");
  EXPECT_EQ(empty.status, 2);
  EXPECT_EQ(empty.err, "抱歉: 你未读入数据！\n");
  EXPECT_FALSE(std::filesystem::exists(folder.file("res.dat")));
}

TEST_F(ToolsCli, SplitAndMergeWithQuestions) {
  std::string data(5000, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 13);
  folder.write("a.jpeg", data);
  ASSERT_EQ(Cli("split a.jpeg --kb 2").status, 0);
  EXPECT_EQ(folder.read("a$jpeg.003").size(), 5000u - 4096u);
  const CliRun again = Cli("split a.jpeg --kb 2");
  EXPECT_EQ(again.status, 2);
  EXPECT_EQ(again.err, "文件分割程序！: 分块文件  a$jpeg.001  已存在，是否覆盖全部分块？\n");
  EXPECT_EQ(Cli("split a.jpeg --kb 2 --yes").status, 0);
  EXPECT_EQ(Cli("split a.jpeg --kb 100").status, 2);
  EXPECT_EQ(Cli("split").status, 1);
  EXPECT_EQ(Cli("split --help").status, 0);

  const CliRun exists = Cli("merge --from 'a$jpeg.001'");
  EXPECT_EQ(exists.status, 2);
  EXPECT_EQ(exists.err, "文件分割程序！: 文件  a.jpeg  已存在，是否要覆盖？\n");
  ASSERT_EQ(Cli("merge --from 'a$jpeg.001' joined.jpeg").status, 0);
  EXPECT_EQ(folder.read("joined.jpeg"), data);
  ASSERT_EQ(Cli("merge two 'a$jpeg.003' 'a$jpeg.001'").status, 0);
  EXPECT_EQ(folder.read("two"), data.substr(4096) + data.substr(0, 2048));
  EXPECT_EQ(Cli("merge two 'a$jpeg.001' --yes").status, 0);
  EXPECT_EQ(folder.read("two"), data.substr(0, 2048));
  EXPECT_EQ(Cli("merge out missing.001").status, 1);  // a missing file is unusable
  EXPECT_EQ(Cli("merge out").status, 1);

  // A set whose split was cut off: merge refuses it, the next split says so and clears it.
  folder.write("a$jpeg.unfinished", "");
  const CliRun cut = Cli("merge --from 'a$jpeg.001' again.jpeg");
  EXPECT_EQ(cut.status, 2);
  EXPECT_EQ(cut.err, "文件分割程序！: 分割未完成，请重新分割！\n");
  const CliRun resplit = Cli("split a.jpeg --kb 2 --yes");
  EXPECT_EQ(resplit.status, 0);
  EXPECT_EQ(resplit.err, "文件分割程序！: 分割未完成，请重新分割！\n");
  EXPECT_FALSE(std::filesystem::exists(folder.file("a$jpeg.unfinished")));
  ASSERT_EQ(Cli("merge --from 'a$jpeg.001' again.jpeg").status, 0);
  EXPECT_EQ(folder.read("again.jpeg"), data);
}
