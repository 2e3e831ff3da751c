// The calculator driven key by key from the case table, as the batch command
// and the window drive it.
#include "utilities/calculator.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/case_table.h"

using namespace korvane::utilities;

namespace korvane {
namespace {

using korvane::testing::DataRow;
using korvane::testing::ReadDataTable;

std::vector<std::string> Keys(const std::string& text) {
  std::vector<std::string> keys;
  std::istringstream in(text);
  for (std::string key; in >> key;) keys.push_back(key);
  return keys;
}

std::string Joined(const std::vector<Message>& messages) {
  std::string text;
  for (const Message& m : messages) text += (text.empty() ? "" : " | ") + m.title + ": " + m.text;
  return text;
}

TEST(Calculator, PressesTheTableOfKeySequences) {
  for (const DataRow& row : ReadDataTable("calculator_keys.txt", ';')) {
    SCOPED_TRACE(row["group"] + ": " + row["keys"] + " (line " + std::to_string(row.line) + ")");
    const std::vector<std::string> keys = Keys(row["keys"]);
    for (const std::string& key : keys) EXPECT_TRUE(utilities::IsKeyToken(key)) << key;
    utilities::Calculator calculator;
    calculator.setDegrees(row["mode"] == "deg");
    const std::vector<Message> messages = PressKeys(calculator, keys);
    EXPECT_EQ(calculator.display(), row["display"]);
    EXPECT_EQ(Joined(messages), row["messages"]);
  }
}

TEST(Calculator, StoreHoldsFiveHundredValues) {
  utilities::Calculator calculator;
  for (int i = 1; i <= utilities::Calculator::kStoreSize; ++i) {
    PressKeys(calculator, {std::to_string(i)});
    ASSERT_FALSE(calculator.press("Data").message) << i;
  }
  PressKeys(calculator, {"7"});
  const utilities::KeyOutcome refused = calculator.press("Data");
  ASSERT_TRUE(refused.message);
  EXPECT_EQ(refused.message->text, "数据已满，最多 500 个！");
  EXPECT_EQ(refused.message->title, "操作错误警告！");
  EXPECT_EQ(refused.display, "7");
  EXPECT_EQ(calculator.storedCount(), 500);
  EXPECT_EQ(calculator.press("Mean").display, "250.5");
  // A statistic was shown: the next value starts a new set.
  PressKeys(calculator, {"clear", "9", "Data", "N"});
  EXPECT_EQ(calculator.display(), "1");
}

TEST(Calculator, KnowsItsKeys) {
  for (const char* key : {"0", "neg", "1/x", "10^x", "ArcCth", "SD1", "deg"}) EXPECT_TRUE(utilities::IsKeyToken(key)) << key;
  for (const char* key : {"", "sin", "12a", "x", "--"}) EXPECT_FALSE(utilities::IsKeyToken(key)) << key;
  utilities::Calculator calculator;
  EXPECT_EQ(calculator.press("bogus").display, "");
}

}  // namespace
}  // namespace korvane
