#include <gtest/gtest.h>

#include "core/text_file.h"
#include "test_folder.h"

using namespace korvane;

namespace {
const std::string kStationsUtf8 = "导线点K1";
const std::string kStationsGbk = "\xB5\xBC\xCF\xDF\xB5\xE3K1";  // the same in GBK
}  // namespace

TEST(TextEncoding, ReadsGbkAndUtf8) {
  EXPECT_EQ(DecodeText(kStationsGbk), kStationsUtf8);
  EXPECT_EQ(DecodeText(kStationsUtf8), kStationsUtf8);
  EXPECT_EQ(DecodeText("\xEF\xBB\xBF" + kStationsUtf8), kStationsUtf8);
  EXPECT_EQ(DecodeText("F,K9\r\n"), "F,K9\r\n");
}

TEST(TextEncoding, InvalidBytesBecomeVisible) {
  // A lone lead byte at the end must not vanish.
  EXPECT_EQ(DecodeText("AB\xB5"), "AB\xEF\xBF\xBD");
  EXPECT_EQ(DecodeText("\xB5\xBC\xFF" "C"), "导\xEF\xBF\xBD" "C");
}

TEST(TextEncoding, WritesGbkWithCrLf) {
  EXPECT_EQ(EncodeGbk(kStationsUtf8), kStationsGbk);
  EXPECT_EQ(EncodeGbk("€"), "\x80");  // GBK's euro sign
  EXPECT_EQ(EncodeGbk("a😀b"), "a?b");
  EXPECT_EQ(ToCrLf("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
}

TEST(TextFile, RoundTripsAndReplaces) {
  TestFolder folder;
  const std::string path = folder.file("out.txt");
  ASSERT_EQ(WriteTextFile(path, "第一行\n第二行\n"), "");
  EXPECT_EQ(folder.read("out.txt"), "\xB5\xDA\xD2\xBB\xD0\xD0\r\n\xB5\xDA\xB6\xFE\xD0\xD0\r\n");
  ASSERT_EQ(WriteTextFile(path, "new\n"), "");
  EXPECT_EQ(folder.read("out.txt"), "new\r\n");  // replaced, not appended
  const TextFileRead read = ReadTextFile(path);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.text, "new\r\n");
}

TEST(TextFile, ReportsWhatCannotBeDone) {
  TestFolder folder;
  const TextFileRead missing = ReadTextFile(folder.file("none.dat"));
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.error.empty());
  EXPECT_FALSE(WriteTextFile(folder.file("no/such/folder/x.txt"), "x").empty());
  EXPECT_FALSE(ReadTextFile(folder.file("")).ok);  // a folder, not a file
}
