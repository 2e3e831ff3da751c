#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "io/text_file.h"
#include "core/text_utils.h"
#include "formats/traverse_file.h"
#include "support/case_table.h"
#include "support/test_folder.h"

using namespace korvane;
using namespace korvane::formats;
using namespace korvane::io;

namespace {

const char* kStation = "K1,90.3,125.36,1.45,1.5,0.0215,1.48,1.52,-0.0212";

std::string RefusalText(const TraverseFileLoad& load) { return load.refusal ? load.refusal->text : ""; }

}  // namespace

TEST(TraverseFile, LoadsStationsAndEndNames) {
  const auto load = LoadTraverseText(std::string("F,K9\r\n") + kStation + "\r\n", TraverseKind::Connecting);
  ASSERT_FALSE(load.refusal) << RefusalText(load);
  ASSERT_EQ(load.table.stationCount(), 1);
  EXPECT_EQ(load.table.cell(1, 1), "K1");
  EXPECT_EQ(load.table.cell(1, 9), "-0.0212");
  EXPECT_EQ(load.firstStation, "K1");
  EXPECT_EQ(load.secondName, "K9");
}

TEST(TraverseFile, SkipsEmptyFieldsAndLeadingBlanks) {
  const auto load = LoadTraverseText(
      "b,x\nA, 90.3,,100,1,1,0,0,0,0,\nB,180,0,0,0,0,0,0,0\n\nignored after the empty line", TraverseKind::Closed);
  ASSERT_FALSE(load.refusal) << RefusalText(load);
  ASSERT_EQ(load.table.stationCount(), 2);
  EXPECT_EQ(load.table.cell(1, 2), "90.3");
  EXPECT_EQ(load.table.cell(1, 3), "100");
  EXPECT_EQ(load.table.cell(2, 1), "B");
  EXPECT_EQ(load.firstStation, "A");
  EXPECT_EQ(load.secondName, "x");
}

TEST(TraverseFile, FillsEveryRowWhateverTheLastColumnHolds) {
  const auto load = LoadTraverseText(
      "Z,P\nA,1,2,3,4,5,6,7,8.5\nB,1,2,3,4,5,6,7,9\nC,1,2,3,4,5,6,7,0\n", TraverseKind::Open);
  ASSERT_FALSE(load.refusal);
  ASSERT_EQ(load.table.stationCount(), 3);
  EXPECT_EQ(load.table.cell(3, 1), "C");
  EXPECT_EQ(load.table.cell(2, 9), "9");
  EXPECT_EQ(load.secondName, "P");
}

TEST(TraverseFile, RefusesMalformedFiles) {
  struct Case {
    std::string text;
    std::string message;
    std::string title;
  };
  const std::vector<Case> cases = {
      {"F\r\nK1,1,2,3,4,5,6,7,8\r\n", "文本中第1行格式不对！", "请检查文本"},
      {"F,K9,x\r\n", "文本中第1行格式不对！", "请检查文本"},
      {"F,K9\r\nK1,1,2,3,4,5,6,7,8,9\r\n", "文本中第 2行，列数不对", "请检查文本"},
      {"F,K9\r\n" + std::string(kStation) + "\r\nK2,1,2,3,4,5,6,7\r\n", "文本中第 3行，列数不对", "请检查文本"},
      {"F,K9\r\n", "文本格式不对！", "请检查文本"},
      {"", "此为空文本，不予接受！", "抱歉"},
      {"\r\nF,K9\r\n", "此为空文本，不予接受！", "抱歉"},
      {"b,K9\r\n" + std::string(kStation) + "\r\n", "文本中导线类型输入有误或与窗体上导线类型的选择不一致！", "提醒"},
      {"Q,K9\r\n" + std::string(kStation) + "\r\n", "文本中导线类型输入有误或与窗体上导线类型的选择不一致！", "提醒"},
  };
  for (const auto& c : cases) {
    const auto load = LoadTraverseText(c.text, TraverseKind::Connecting);
    ASSERT_TRUE(load.refusal) << c.text;
    EXPECT_EQ(load.refusal->text, c.message) << c.text;
    EXPECT_EQ(load.refusal->title, c.title) << c.text;
    EXPECT_TRUE(load.table.rows.empty());
  }
}

TEST(TraverseFile, AcceptsEveryKindLetterInEitherCase) {
  const std::pair<const char*, TraverseKind> letters[] = {
      {"F", TraverseKind::Connecting}, {"f", TraverseKind::Connecting}, {"B", TraverseKind::Closed},
      {"b", TraverseKind::Closed},     {"Z", TraverseKind::Open},       {"z", TraverseKind::Open},
      {"W", TraverseKind::NoOrientation}, {"w", TraverseKind::NoOrientation}};
  for (const auto& [letter, kind] : letters) {
    const auto load = LoadTraverseText(std::string(letter) + ",E\n" + kStation + "\n", kind);
    EXPECT_FALSE(load.refusal) << letter;
    const auto other = LoadTraverseText(std::string(letter) + ",E\n" + kStation + "\n",
                                        kind == TraverseKind::Open ? TraverseKind::Closed : TraverseKind::Open);
    EXPECT_TRUE(other.refusal) << letter;
  }
}

TEST(TraverseFile, ReadsChineseNamesInGbkAndUtf8) {
  TestFolder folder;
  const std::string utf8 = "w,终点站\r\n起点A,0,100,1,1,0,0,0,0\r\n";
  folder.write("gbk.dat", EncodeGbk(utf8));
  folder.write("utf8.dat", utf8);
  for (const char* name : {"gbk.dat", "utf8.dat"}) {
    const auto load = LoadTraverseFile(folder.file(name), TraverseKind::NoOrientation);
    ASSERT_FALSE(load.refusal) << name << RefusalText(load);
    EXPECT_EQ(load.table.cell(1, 1), "起点A");
    EXPECT_EQ(load.secondName, "终点站");
    EXPECT_EQ(load.firstStation, "起点A");
  }
  EXPECT_TRUE(LoadTraverseFile(folder.file("missing.dat"), TraverseKind::Open).refusal);
}

TEST(ResultsFile, ReplacesTheFileWithTheTextAndALineBreak) {
  TestFolder folder;
  folder.write("r.txt", "old content that must go\r\n");
  ASSERT_EQ(SaveResultsText(folder.file("r.txt"), "  平差最终结果：\n"), "");
  EXPECT_EQ(folder.read("r.txt"), EncodeGbk("  平差最终结果：") + "\r\n\r\n");
  EXPECT_EQ(NothingToSaveMessage().text, "未计算，没有结果！");
  EXPECT_EQ(NothingToSaveMessage().title, "提示");
}

namespace {

std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
    parts.push_back(text.substr(start, at - start));
  parts.push_back(text.substr(start));
  return parts;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A case of tests/data/traverse_save.txt: the table saved through the atomic
// writer and read back.
void CheckSaveCase(const std::string& line) {
  SCOPED_TRACE(line);
  const std::vector<std::string> f = SplitOn(line, '\t');
  TestFolder folder;
  const std::string saved = folder.file("saved.DAT");
  if (f[0] == "file") {
    ASSERT_EQ(f.size(), 3u);
    const std::string dir = f[1].rfind("examples/", 0) == 0 ? std::string(KORVANE_EXAMPLES) + "/" + f[1].substr(9)
                                                            : std::string(KORVANE_TEST_DATA) + "/" + f[1];
    const TraverseKind kind = *KindFromLetter(f[2]);
    const TraverseFileLoad load = LoadTraverseFile(dir, kind);
    ASSERT_FALSE(load.refusal) << RefusalText(load);
    const TraverseDataLines data = TraverseFileLines(load.table, kind, load.kindLetter, load.secondName);
    ASSERT_FALSE(data.refusal) << data.refusal->text;
    ASSERT_EQ(WriteLinesAtomically(saved, data.lines), "");
    EXPECT_EQ(folder.read("saved.DAT"), FileBytes(dir));
    return;
  }
  ASSERT_EQ(f.size(), 6u);
  const TraverseKind kind = *KindFromLetter(f[1]);
  ObservationTable table;
  for (const std::string& row : SplitOn(f[4], '|')) {
    const std::vector<std::string> cells = SplitOn(row, ';');
    ASSERT_EQ(cells.size(), 9u);
    ObservationRow cellRow;
    std::copy(cells.begin(), cells.end(), cellRow.begin());
    table.rows.push_back(cellRow);
  }
  const TraverseDataLines data =
      TraverseFileLines(table, kind, f[2] == "-" ? "" : f[2], f[3] == "-" ? "" : f[3]);
  const std::string& expect = f[5];
  if (expect[0] == '!') {
    ASSERT_TRUE(data.refusal);
    EXPECT_EQ(data.refusal->text, expect.substr(1));
    EXPECT_EQ(data.refusal->title, "请检查");
    EXPECT_TRUE(data.lines.empty());
    return;
  }
  ASSERT_FALSE(data.refusal) << data.refusal->text;
  ASSERT_EQ(data.lines.front(), expect);
  ASSERT_EQ(WriteLinesAtomically(saved, data.lines), "");
  const TraverseFileLoad back = LoadTraverseFile(saved, kind);
  ASSERT_FALSE(back.refusal) << RefusalText(back);
  ObservationTable expected = WithoutBlankTrailingRows(table);
  for (ObservationRow& row : expected.rows)
    for (std::string& cell : row) cell = TrimLeft(cell);
  EXPECT_EQ(back.table.rows, expected.rows);
  EXPECT_EQ(back.secondName, SplitOn(expect, ',')[1]);
}

}  // namespace

TEST(TraverseSave, TablesSaveAndReadBack) {
  const int cases = korvane::testing::ForEachTableLine(
      std::string(KORVANE_TEST_DATA) + "/traverse_save.txt",
      [](const std::string& line, std::istringstream&) { CheckSaveCase(line); });
  EXPECT_GT(cases, 20);
}

TEST(TraverseSave, BlankTrailingRowsAreNoStations) {
  ObservationTable table;
  table.rows.resize(3);
  table.rows[0][0] = "A";
  table.rows[2][4] = "  ";
  EXPECT_EQ(WithoutBlankTrailingRows(table).stationCount(), 1);
  table.rows[2][8] = "0";
  EXPECT_EQ(WithoutBlankTrailingRows(table).stationCount(), 3);
  ObservationTable blank;
  blank.rows.resize(2);
  EXPECT_EQ(WithoutBlankTrailingRows(blank).stationCount(), 1);
  EXPECT_FALSE(HoldsObservations(blank));
  EXPECT_TRUE(HoldsObservations(table));
}
