// The file splitter: names from tests/data/splitter, splitting and merging
// real files, the checks in their order, questions, cancelling and failures.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <map>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "io/text_file.h"
#include "support/test_folder.h"
#include "utilities/file_splitter.h"
#include "utilities/piece_names.h"
#include "support/case_table.h"

using namespace korvane;
using namespace korvane::io;
using namespace korvane::utilities;
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
  EXPECT_NE(sh.find("\ncat -- 'it'\\''s$x.001' 'it'\\''s$x.002' > 'it'\\''s.x'\n"), std::string::npos) << sh;
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
  EXPECT_EQ(Split("k.bin", "k2", "0.999").message.text, "分割块不能小于1KB！");
  // A sparse file of 100,000 KB and one byte: one piece too many at 1 KB.
  fs::resize_file(folder.file("k.bin"), 100000 * 1024 + 1);
  const SplitterOutcome many = Split("k.bin", "k2", "1");
  EXPECT_EQ(many.message.text, "分割块数超过100000块，请加大分割块尺寸！");
  EXPECT_EQ(many.message.title, "文件分割程序！");
  EXPECT_FALSE(Exists("k2.001"));
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
  // All pieces replaced; s.004 continued the new run and went with it, s.1000 is not of the run.
  EXPECT_EQ(Names(), (std::vector<std::string>{"Link.bat", "link.sh", "s.001", "s.002", "s.003", "s.1000", "s.bin"}));
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

TEST_F(Splitter, CollectsTheUnbrokenRunOfPieces) {
  for (const char* name : {"a$b.1000", "a$b.999", "a$b.001", "a$b.003", "a$b.004", "a$b.002", "a$b.txt",
                           "a$b.0x1", "a$bc.005", "a$b.", "a$b.01", "a$b.006"})
    folder.write(name, name);
  fs::create_directory(folder.file("a$b.005"));
  std::vector<std::string> expected;
  for (const char* name : {"a$b.001", "a$b.002", "a$b.003", "a$b.004"}) expected.push_back(folder.file(name));
  EXPECT_EQ(CollectPieces(folder.file("a$b.001")), expected);
  EXPECT_EQ(PiecesToAdd(folder.file("a$b.001")), expected);
  EXPECT_EQ(PiecesToAdd(folder.file("a$b.002")), std::vector<std::string>{folder.file("a$b.002")});
  EXPECT_EQ(PiecesToAdd(folder.file("a$b.txt")), std::vector<std::string>{folder.file("a$b.txt")});
  EXPECT_TRUE(CollectPieces(folder.file("a$b.01")).empty());
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

namespace {

// The file names Link.bat copies, the last one being the file it makes, as
// the command processor reads the line.
std::vector<std::string> BatchNames(const std::string& bytes) {
  std::vector<std::string> names;
  const std::string prefix = "copy/B ";
  if (bytes.rfind(prefix, 0) != 0 || bytes.size() < prefix.size() + 2 || bytes.substr(bytes.size() - 2) != "\r\n")
    return names;
  const std::string line = bytes.substr(prefix.size(), bytes.size() - prefix.size() - 2);
  for (std::size_t i = 0; i < line.size();) {
    if (line[i] != '"') return {};
    const std::size_t close = line.find('"', i + 1);
    if (close == std::string::npos) return {};
    std::string name = line.substr(i + 1, close - i - 1);
    for (std::size_t at = name.find("%%"); at != std::string::npos; at = name.find("%%", at + 1)) name.erase(at, 1);
    names.push_back(DecodeGbk(name));
    i = close + 1;
    if (i < line.size() && line[i] != '+' && line[i] != ' ') return {};
    if (i < line.size()) ++i;
  }
  return names;
}

// Every file of a folder with its size and a hash of its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder)) {
    std::ifstream in(e.path(), std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    files[e.path().filename().string()] = std::to_string(bytes.size()) + ":" + std::to_string(std::hash<std::string>{}(bytes));
  }
  return files;
}

// A split run in a child process: as a user without rights over the test's
// folder when asked (a root test drops to nobody), within a file size limit
// when one is given. The outcome comes back as "status|message".
std::string SplitInChild(const SplitRequest& request, bool otherUser, long sizeLimit) {
  int channel[2];
  if (::pipe(channel) != 0) return "pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    if (sizeLimit > 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{static_cast<rlim_t>(sizeLimit), static_cast<rlim_t>(sizeLimit)};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (otherUser && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(1);
    SplitPlan plan;
    SplitterOutcome o = CheckSplit(request, [](const Message&, QuestionKind) { return true; }, plan);
    if (o.status == SplitterStatus::Ready) o = RunSplit(plan, nullptr);
    const std::string text = std::to_string(static_cast<int>(o.status)) + "|" + o.message.text;
    (void)!::write(channel[1], text.data(), text.size());
    ::_exit(0);
  }
  ::close(channel[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return text;
}

}  // namespace

// A split that fails leaves the old set as it was; a set left unfinished is
// refused to the merge and cleared by the next split; a split removes and a
// merge takes only the unbroken run of its own pieces; every name either
// goes safely into both join scripts or is refused.
TEST_F(Splitter, FailuresUnfinishedSetsNamesakesAndScriptNames) {
  // The old set: three pieces of 20 KB; the new one would be two of 30 KB.
  const std::string oldData = RandomBytes(50 * 1024, 1), newData = RandomBytes(50 * 1024, 2);
  folder.write("old.bin", oldData);
  folder.write("new.bin", newData);
  ASSERT_EQ(Split("old.bin", "s", "20").status, SplitterStatus::Done);
  const auto before = Snapshot(folder.file(""));
  const bool root = ::geteuid() == 0;
  const std::string denied = "磁盘被写保护 或 文件被保护!";
  struct Failure {
    const char* what;
    std::function<void(bool undo)> change;
    bool otherUser;
    long sizeLimit;
    std::string text;
  };
  const auto mode = [&](const char* name, fs::perms on, fs::perms off) {
    return [=, this](bool undo) { fs::permissions(folder.file(name), undo ? on : off); };
  };
  const fs::perms rw = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
  const fs::perms ro = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  const std::vector<Failure> failures = {
      {"read-only old piece", mode("s.001", rw, ro), false, 0, denied},
      {"read-only old piece beyond the new ones", mode("s.003", rw, ro), false, 0, denied},
      {"read-only old join script", mode("Link.bat", rw, ro), false, 0, denied},
      {"folder not writable",
       [&](bool undo) {
         if (!root) fs::permissions(folder.path(), undo ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_exec);
       },
       true, 0, denied},
      {"no room for a piece", [](bool) {}, false, 20000, DiskErrorMessage(EFBIG).text},
  };
  for (const Failure& f : failures) {
    f.change(false);
    const std::string outcome =
        SplitInChild(SplitRequest{folder.file("new.bin"), folder.file("s"), true, "30"}, f.otherUser, f.sizeLimit);
    f.change(true);
    EXPECT_EQ(outcome, std::to_string(static_cast<int>(SplitterStatus::Failed)) + "|" + f.text) << f.what;
    EXPECT_EQ(Snapshot(folder.file("")), before) << f.what;
  }

  // Cut off in the swap: the marker stands, a new first piece beside old
  // ones, staged files and a writer's temporary, no Link.bat.
  folder.write("s.unfinished", "");
  folder.write("s.001", newData.substr(0, 30 * 1024));
  folder.write(".s.002.new", newData.substr(30 * 1024));
  folder.write("..s.link.sh.new.part123", "#!/bin/sh\n");
  fs::remove(folder.file("Link.bat"));
  MergePlan mergePlan;
  const SplitterOutcome unfinished =
      CheckMerge(MergeRequest{folder.file("joined"), CollectPieces(folder.file("s.001"))}, asker.ask(), mergePlan);
  EXPECT_EQ(unfinished.message.text, "分割未完成，请重新分割！");
  EXPECT_EQ(unfinished.status, SplitterStatus::Refused);
  ASSERT_EQ(Split("new.bin", "s", "30").status, SplitterStatus::Done);
  EXPECT_TRUE(plan_.unfinished);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Link.bat", "link.sh", "new.bin", "old.bin", "s.001", "s.002"}));
  EXPECT_EQ(folder.read("s.001") + folder.read("s.002"), newData);

  // Namesakes: a year beside the pieces, a gap in the run, a number written otherwise.
  for (const char* name : {"s.005", "s.2024", "s.03"}) folder.write(name, name);
  ASSERT_EQ(Split("old.bin", "s", "20").status, SplitterStatus::Done);
  EXPECT_EQ(CollectPieces(folder.file("s.001")),
            (std::vector<std::string>{folder.file("s.001"), folder.file("s.002"), folder.file("s.003")}));
  EXPECT_EQ(folder.read("s.005") + folder.read("s.2024") + folder.read("s.03"), "s.005s.2024s.03");
  ASSERT_EQ(Split("new.bin", "s", "30").status, SplitterStatus::Done);
  EXPECT_FALSE(Exists("s.003"));  // the run beyond the two new pieces
  EXPECT_EQ(folder.read("s.005") + folder.read("s.2024") + folder.read("s.03"), "s.005s.2024s.03");
  EXPECT_EQ(CollectPieces(folder.file("s.001")).size(), 2u);

  // Every name either joins again through both scripts or is refused.
  int row = 0;
  for (const auto& r : LoadTable("script_names.txt")) {
    ASSERT_EQ(r.size(), 2u);
    const std::string name = korvane::testing::UnescapeCell(r[0]), where = "row" + std::to_string(++row);
    SCOPED_TRACE(r[0]);
    fs::create_directory(folder.file(where));
    const std::string data = RandomBytes(2500, static_cast<unsigned>(row));
    folder.write(where + "/" + name, data);
    const std::string base = ProposeBaseName(name);
    const SplitterOutcome o = Split(where + "/" + name, where + "/" + base, "1");
    std::vector<std::string> pieces;
    for (int k = 1; k <= 3; ++k) pieces.push_back(FileNameOf(PieceName(base, k)));
    if (r[1] == "joins") {
      ASSERT_EQ(o.status, SplitterStatus::Done) << o.message.text;
      std::vector<std::string> expected = pieces;
      expected.push_back(name);
      EXPECT_EQ(BatchNames(folder.read(where + "/Link.bat")), expected);
      fs::rename(folder.file(where + "/" + name), folder.file(where + "/source"));
    } else {
      EXPECT_EQ(o.status, SplitterStatus::Refused);
      EXPECT_EQ(o.message.text, "文件名中含有字符“" + r[1] + "”，无法写入合并脚本，请改名后再分割！");
      EXPECT_EQ(Snapshot(folder.file(where)).size(), 1u);
      // link.sh takes even these names whole.
      for (int k = 0; k < 3; ++k) folder.write(where + "/" + pieces[k], data.substr(k * 1024, 1024));
      folder.write(where + "/link.sh", LinkShText(pieces, name));
      fs::remove(folder.file(where + "/" + name));
    }
    EXPECT_EQ(std::system(("sh '" + folder.file(where + "/link.sh") + "' 2>/dev/null").c_str()), 0);
    EXPECT_EQ(folder.read(where + "/" + name), data);
    // Nothing from the name ran: no file of the hidden command, here or where the test runs.
    for (const std::string& place : {folder.file(where), std::string(".")})
      for (const auto& e : fs::directory_iterator(place))
        EXPECT_NE(e.path().filename().string().rfind("hidden_command", 0), 0u) << e.path();
  }
}
