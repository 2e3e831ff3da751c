// Runs the korvane-cli cases listed in tests/data/cli_cases.txt: each gives
// the arguments, the exit status and what the two outputs must hold.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/case_table.h"
#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;

struct Case {
  std::string name, args, err, out;
  int status = 0;
};

std::string Trimmed(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::vector<Case> ReadCases() {
  std::ifstream in(std::string(KORVANE_TEST_DATA) + "/cli_cases.txt");
  std::vector<Case> cases;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> parts;
    std::stringstream ss(line);
    for (std::string part; std::getline(ss, part, '|');) parts.push_back(Trimmed(part));
    while (parts.size() < 5) parts.emplace_back();
    cases.push_back({parts[0], parts[1], parts[3], parts[4], std::atoi(parts[2].c_str())});
  }
  return cases;
}

// A help text reads as Chinese: once the option names ("--name") and value
// names ("<NAME>") are taken out, no word of three or more ASCII letters is
// left but the words of its first line (the command's usage), the names of
// file kinds and the words ALLOWED (blank-separated: the keys, records and
// file names a user types).
void ExpectChinese(const std::string& text, const std::string& allowed) {
  static const std::regex word("[A-Za-z]{3,}"), names("--[A-Za-z0-9-]+|<[^<> ]+>");
  std::set<std::string> words{"GBK", "UTF", "HTML", "PDF", "DXF", "BMP", "PNG", "JPEG"};
  std::istringstream listed(allowed);
  for (std::string w; listed >> w;) words.insert(w);
  std::istringstream lines(text);
  std::string usage;
  std::getline(lines, usage);
  EXPECT_EQ(usage.rfind("用法：", 0), 0u) << usage;
  for (std::sregex_iterator m(usage.begin(), usage.end(), word), end; m != end; ++m) words.insert(m->str());
  for (std::string line; std::getline(lines, line);) {
    line = std::regex_replace(line, names, " ");
    for (std::sregex_iterator m(line.begin(), line.end(), word), end; m != end; ++m)
      EXPECT_TRUE(words.count(m->str())) << "English \"" << m->str() << "\" in: " << line;
  }
}

// The output column's rule: "(none)" empty, "=TEXT" exactly TEXT ("\n" a
// line break), "~WORDS" a Chinese text (ExpectChinese), otherwise a text it
// must contain; an empty column is not checked.
void ExpectOutput(const std::string& actual, const std::string& rule) {
  if (rule.empty()) return;
  if (rule[0] == '~') {
    EXPECT_NE(actual, "");
    ExpectChinese(actual, rule.substr(1));
  } else if (rule == "(none)") {
    EXPECT_EQ(actual, "");
  } else if (rule[0] == '=') {
    std::string expected = rule.substr(1);
    for (auto pos = expected.find("\\n"); pos != std::string::npos; pos = expected.find("\\n", pos + 1))
      expected.replace(pos, 2, "\n");
    EXPECT_EQ(actual, expected);
  } else {
    EXPECT_NE(actual.find(rule), std::string::npos) << actual.substr(0, 400);
  }
}

// Each blank-separated argument in single quotes, so that "*" reaches the program.
std::string Quoted(const std::string& args) {
  std::istringstream in(args);
  std::string line;
  for (std::string token; in >> token;) line += " '" + token + "'";
  return line;
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
  for (auto pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
    text.replace(pos, from.size(), to);
}

class CliCases : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
    // Sparse files: the size bound is checked before anything is read.
    fs::resize_file(Touch("oversize.dat"), 64ull * 1024 * 1024 + 1);
    fs::resize_file(Touch("limit.dat"), 64ull * 1024 * 1024);
    // One station more than a traverse data file may hold, in the shortest lines.
    std::ofstream many(dir_ / "many_stations.dat", std::ios::binary);
    many << "W,K9\r\n";
    const std::string station = "A,1,1,0,0,0,0,0,0\r\n";
    for (int i = 0; i < 1000001; ++i) many << station;
    // A read-only file that must come through every refused case unchanged.
    std::ofstream(dir_ / "readonly.txt", std::ios::binary) << "kept";
    fs::permissions(dir_ / "readonly.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }
  fs::path Touch(const char* name) {
    std::ofstream(dir_ / name).close();
    return dir_ / name;
  }
  std::string Expand(std::string args) const {
    Replace(args, "@DATA@", KORVANE_TEST_DATA);
    Replace(args, "@EXAMPLES@", KORVANE_EXAMPLES);
    Replace(args, "@FIFO@", (dir_ / "pipe").string());
    Replace(args, "@OVERSIZE@", (dir_ / "oversize.dat").string());
    Replace(args, "@LIMIT@", (dir_ / "limit.dat").string());
    Replace(args, "@MANY_STATIONS@", (dir_ / "many_stations.dat").string());
    Replace(args, "@READONLY@", (dir_ / "readonly.txt").string());
    Replace(args, "@OUT@", dir_.string());
    return args;
  }
  TestFolder folder_;
  const fs::path& dir_ = folder_.path();
};

TEST_F(CliCases, EveryListedCaseEndsAsExpected) {
  const std::vector<Case> cases = ReadCases();
  ASSERT_GT(cases.size(), 20u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A hang is a failure: the time limit ends it with status 124.
    const std::string command = "timeout 60 " + std::string(KORVANE_CLI) + Quoted(Expand(c.args)) + " >" +
                                (dir_ / "out").string() + " 2>" + (dir_ / "err").string();
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const std::string err = korvane::testing::FileBytes(dir_ / "err"), out = korvane::testing::FileBytes(dir_ / "out");
    EXPECT_EQ(status, c.status) << err;
    ExpectOutput(err, c.err);
    ExpectOutput(out, c.out);
    EXPECT_EQ(korvane::testing::FileBytes(dir_ / "readonly.txt"), "kept");
  }
}

}  // namespace
