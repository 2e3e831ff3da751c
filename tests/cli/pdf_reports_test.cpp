// The reports as PDF files (korvane-cli … --pdf), read back with poppler's
// pdftotext, pdffonts and pdfinfo: the rows of tests/data/pdf_reports.txt.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_folder.h"

namespace {

struct Row {
  std::string name, args, values;
  std::vector<std::string> headings;
};

// A row is named by its first column in the test's output.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

std::string Trimmed(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream ss(text);
  for (std::string part; std::getline(ss, part, separator);) parts.push_back(Trimmed(part));
  return parts;
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
  for (auto pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
    text.replace(pos, from.size(), to);
}

std::vector<Row> ReadRows() {
  std::ifstream in(std::string(KORVANE_TEST_DATA) + "/pdf_reports.txt");
  std::vector<Row> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> parts = Split(line, '|');
    parts.resize(4);
    Replace(parts[1], "@DATA@", KORVANE_TEST_DATA);
    Replace(parts[1], "@EXAMPLES@", KORVANE_EXAMPLES);
    rows.push_back({parts[0], parts[1], parts[3], Split(parts[2], ';')});
  }
  return rows;
}

struct ShellRun {
  int status = -1;
  std::string out;
};

ShellRun Shell(const std::string& command) {
  ShellRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) run.out.append(buf, n);
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

std::string WithoutBlanks(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != ' ' && c != '\n' && c != '\r' && c != '\t' && c != '\f') out += c;
  }
  return out;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// The number stands in the text on its own: no digit or point right before
// or after it (a number cut by a line break, or one with another digit, is
// not it).
bool HoldsNumber(const std::string& text, const std::string& number) {
  auto isPart = [](char c) { return (c >= '0' && c <= '9') || c == '.'; };
  for (auto pos = text.find(number); pos != std::string::npos; pos = text.find(number, pos + 1)) {
    const bool before = pos > 0 && (isPart(text[pos - 1]) || (number[0] != '-' && text[pos - 1] == '-'));
    const std::size_t end = pos + number.size();
    if (!before && !(end < text.size() && isPart(text[end]))) return true;
  }
  return false;
}

class PdfReports : public ::testing::TestWithParam<Row> {
 protected:
  TestFolder dir_;
};

TEST_P(PdfReports, ReadBackFromThePdf) {
  const Row& row = GetParam();
  const std::string cli = std::string("'") + KORVANE_CLI + "' " + row.args;
  const std::string pdf = dir_.file("report.pdf");
  const std::string errors = dir_.file("stderr.txt");
  const ShellRun plain = Shell(cli + " 2>/dev/null");
  const ShellRun run = Shell(cli + " --pdf '" + pdf + "' 2>'" + errors + "'");
  ASSERT_EQ(run.status, 0) << dir_.read("stderr.txt");
  EXPECT_EQ(dir_.read("stderr.txt"), "");
  EXPECT_EQ(run.out, plain.out) << "the PDF adds nothing to standard output";

  const ShellRun info = Shell("pdfinfo '" + pdf + "'");
  ASSERT_EQ(info.status, 0);
  std::smatch pages;
  ASSERT_TRUE(std::regex_search(info.out, pages, std::regex("Pages:\\s+([0-9]+)")));
  const int count = std::stoi(pages[1]);
  EXPECT_NE(info.out.find("A4"), std::string::npos) << info.out;

  // Every font in the file embedded; WenQuanYi's for the text (another
  // family only for a sign it lacks), never one whose text reads back wrong.
  const ShellRun fonts = Shell("pdffonts '" + pdf + "'");
  ASSERT_EQ(fonts.status, 0);
  const std::vector<std::string> fontLines = Split(fonts.out, '\n');
  ASSERT_GT(fontLines.size(), 2u) << fonts.out;
  for (std::size_t i = 2; i < fontLines.size(); ++i) {
    const std::vector<std::string> columns = Words(fontLines[i]);
    if (columns.empty()) continue;
    EXPECT_NE(fontLines[i].find(" yes "), std::string::npos) << "not embedded: " << fontLines[i];
    EXPECT_EQ(fontLines[i].find("Noto"), std::string::npos) << fontLines[i];
  }
  EXPECT_NE(fonts.out.find("WenQuanYiMicroHei"), std::string::npos) << fonts.out;

  const ShellRun text = Shell("pdftotext -layout '" + pdf + "' -");
  ASSERT_EQ(text.status, 0);
  const std::string compact = WithoutBlanks(text.out);
  for (int page = 1; page <= count; ++page) {
    const std::string number = "第" + std::to_string(page) + "页/共" + std::to_string(count) + "页";
    EXPECT_NE(compact.find(number), std::string::npos) << number;
  }
  for (const std::string& heading : row.headings)
    EXPECT_NE(compact.find(WithoutBlanks(heading)), std::string::npos) << heading;

  if (row.values == "(table)") {
    // The table reads back word for word, in its order.
    const std::vector<std::string> printed = Words(plain.out), read = Words(text.out);
    std::size_t next = 0;
    for (const std::string& word : printed) {
      while (next < read.size() && read[next] != word) ++next;
      ASSERT_LT(next, read.size()) << "the PDF's text lacks \"" << word << "\" where the table has it";
      ++next;
    }
  } else {
    const std::regex value(row.values);
    int found = 0;
    for (auto it = std::sregex_iterator(plain.out.begin(), plain.out.end(), value); it != std::sregex_iterator();
         ++it, ++found) {
      const std::string number = it->size() > 1 ? it->str(1) : it->str();
      EXPECT_TRUE(HoldsNumber(text.out, number)) << number;
    }
    EXPECT_GE(found, 4) << "the pattern finds the adjusted values";
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, PdfReports, ::testing::ValuesIn(ReadRows()),
                         [](const ::testing::TestParamInfo<Row>& param) {
                           std::string name;
                           for (char c : param.param.name) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
