// The test kit's table reader: tolerance lines and their units, since every
// table-driven test leans on them.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/case_table.h"
#include "support/test_folder.h"

namespace korvane::testing {
namespace {

TEST(CaseTable, ToleranceLinesHoldForTheRowsBelowThem) {
  TestFolder folder;
  folder.write("table.txt",
               "# a comment\n"
               "first 1\r\n"
               "tolerance 0.5 mm\n"
               "\n"
               "second 2\n"
               "tolerance 2 sec\n"
               "third 3\n"
               "tolerance 1e-9\n"
               "fourth 4\n");
  std::vector<std::string> lines;
  std::vector<Tolerance> tolerances;
  const int count = ForEachTableLine(folder.file("table.txt"),
                                     [&](const std::string& line, std::istringstream&, const Tolerance& t) {
                                       lines.push_back(line);
                                       tolerances.push_back(t);
                                     });
  ASSERT_EQ(count, 4);
  EXPECT_EQ(lines, (std::vector<std::string>{"first 1", "second 2", "third 3", "fourth 4"}));
  EXPECT_FALSE(tolerances[0].stated());
  EXPECT_DOUBLE_EQ(tolerances[1].in("m"), 0.0005);
  EXPECT_DOUBLE_EQ(tolerances[1].in("mm"), 0.5);
  EXPECT_DOUBLE_EQ(tolerances[2].in("deg"), 2.0 / 3600);
  EXPECT_DOUBLE_EQ(tolerances[2].in("sec"), 2.0);
  EXPECT_DOUBLE_EQ(tolerances[3].in(""), 1e-9);
  EXPECT_EQ(ForEachTableLine(folder.file("missing.txt"), [](const std::string&, std::istringstream&) {}), -1);
}

TEST(CaseTable, AToleranceOfTheWrongKindFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(Tolerance::Parse("0.1 mm").in("sec"), "used in sec");
  EXPECT_NONFATAL_FAILURE(Tolerance::Parse("0.1 mm").in(""), "used as a plain number");
  EXPECT_NONFATAL_FAILURE(Tolerance::Parse("1e-9").in("m"), "used in m");
  EXPECT_NONFATAL_FAILURE(Tolerance::Parse("0.1 furlong"), "unknown unit");
  EXPECT_NONFATAL_FAILURE(Tolerance::Parse("mm"), "without a value");
  EXPECT_NONFATAL_FAILURE(Tolerance::Parse("0.1 mm extra"), "more than a value");
}

TEST(CaseTable, TypedCellsKeepBlanksAndRefuseAnotherForm) {
  const std::vector<TypedCell> cells = ReadTypedCells(R"(5,4="  ";12,9="a;b";7,2="")");
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0].row, 5);
  EXPECT_EQ(cells[0].column, 4);
  EXPECT_EQ(cells[0].text, "  ");
  EXPECT_EQ(cells[1].row, 12);
  EXPECT_EQ(cells[1].column, 9);
  EXPECT_EQ(cells[1].text, "a;b");
  EXPECT_EQ(cells[2].text, "");
  EXPECT_TRUE(ReadTypedCells("").empty());
  EXPECT_NONFATAL_FAILURE(ReadTypedCells("5,4=x"), "ROW,COLUMN");
  EXPECT_NONFATAL_FAILURE(ReadTypedCells(R"(5="x")"), "ROW,COLUMN");
  EXPECT_NONFATAL_FAILURE(ReadTypedCells(R"(5,4="x)"), "ROW,COLUMN");
}

}  // namespace
}  // namespace korvane::testing
