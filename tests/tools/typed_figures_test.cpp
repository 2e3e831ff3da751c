#include <gtest/gtest.h>

#include <map>
#include <string>

#include "cogo/figure_text.h"
#include "support/case_table.h"

using namespace korvane;

namespace {

std::string TypedText(std::string text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '~') {
      out += ' ';
    } else if (text.compare(i, 2, "\\t") == 0) {
      out += '\t';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

TEST(TypedFigures, ReadStrictlyAndRefusalsNameTheBox) {
  const std::map<std::string, cogo::FigureKind> kinds = {{"coordinate", cogo::FigureKind::Coordinate},
                                                         {"distance", cogo::FigureKind::Distance},
                                                         {"length", cogo::FigureKind::Length},
                                                         {"angle", cogo::FigureKind::Angle}};
  const auto rows = korvane::testing::ReadDataTable("typed_figures.txt", '|');
  for (const auto& row : rows) {
    ASSERT_TRUE(kinds.count(row["kind"])) << "line " << row.line;
    const cogo::FigureField field{row["caption"], kinds.at(row["kind"]), row["optional"] == "yes"};
    const cogo::Figures f = cogo::ReadFigures({TypedText(row["text"])}, {field});
    const std::string& expected = row["expected"];
    if (f.refusal) {
      EXPECT_EQ(f.refusal->text, expected) << "line " << row.line;
      EXPECT_EQ(f.refusal->title, "请检查") << "line " << row.line;
    } else if (expected == "(absent)") {
      ASSERT_EQ(f.values.size(), 1u) << "line " << row.line;
      EXPECT_FALSE(f.values[0]) << "line " << row.line;
    } else {
      ASSERT_EQ(f.values.size(), 1u) << "line " << row.line;
      ASSERT_TRUE(f.values[0]) << "line " << row.line << ": expected " << expected;
      EXPECT_DOUBLE_EQ(*f.values[0], std::stod(expected)) << "line " << row.line;
    }
  }
  EXPECT_GE(rows.size(), 20u);
}
