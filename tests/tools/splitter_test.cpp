// The file splitter: names from tests/data/splitter, splitting and merging
// real files, the checks in their order, questions, cancelling and failures.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "test_folder.h"
#include "tools/file_splitter.h"
#include "tools/piece_names.h"

using namespace korvane;
namespace fs = std::filesystem;

namespace {

std::vector<std::vector<std::string>> LoadTable(const std::string& name) {
  std::ifstream in(std::string(KORVANE_TEST_DATA "/splitter/") + name);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::size_t start = 0, bar;
    while ((bar = line.find('|', start)) != std::string::npos) {
      fields.push_back(line.substr(start, bar - start));
      start = bar + 1;
    }
    fields.push_back(line.substr(start));
    rows.push_back(fields);
  }
  EXPECT_FALSE(rows.empty()) << name;
  return rows;
}

std::string RandomBytes(std::size_t n, unsigned seed = 7) {
  std::mt19937 random(seed);
  std::string bytes(n, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// Answers every question with `answer` and records them.
struct Asker {
  bool confirm = true, replace = true;
  std::vector<Message> asked;
  AskYesNo ask() {
    return [this](const Message& q, QuestionKind kind) {
      asked.push_back(q);
      return kind == QuestionKind::Confirm ? confirm : replace;
    };
  }
};

class Splitter : public ::testing::Test {
 protected:
  SplitterOutcome Split(const std::string& source, const std::string& target, const std::string& kb = "") {
    SplitRequest request{folder.file(source), target.empty() ? "" : folder.file(target), !kb.empty(), kb};
    SplitPlan plan;
    SplitterOutcome outcome = CheckSplit(request, asker.ask(), plan);
    if (outcome.status != SplitterStatus::Ready) return outcome;
    plan_ = plan;
    return RunSplit(plan, nullptr);
  }
  SplitterOutcome Merge(const std::string& target, const std::vector<std::string>& pieces,
                        const SplitProgress& progress = nullptr) {
    MergeRequest request{target.empty() ? "" : folder.file(target), {}};
    for (const std::string& p : pieces) request.pieces.push_back(folder.file(p));
    MergePlan plan;
    SplitterOutcome outcome = CheckMerge(request, asker.ask(), plan);
    if (outcome.status != SplitterStatus::Ready) return outcome;
    return RunMerge(plan, progress);
  }
  std::int64_t Size(const std::string& name) { return static_cast<std::int64_t>(fs::file_size(folder.file(name))); }
  bool Exists(const std::string& name) { return fs::exists(folder.file(name)); }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder.file(""))) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TestFolder folder;
  Asker asker;
  SplitPlan plan_;
};

}  // namespace

TEST(SplitterNames, Table) {
  for (const auto& row : LoadTable("names.txt")) {
    ASSERT_EQ(row.size(), 3u);
    const std::string& kind = row[0];
    if (kind == "piece") {
      const std::size_t blank = row[1].rfind(' ');
      EXPECT_EQ(PieceName(row[1].substr(0, blank), std::stoll(row[1].substr(blank + 1))), row[2]);
    } else if (kind == "propose") {
      EXPECT_EQ(ProposeBaseName(row[1]), row[2]) << row[1];
    } else {
      EXPECT_EQ(kind, "merged");
      EXPECT_EQ(MergedName(row[1]), row[2]) << row[1];
    }
  }
}

TEST(SplitterNames, DiskErrorMessages) {
  const std::map<std::string, int> numbers = {
      {"ENOSPC", ENOSPC}, {"EDQUOT", EDQUOT}, {"EACCES", EACCES}, {"EPERM", EPERM},
      {"EROFS", EROFS},   {"EIO", EIO},       {"ENOENT", ENOENT}, {"ENOTDIR", ENOTDIR},
      {"ENODEV", ENODEV}, {"ENXIO", ENXIO},   {"EFBIG", EFBIG},   {"EMFILE", EMFILE}};
  for (const auto& row : LoadTable("disk_errors.txt")) {
    const int error = numbers.at(row[0]);
    std::string expected = row[1] == "strerror" ? std::string("操作失败：") + std::strerror(error) : row[1];
    if (const auto at = expected.find("\\n"); at != std::string::npos) expected.replace(at, 2, "\n");
    const Message m = DiskErrorMessage(error);
    EXPECT_EQ(m.text, expected) << row[0];
    EXPECT_EQ(m.title, "文件分割程序！");
  }
}

TEST(SplitterNames, ScriptsQuoteNames) {
  EXPECT_EQ(LinkBatBytes({"a$b.001", "a$b.002"}, "a.b"), "copy/B \"a$b.001\"+\"a$b.002\" \"a.b\"\r\n");
  EXPECT_EQ(LinkBatBytes({"100%$txt.001"}, "100%.txt"), "copy/B \"100%%$txt.001\" \"100%%.txt\"\r\n");
  EXPECT_EQ(LinkBatBytes({"图$dat.001"}, "图.dat"), "copy/B \"\xCD\xBC$dat.001\" \"\xCD\xBC.dat\"\r\n");
  const std::string sh = LinkShText({"it's$x.001", "it's$x.002"}, "it's.x");
  EXPECT_NE(sh.find("\ncat 'it'\\''s$x.001' 'it'\\''s$x.002' > 'it'\\''s.x'\n"), std::string::npos) << sh;
  EXPECT_EQ(sh.rfind("#!/bin/sh\n", 0), 0u);
  EXPECT_NE(sh.find("set -e\n"), std::string::npos);
  EXPECT_EQ(sh.find('\r'), std::string::npos);
}

TEST_F(Splitter, FloppyPiecesOfThreeMillionBytes) {
  const std::string data = RandomBytes(3000000);
  folder.write("t.bin", data);
  const SplitterOutcome done = Split("t.bin", "t$bin");
  ASSERT_EQ(done.status, SplitterStatus::Done) << done.message.text;
  EXPECT_EQ(done.message.title, "文件分割机");
  EXPECT_EQ(done.message.text, folder.file("t.bin") + " 分割完成!\n你可以执行分割文件目录下的 Link 程序合并文件\n也可以用合并功能合并文件,详见<关于>!");
  EXPECT_EQ(Size("t$bin.001"), 1447035);
  EXPECT_EQ(Size("t$bin.002"), 1447035);
  EXPECT_EQ(Size("t$bin.003"), 105930);
  EXPECT_EQ(folder.read("Link.bat"), "copy/B \"t$bin.001\"+\"t$bin.002\"+\"t$bin.003\" \"t.bin\"\r\n");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Link.bat", "link.sh", "t$bin.001", "t$bin.002", "t$bin.003", "t.bin"}));
  ASSERT_EQ(asker.asked.size(), 1u);
  EXPECT_EQ(asker.asked[0].text, "确定要分割文件  " + folder.file("t.bin") + "  吗？");
  // Joined back by the merge and by link.sh, byte for byte.
  EXPECT_EQ(Merge("joined.bin", {"t$bin.001", "t$bin.002", "t$bin.003"}).status, SplitterStatus::Done);
  EXPECT_EQ(folder.read("joined.bin"), data);
  fs::rename(folder.file("t.bin"), folder.file("orig.bin"));
  ASSERT_EQ(std::system(("sh '" + folder.file("link.sh") + "'").c_str()), 0);
  EXPECT_EQ(folder.read("t.bin"), data);
}

TEST_F(Splitter, PieceCountsAndSizes) {
  folder.write("one.bin", RandomBytes(1447035));
  EXPECT_EQ(Split("one.bin", "one$bin").status, SplitterStatus::Done);
  EXPECT_EQ(Size("one$bin.001"), 1447035);
  EXPECT_FALSE(Exists("one$bin.002"));

  folder.write("short.bin", RandomBytes(1447034));
  const SplitterOutcome refused = Split("short.bin", "short$bin");
  EXPECT_EQ(refused.message.text, "块文件比要分割的文件还要大!没必要分割!");
  EXPECT_FALSE(Exists("short$bin.001"));

  folder.write("k.bin", RandomBytes(100 * 1024 + 1));
  ASSERT_EQ(Split("k.bin", "k$bin", "1").status, SplitterStatus::Done);
  EXPECT_EQ(Size("k$bin.100"), 1024);
  EXPECT_EQ(Size("k$bin.101"), 1);
  EXPECT_TRUE(Exists("k$bin.010"));
  EXPECT_EQ(CollectPieces(folder.file("k$bin.001")).size(), 101u);
  EXPECT_EQ(CollectPieces(folder.file("k$bin.001"))[100], folder.file("k$bin.101"));

  for (const char* bad : {" ", "0", "-3", "abc"}) {
    EXPECT_EQ(Split("k.bin", "k2", bad).message.text, "分割块大小没有指定!") << bad;
  }
  EXPECT_EQ(PieceSizeOf(SplitRequest{"", "", true, "0.5"}), 512);
}

TEST_F(Splitter, ChecksInTheirOrder) {
  folder.write("s.bin", RandomBytes(3000));
  folder.write("taken", "x");
  fs::create_directory(folder.file("dir"));
  struct Case { std::string source, target, text; SplitterField focus; };
  const std::string s = folder.file("s.bin");
  const std::vector<Case> cases = {
      {"", "x", "没有指定源文件!", SplitterField::Source},
      {folder.file("dir") + "/", "x", "没有指定源文件!", SplitterField::Source},
      {folder.file("nope"), "", "源文件  " + folder.file("nope") + "  不存在!", SplitterField::Source},
      {folder.file("dir"), "x", "源文件  " + folder.file("dir") + "  不是普通文件!", SplitterField::Source},
      {s, "", "没有指定分割后的文件!", SplitterField::Target},
      {s, folder.file("dir") + "/", "目标文件框中只指定了文件夹，请指定文件名", SplitterField::Target},
      {s, folder.file("taken"), "指定的目标文件已经存在，请重新取名!", SplitterField::Target},
      {s, folder.file("no/such/x"), "目标文件中的路径不存在!", SplitterField::Target},
  };
  for (const Case& c : cases) {
    SplitPlan plan;
    const SplitterOutcome o = CheckSplit(SplitRequest{c.source, c.target, true, "1"}, asker.ask(), plan);
    EXPECT_EQ(o.status, SplitterStatus::Refused);
    EXPECT_EQ(o.message.text, c.text);
    EXPECT_EQ(o.message.title, "文件分割程序！");
    EXPECT_EQ(o.focus, c.focus) << c.text;
  }
  EXPECT_TRUE(asker.asked.empty());
  // A piece that would overwrite the source itself.
  folder.write("x.001", RandomBytes(3000));
  EXPECT_EQ(Split("x.001", "x", "1").message.text, "分块文件  " + folder.file("x.001") + "  就是源文件，请重新取名!");
  EXPECT_EQ(folder.read("x.001").size(), 3000u);
  // Declining the confirmation writes nothing.
  asker.confirm = false;
  EXPECT_EQ(Split("s.bin", "s", "1").status, SplitterStatus::Declined);
  EXPECT_FALSE(Exists("s.001"));
}

TEST_F(Splitter, ExistingPiecesNeedTheQuestion) {
  folder.write("s.bin", RandomBytes(3000));
  for (const char* old : {"s.001", "s.004", "s.1000"}) folder.write(old, "old");
  asker.replace = false;
  const SplitterOutcome declined = Split("s.bin", "s", "1");
  EXPECT_EQ(declined.status, SplitterStatus::Declined);
  ASSERT_EQ(asker.asked.size(), 1u);
  EXPECT_EQ(asker.asked[0].text, "分块文件  " + folder.file("s.001") + "  已存在，是否覆盖全部分块？");
  EXPECT_EQ(folder.read("s.001"), "old");
  EXPECT_FALSE(Exists("s.002"));
  EXPECT_FALSE(Exists("Link.bat"));

  asker.replace = true;
  ASSERT_EQ(Split("s.bin", "s", "1").status, SplitterStatus::Done);
  // All pieces replaced, the older ones beyond the new three removed.
  EXPECT_EQ(Names(), (std::vector<std::string>{"Link.bat", "link.sh", "s.001", "s.002", "s.003", "s.bin"}));
  EXPECT_EQ(folder.read("s.001") + folder.read("s.002") + folder.read("s.003"), folder.read("s.bin"));
}

TEST_F(Splitter, CancelAndFailureRemoveThePieces) {
  folder.write("s.bin", RandomBytes(20 * 1024));
  SplitPlan plan;
  ASSERT_EQ(CheckSplit(SplitRequest{folder.file("s.bin"), folder.file("s"), true, "1"}, asker.ask(), plan).status,
            SplitterStatus::Ready);
  int calls = 0;
  const SplitterOutcome cancelled = RunSplit(plan, [&](std::int64_t done, std::int64_t total) {
    EXPECT_EQ(total, 20 * 1024);
    EXPECT_LE(done, total);
    return ++calls < 10;
  });
  EXPECT_EQ(cancelled.status, SplitterStatus::Cancelled);
  EXPECT_EQ(Names(), (std::vector<std::string>{"s.bin"}));
  // The source shrinks between the check and the split.
  fs::resize_file(folder.file("s.bin"), 5000);
  const SplitterOutcome failed = RunSplit(plan, nullptr);
  EXPECT_EQ(failed.status, SplitterStatus::Failed);
  EXPECT_EQ(failed.message.text, "磁盘I/0错误，操作被终止!");
  EXPECT_EQ(Names(), (std::vector<std::string>{"s.bin"}));
}

TEST_F(Splitter, CollectsNumberedPiecesInNumericOrder) {
  for (const char* name : {"a$b.1000", "a$b.999", "a$b.001", "a$b.010", "a$b.002", "a$b.txt",
                           "a$b.0x1", "a$bc.003", "a$b.", "a$b.01"})
    folder.write(name, name);
  fs::create_directory(folder.file("a$b.005"));
  std::vector<std::string> expected;
  for (const char* name : {"a$b.001", "a$b.01", "a$b.002", "a$b.010", "a$b.999", "a$b.1000"})
    expected.push_back(folder.file(name));
  EXPECT_EQ(CollectPieces(folder.file("a$b.001")), expected);
  EXPECT_EQ(PiecesToAdd(folder.file("a$b.001")), expected);
  EXPECT_EQ(PiecesToAdd(folder.file("a$b.002")), std::vector<std::string>{folder.file("a$b.002")});
  EXPECT_EQ(PiecesToAdd(folder.file("a$b.txt")), std::vector<std::string>{folder.file("a$b.txt")});
}

TEST_F(Splitter, MergeReplacesLongerTargetOnlyWhenAllowed) {
  folder.write("p.001", "first-");
  folder.write("p.002", "second");
  folder.write("out", std::string(5000, 'L'));
  asker.replace = false;
  EXPECT_EQ(Merge("out", {"p.001", "p.002"}).status, SplitterStatus::Declined);
  EXPECT_EQ(asker.asked.at(0).text, "文件  " + folder.file("out") + "  已存在，是否要覆盖？");
  EXPECT_EQ(folder.read("out"), std::string(5000, 'L'));
  asker.replace = true;
  const SplitterOutcome done = Merge("out", {"p.002", "p.001"});
  ASSERT_EQ(done.status, SplitterStatus::Done);
  EXPECT_EQ(done.message.text, folder.file("out") + "合并完成!");
  EXPECT_EQ(folder.read("out"), "secondfirst-");
  EXPECT_EQ(asker.asked.back().text, "确定要合并文件  " + folder.file("out") + "  吗？");
}

TEST_F(Splitter, MergeChecksAndCancelKeepTheOldTarget) {
  folder.write("p.001", "abc");
  fs::create_directory(folder.file("dir"));
  struct Case { std::string target; std::vector<std::string> pieces; std::string text; };
  const std::vector<Case> cases = {
      {"", {"p.001"}, "没有指定合并后的文件名!"},
      {"dir/", {"p.001"}, "目标文件框中只指定了文件夹，请指定文件名"},
      {"dir", {"p.001"}, "目标文件框中只指定了文件夹，请指定文件名"},
      {"no/such/out", {"p.001"}, "合并后的存储文件的路径不存在!"},
      {"out", {}, "没有项目供合并!"},
      {"out", {"p.001", "p.002"}, "分块文件  " + folder.file("p.002") + "  不存在!"},
  };
  for (const Case& c : cases) EXPECT_EQ(Merge(c.target, c.pieces).message.text, c.text);
  EXPECT_TRUE(asker.asked.empty());

  folder.write("out", "old target");
  const SplitterOutcome cancelled = Merge("out", {"p.001"}, [](std::int64_t, std::int64_t) { return false; });
  EXPECT_EQ(cancelled.status, SplitterStatus::Cancelled);
  EXPECT_EQ(folder.read("out"), "old target");
  EXPECT_EQ(Names(), (std::vector<std::string>{"dir", "out", "p.001"}));
}

TEST_F(Splitter, OddNamesRoundTripThroughTheScripts) {
  const std::string data = RandomBytes(5000, 3);
  folder.write("it's 100%.jpeg", data);
  ASSERT_EQ(Split("it's 100%.jpeg", "it's 100%$jpeg", "1").status, SplitterStatus::Done);
  EXPECT_EQ(plan_.merged, folder.file("it's 100%.jpeg"));
  EXPECT_NE(folder.read("Link.bat").find("\"it's 100%%$jpeg.005\" \"it's 100%%.jpeg\"\r\n"), std::string::npos);
  fs::remove(folder.file("it's 100%.jpeg"));
  ASSERT_EQ(std::system(("sh '" + folder.file("link.sh") + "'").c_str()), 0);
  EXPECT_EQ(folder.read("it's 100%.jpeg"), data);
}
