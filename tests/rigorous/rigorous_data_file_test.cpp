// Loading the data file into the table and the boxes, its refusals and
// notice, and saving it back.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "io/text_file.h"
#include "formats/rigorous_data_file.h"
#include "rigorous_fixture.h"
#include "support/test_folder.h"
#include "support/case_table.h"

using namespace korvane::formats;
using namespace korvane::io;

namespace korvane {
namespace {

// The four-station traverse on a plane 120.5 m high.
const std::string kFile = [] {
  std::string text = testing_rigorous::FourStationFileText();
  return text.replace(0, text.find('\r'), " 3, 5, 3, 2,  120.5");
}();

TEST(RigorousDataFile, LoadsTableAndBoxes) {
  const RigorousFileLoad load = LoadRigorousText(kFile);
  ASSERT_TRUE(load.ok()) << load.refusal->text;
  EXPECT_EQ(load.notice, "");
  const RigorousTable& t = load.table;
  ASSERT_EQ(t.rows(), 11);
  EXPECT_EQ(t, testing_rigorous::FourStationTable());
  EXPECT_EQ(load.params.sideCount, " 3");
  EXPECT_EQ(load.params.priorAngleError, " 5");
  EXPECT_EQ(load.params.additiveConstant, " 3");
  EXPECT_EQ(load.params.scaleConstant, " 2");
  EXPECT_EQ(load.params.projectionHeight, "120.5");
}

TEST(RigorousDataFile, ParameterBoxesFromTheFirstLine) {
  std::string text = kFile;
  text.replace(0, text.find('\r'), " 3, 0, 0,1.5, N");
  const RigorousFileLoad load = LoadRigorousText(text);
  ASSERT_TRUE(load.ok());
  EXPECT_EQ(load.params.priorAngleError, "");  // a zero leaves the box empty
  EXPECT_EQ(load.params.additiveConstant, "");
  EXPECT_EQ(load.params.scaleConstant, " 1.5");
  EXPECT_EQ(load.params.projectionHeight, "N");
}

TEST(RigorousDataFile, CorrectsTheNumberOfSides) {
  std::string text = kFile;
  text.replace(0, 2, " 7");
  const RigorousFileLoad load = LoadRigorousText(text);
  ASSERT_TRUE(load.ok());
  EXPECT_EQ(load.notice, "告示：您错输导线边数  7，程序已修正为 3！");
  EXPECT_EQ(load.params.sideCount, " 3");
  EXPECT_EQ(load.table.stationCount(), 4);
}

TEST(RigorousDataFile, RefusesMalformedLines) {
  auto refusal = [](std::string text) { return LoadRigorousText(text).refusal; };
  const Message line1{"文本中第1行格式不对！", "请检查第1行", MessageIcon::Information};
  EXPECT_EQ(*refusal("1,2,3,4\r\nA,1,2,3\r\n"), line1);
  EXPECT_EQ(*refusal("1,2,3,4,5,6\r\n"), line1);
  std::string text = kFile;
  text.replace(text.find("B,1000.000,1200.000,101.000"), 27, "B,1000.000,1200.000");
  EXPECT_EQ(*refusal(text), (Message{"文本中第3行格式不对！", "请检查第3行", MessageIcon::Information}));
  // A station line with a missing field is refused instead of shifting the
  // cells after it.
  text = kFile;
  text.replace(text.find("P1,270.0005,150.002,"), 20, "P1,270.0005,");
  EXPECT_EQ(*refusal(text), (Message{"文本中第7行格式不对！", "请检查第7行", MessageIcon::Information}));
  text = kFile;
  text.replace(text.find("C,180.0008,0,0,0,0,0,0,0"), 24, "C,180.0008,0,0,0,0,0,0,0,0");
  EXPECT_EQ(refusal(text)->text, "文本中第9行格式不对！");
  // An empty field between commas does not count as one.
  text = kFile;
  text.replace(text.find("P1,270.0005,150.002,"), 20, "P1,270.0005,,150.002,");
  EXPECT_FALSE(refusal(text).has_value());
  // Known points missing.
  EXPECT_EQ(refusal(" 3, 5, 3, 2, 0\r\nA,1,2,3\r\nB,1,2,3\r\n")->text, "文本中第4行格式不对！");
  // Empty texts.
  const Message empty{"此为空文本，不予接受！", "抱歉", MessageIcon::Information};
  EXPECT_EQ(*refusal(""), empty);
  EXPECT_EQ(*refusal("\r\n 3, 5, 3, 2, 0\r\n"), empty);
  EXPECT_EQ(*refusal(" , 5, 3, 2, 0\r\n"), empty);
}

TEST(RigorousDataFile, DataEndAtTheFirstEmptyLine) {
  std::string text = std::string(kFile) + "old,1,2,3,4,5,6,7,8\r\nmore\r\n";
  const RigorousFileLoad load = LoadRigorousText(text);
  ASSERT_TRUE(load.ok());
  EXPECT_EQ(load.table.stationCount(), 4);
}

TEST(RigorousDataFile, LongFieldsKeepEveryIntegerDigit) {
  std::string text = kFile;
  text.replace(text.find("A,1000.000,1000.000"), 19, "A,3456789.12345,512345.6789012");
  text.replace(text.find("P2,89.5950,"), 11, "LongStationName,89.595012,");
  const RigorousFileLoad load = LoadRigorousText(text);
  ASSERT_TRUE(load.ok());
  EXPECT_EQ(load.table.at(1, 2), "3456789.1235");
  EXPECT_EQ(load.table.at(1, 3), "512345.6789");
  EXPECT_EQ(load.table.at(6, 1), "LongStationName");
  EXPECT_EQ(load.table.at(6, 2), "89.5950");
  // Short fields are kept as written, blanks included.
  EXPECT_EQ(load.table.at(4, 2), "180.0010");
}

TEST(RigorousDataFile, SavesAndReadsBack) {
  RigorousTable t = testing_rigorous::FourStationTable();
  t.at(5, 1) = "桩号一";
  t.at(6, 9) = " ";  // an empty cell is saved as "  0"
  RigorousParameters p{" 3", "5", "", "2", "120.5"};
  const std::string text = RigorousDataText(t, p);
  // Each box is written as a blank and its text as it stands.
  EXPECT_EQ(text.substr(0, text.find('\n')), "  3, 5, 0, 2,  120.5");
  EXPECT_NE(text.find("\nP2,89.5950,199.995,1.40,1.40,0.1000,1.40,1.40,  0\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 2), "\n\n");

  TestFolder folder;
  const std::string path = folder.file("traverse.dat");
  {
    std::ofstream old(path, std::ios::binary);
    old << std::string(5000, 'z') << "\r\n";
  }
  ASSERT_EQ(SaveRigorousFile(path, t, p), "");
  const std::string bytes = korvane::testing::FileBytes(path);
  EXPECT_EQ(bytes, EncodeGbk(ToCrLf(text)));  // replaced, not appended
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");

  std::string error;
  const RigorousFileLoad load = LoadRigorousFile(path, error);
  ASSERT_EQ(error, "");
  ASSERT_TRUE(load.ok());
  RigorousTable expected = t;
  expected.at(6, 9) = "  0";
  EXPECT_EQ(load.table, expected);
  EXPECT_EQ(load.params.priorAngleError, " 5");
  EXPECT_EQ(load.params.additiveConstant, "");
  EXPECT_EQ(load.params.projectionHeight, "120.5");
  // Saving what was loaded, and loading it again, gives the same table and
  // boxes: the blank the boxes gained is written once and read back away.
  const std::string again = RigorousDataText(load.table, load.params);
  EXPECT_EQ(again.substr(0, again.find('\n')), "  3,  5, 0,  2,  120.5");
  const RigorousFileLoad reload = LoadRigorousText(again);
  ASSERT_TRUE(reload.ok());
  EXPECT_EQ(reload.table, load.table);
  EXPECT_EQ(RigorousDataText(reload.table, reload.params), again);

  // "N" is kept as typed.
  p.projectionHeight = "n";
  EXPECT_EQ(RigorousDataText(t, p).substr(0, 16), "  3, 5, 0, 2, n\n");
}

TEST(RigorousDataFile, UnreadableFileIsAnError) {
  std::string error;
  LoadRigorousFile("/nonexistent/korvane/none.dat", error);
  EXPECT_NE(error, "");
}

TEST(RigorousTableLayout, CaptionsAndStationNumbers) {
  const RigorousTable start = InitialRigorousTable();
  ASSERT_EQ(start.rows(), 8);
  EXPECT_EQ(start.at(0, 0), "编   号");
  EXPECT_EQ(start.at(3, 2), "  水平角");
  EXPECT_EQ(start.at(4, 0), "1");
  EXPECT_EQ(start.at(5, 0), "编  号");
  EXPECT_EQ(start.at(6, 0), "终  点");
  EXPECT_EQ(start.at(7, 0), "附合点");
  RigorousTable t = start;
  t.at(1, 1) = "A";
  t.at(6, 1) = "C";
  ResizeStations(t, 3);
  ASSERT_EQ(t.rows(), 10);
  EXPECT_EQ(t.at(4, 0), " 1");
  EXPECT_EQ(t.at(6, 0), " 3");
  EXPECT_EQ(t.at(7, 4), "  高程H");
  EXPECT_EQ(t.at(1, 1), "A");
  EXPECT_EQ(t.at(t.endRow(), 1), "C");
  ResizeStations(t, 0);  // never fewer than one station row
  EXPECT_EQ(t.rows(), 8);
  EXPECT_EQ(t.at(t.endRow(), 1), "C");
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

// The packed table against a plain model under random edits: texts of every
// length class (empty, one byte short of the long form, long, very long) and
// any bytes, rows inserted and removed, space of replaced rows reclaimed.
TEST(RigorousTableCells, EditsKeepEveryCell) {
  std::mt19937 random(7);
  auto text = [&] {
    const std::size_t sizes[] = {0, 1, 8, 254, 255, 256, 70000};
    std::string t(sizes[random() % std::size(sizes)], 'x');
    for (char& ch : t) ch = static_cast<char>(random() % 256);
    return t;
  };
  RigorousTable table = EmptyRigorousTable(3);
  std::vector<RigorousRow> model(static_cast<std::size_t>(table.rows()));
  for (int r = 0; r < table.rows(); ++r)
    for (int c = 0; c < kRigorousColumns; ++c) model[r][c] = table.at(r, c);
  for (int step = 0; step < 3000; ++step) {
    const int r = static_cast<int>(random() % model.size()), c = static_cast<int>(random() % kRigorousColumns);
    switch (random() % 8) {
      case 0:
        table.insertRows(r, 2);
        model.insert(model.begin() + r, 2, RigorousRow{});
        break;
      case 1:
        if (model.size() < 3) break;
        table.eraseRows(r, 1);
        model.erase(model.begin() + r);
        break;
      default: {
        const std::string t = text();
        table.at(r, c) = t;
        model[r][c] = t;
      }
    }
    ASSERT_EQ(table.rows(), static_cast<int>(model.size()));
    const int check = static_cast<int>(random() % model.size());
    for (int k = 0; k < kRigorousColumns; ++k) ASSERT_EQ(table.at(check, k), model[check][k]) << step;
  }
  for (int r = 0; r < table.rows(); ++r)
    for (int c = 0; c < kRigorousColumns; ++c) ASSERT_EQ(table.at(r, c), model[r][c]);
}

}  // namespace
}  // namespace korvane
