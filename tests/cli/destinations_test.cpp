// Every writer against every kind of destination, as listed in
// tests/data/destinations.txt: what is refused stays exactly as it was, what
// is written keeps its mode, its link and its name as typed.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "io/atomic_output.h"
#include "io/text_file.h"
#include "support/test_folder.h"

using namespace korvane::io;

namespace {

namespace fs = std::filesystem;

struct Writer {
  std::string name, args, input;
  bool pair = false;
};

// Names the writer in the test's output.
void PrintTo(const Writer& w, std::ostream* os) { *os << w.name; }

struct Destination {
  std::string kind, dest, input, status, err;
  bool pairOnly = false;
};

std::string Trimmed(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// "\xNN" stands for the byte NN.
std::string Bytes(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\\x") == 0 && i + 3 < text.size()) {
      out.push_back(static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16)));
      i += 3;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
  for (auto pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
    text.replace(pos, from.size(), to);
}

std::string Expanded(std::string text) {
  Replace(text, "@DATA@", KORVANE_TEST_DATA);
  Replace(text, "@EXAMPLES@", KORVANE_EXAMPLES);
  return text;
}

void ReadTable(std::vector<Writer>& writers, std::vector<Destination>& destinations) {
  std::ifstream in(std::string(KORVANE_TEST_DATA) + "/destinations.txt");
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> p;
    std::stringstream ss(line);
    for (std::string part; std::getline(ss, part, '|');) p.push_back(Trimmed(part));
    while (p.size() < 8) p.emplace_back();
    if (p[0] == "writer") writers.push_back({p[1], p[2], Expanded(p[3]), p[4] == "yes"});
    if (p[0] == "destination") destinations.push_back({p[1], Bytes(p[2]), Bytes(p[3]), p[4], p[5], p[6] == "pair"});
  }
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Everything in a folder: each entry's kind, mode and content (a regular
// file's bytes, a link's target).
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder)) {
    struct stat info {};
    ::lstat(e.path().c_str(), &info);
    std::string what = std::to_string(info.st_mode) + ":";
    if (S_ISREG(info.st_mode)) what += Slurp(e.path());
    if (S_ISLNK(info.st_mode)) what += fs::read_symlink(e.path()).string();
    entries[fs::relative(e.path(), folder).string()] = what;
  }
  return entries;
}

mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

struct Outcome {
  int status = -1;
  std::string err;
};

// korvane-cli with each blank-separated word as one argument, byte for byte.
Outcome RunCli(const std::vector<std::string>& args, const fs::path& errFile) {
  std::vector<char*> argv{const_cast<char*>(KORVANE_CLI)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int out = ::open("/dev/null", O_WRONLY);
    ::dup2(err, 2);
    ::dup2(out, 1);
    ::execv(KORVANE_CLI, argv.data());
    ::_exit(127);
  }
  int raw = 0;
  ::waitpid(child, &raw, 0);
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(errFile)};
}

// The picture beside a report: the report's name with ".bmp" for its ending.
fs::path PictureOf(const fs::path& report) { return fs::path(report).replace_extension(".bmp"); }

class Destinations : public ::testing::TestWithParam<Writer> {
 protected:
  // Lays out the destination of the row in `dir`; false when the kind cannot
  // be made here (a device node without the right to make one).
  bool Lay(const Destination& d, const fs::path& dir, const Writer& w) {
    std::error_code ec;
    fs::copy_file(w.input, dir / d.input, ec);
    EXPECT_FALSE(ec) << w.input;
    const fs::path dest = dir / d.dest;
    if (d.kind == "device") return ::mknod(dest.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    if (d.kind == "fifo") {
      EXPECT_EQ(::mkfifo(dest.c_str(), 0644), 0);
    }
    if (d.kind == "folder") fs::create_directory(dest);
    if (d.kind == "link") {
      fs::create_directory(dir / "real");
      std::ofstream(dir / "real" / "target.html") << "old";
      fs::create_symlink("real/target.html", dest);
    }
    if (d.kind == "dangling link") fs::create_symlink("missing/target.html", dest);
    if (d.kind == "read-only" || d.kind == "mode 0600") {
      std::ofstream(dest) << "old";
      ::chmod(dest.c_str(), d.kind == "read-only" ? 0444 : 0600);
    }
    if (d.kind == "the input by another name") fs::create_hard_link(dir / d.input, dest);
    if (d.kind == "capitals") {
      std::ofstream(dir / "report.html") << "old";
      std::ofstream(dir / "report.bmp") << "old";
    }
    if (d.kind == "GBK name") std::ofstream(dir / "\xb2\xe2\xc1\xbf.html") << "old";
    return true;
  }

  Outcome Write(const Writer& w, const fs::path& dest, const fs::path& input) {
    if (w.args == "core") {
      // The core writer is told the input as the batch commands tell it.
      if (const auto refusal = korvane::io::DestinationRefusal(dest.string(), {input.string()}))
        return {1, refusal->title + ": " + refusal->text};
      const std::string error = korvane::io::WriteFileAtomically(dest.string(), "new");
      return {error.empty() ? 0 : 1, error};
    }
    std::vector<std::string> args;
    std::istringstream words(w.args);
    for (std::string word; words >> word;) {
      Replace(word, "@DEST@", dest.string());
      Replace(word, "@IN@", input.string());
      args.push_back(Expanded(word));
    }
    return RunCli(args, logs_.path() / "err");
  }

  TestFolder logs_;
};

TEST_P(Destinations, AreRefusedOrWrittenAsTheRulesSay) {
  const Writer& w = GetParam();
  std::vector<Writer> writers;
  std::vector<Destination> destinations;
  ReadTable(writers, destinations);
  ASSERT_GE(destinations.size(), 10u);
  for (const Destination& d : destinations) {
    if (d.pairOnly && !w.pair) continue;
    SCOPED_TRACE(w.name + " onto " + d.kind);
    TestFolder folder;
    const fs::path dir = folder.path();
    if (!Lay(d, dir, w)) {
      ADD_FAILURE() << "cannot make a device node here";
      continue;
    }
    const fs::path dest = dir / d.dest;
    const auto before = Snapshot(dir);
    const Outcome run = Write(w, dest, dir / d.input);
    if (d.status == "!0") {
      EXPECT_NE(run.status, 0) << run.err;
    } else {
      EXPECT_EQ(run.status, std::stoi(d.status)) << run.err;
    }
    bool messageFound = d.err.empty();
    std::istringstream alternatives(d.err);
    for (std::string one; std::getline(alternatives, one, ';');)
      if (!Trimmed(one).empty() && run.err.find(Trimmed(one)) != std::string::npos) messageFound = true;
    EXPECT_TRUE(messageFound) << run.err;
    if (run.status != 0) {
      // Nothing at all was written: no picture, no temporary, no change.
      EXPECT_EQ(Snapshot(dir), before);
      continue;
    }
    // Written: the destination (through a link, its target) holds new
    // content; no temporary file is left anywhere in the folder.
    const fs::path written = d.kind == "link" ? dir / "real" / "target.html" : dest;
    EXPECT_TRUE(fs::is_regular_file(written));
    EXPECT_NE(Slurp(written), "old");
    EXPECT_GT(fs::file_size(written), 0u);
    for (const auto& [name, what] : Snapshot(dir)) {
      EXPECT_EQ(name.find(".korvane-tmp-"), std::string::npos) << name;
      EXPECT_EQ(name.find("\xef\xbf\xbd"), std::string::npos) << name;  // never a U+FFFD name
    }
    if (w.pair) {
      EXPECT_TRUE(fs::is_regular_file(PictureOf(dest))) << PictureOf(dest);
    }
    if (d.kind == "link") {
      EXPECT_TRUE(fs::is_symlink(dest));
    }
    if (d.kind == "mode 0600") {
      EXPECT_EQ(ModeOf(dest), 0600u);
    }
    if (d.kind == "capitals") {
      EXPECT_EQ(Slurp(dir / "report.html"), "old");
      EXPECT_EQ(Slurp(dir / "report.bmp"), "old");
    }
    if (d.kind == "GBK name") {
      EXPECT_EQ(Slurp(dir / "\xb2\xe2\xc1\xbf.html"), "old");
    }
  }
}

std::vector<Writer> Writers() {
  std::vector<Writer> writers;
  std::vector<Destination> destinations;
  ReadTable(writers, destinations);
  return writers;
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, Destinations, ::testing::ValuesIn(Writers()),
                         [](const ::testing::TestParamInfo<Writer>& param) {
                           std::string name;
                           for (char c : param.param.name)
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           return name;
                         });

// A message shows a name in GBK bytes as the Chinese it stands for.
TEST(DestinationMessages, ShowGbkNamesAsGbk) {
  TestFolder folder;
  const std::string name = folder.file("\xb3\xc9\xb9\xfb.html");
  fs::create_directory(name);
  const auto refusal = korvane::io::DestinationRefusal(name);
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->text, "不是普通文件，不予写入：" + folder.file("成果.html"));
}

}  // namespace
