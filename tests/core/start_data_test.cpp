#include <gtest/gtest.h>

#include <filesystem>

#include "formats/start_data.h"
#include "traverse/start_dialog_logic.h"
#include "io/text_file.h"
#include "support/test_folder.h"

using namespace korvane;
using namespace korvane::formats;
using namespace korvane::traverse;

namespace {

StartRecord Sample() {
  StartRecord record;
  const char* values[] = {"3456.789", "5678.123", "101.5", "3400.1", "5600.2", "3900", "6000",
                          "99.8",     "3950",     "6100",  "",      "5",      "5"};
  for (int k = 1; k <= 13; ++k) record.record(k) = values[k - 1];
  return record;
}

}  // namespace

TEST(StartDataFile, WritesFixedRecordsByteForByte) {
  StartRecord record;
  record.record(1) = "12.5";
  record.record(4) = " 45.3";
  const std::string bytes = EncodeStartFile(record);
  ASSERT_EQ(bytes.size(), 13u * 128u);
  EXPECT_EQ(bytes.substr(0, 6), std::string("\x04\x00" "12.5", 6));
  EXPECT_EQ(bytes.substr(6, 122), std::string(122, '\0'));
  EXPECT_EQ(bytes.substr(128, 2), std::string("\x00\x00", 2));
  EXPECT_EQ(bytes.substr(3 * 128, 7), std::string("\x05\x00 45.3", 7));
  EXPECT_EQ(DecodeStartFile(bytes).fields, record.fields);
}

TEST(StartDataFile, RoundTripsThroughTheFile) {
  TestFolder folder;
  const std::string path = folder.file("text_qssj.ini");
  const StartRecord record = Sample();
  ASSERT_EQ(WriteStartFile(path, record), "");
  EXPECT_EQ(folder.read("text_qssj.ini"), EncodeStartFile(record));
  EXPECT_EQ(ReadStartFile(path).fields, record.fields);
  // GBK text whose bytes are also valid UTF-8 (一 is D2 BB) stays the same
  // through every save and reload.
  StartRecord names = record;
  names.record(4) = "一";
  names.record(9) = "一二";
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(WriteStartFile(path, names), "");
    names = ReadStartFile(path);
  }
  EXPECT_EQ(names.record(4), "一");
  EXPECT_EQ(names.record(9), "一二");
}

TEST(StartDataFile, ShortEmptyOrMissingFilesReadAsEmptyFields) {
  TestFolder folder;
  folder.write("empty.ini", "");
  EXPECT_EQ(ReadStartFile(folder.file("empty.ini")).fields, StartRecord{}.fields);
  EXPECT_EQ(ReadStartFile(folder.file("missing.ini")).fields, StartRecord{}.fields);
  // The last record may end right after its text.
  std::string shortFile = std::string("\x03\x00" "1.5", 5) + std::string(123, '\0') + std::string("\x02\x00" "42", 4);
  folder.write("short.ini", shortFile);
  const StartRecord read = ReadStartFile(folder.file("short.ini"));
  EXPECT_EQ(read.record(1), "1.5");
  EXPECT_EQ(read.record(2), "42");
  EXPECT_EQ(read.record(3), "");
  // A damaged length does not read past the file.
  folder.write("bad.ini", std::string("\xFF\x7F" "77", 4));
  EXPECT_EQ(ReadStartFile(folder.file("bad.ini")).record(1), "77");
}

TEST(StartDataFile, EnginesReadFifteenCharactersAndTheDialogTwenty) {
  StartRecord record;
  record.record(1) = "1234567890.12345";  // 16 characters
  record.record(2) = "   12.5";
  record.record(3) = "";
  record.record(4) = "abc";
  record.record(5) = "123456789012345678901234";
  EXPECT_DOUBLE_EQ(EngineValue(record, 1), 1234567890.1234);
  EXPECT_DOUBLE_EQ(EngineValue(record, 2), 12.5);
  EXPECT_DOUBLE_EQ(EngineValue(record, 3), 0);
  EXPECT_DOUBLE_EQ(EngineValue(record, 4), 0);
  EXPECT_EQ(DialogReloadText(record, 5), "12345678901234567890");
  EXPECT_EQ(DialogReloadText(record, 2), "   12.5");
}

TEST(StartDataFile, CutsOverlongTextAtACharacterBoundary) {
  StartRecord record;
  record.record(1) = std::string(200, '9');
  StartRecord back = DecodeStartFile(EncodeStartFile(record));
  EXPECT_EQ(back.record(1), std::string(126, '9'));
  // "9" and 63 Chinese characters take 127 GBK bytes: the last character,
  // which would be split, is dropped whole.
  std::string chinese = "9";
  for (int i = 0; i < 63; ++i) chinese += "北";
  record.record(1) = chinese;
  back = DecodeStartFile(EncodeStartFile(record));
  EXPECT_EQ(back.record(1), chinese.substr(0, chinese.size() - std::string("北").size()));
}

TEST(StartDialog, ConfiguresItselfForEachKind) {
  StartDialogLayout layout;
  ConfigureOnLoad(layout, TraverseKind::Connecting);
  EXPECT_EQ(layout.title, "附合导线起始数据");
  EXPECT_EQ(layout.optionSdCaption, "四点坐标");
  for (int k = 1; k <= 10; ++k) EXPECT_TRUE(layout.recordShown(k)) << k;
  EXPECT_FALSE(layout.recordShown(11));
  EXPECT_FALSE(layout.recordShown(12));

  ApplyDataOption(layout, TraverseKind::Connecting, true);
  EXPECT_EQ(layout.captions[3], "起点定向方位角：");
  EXPECT_EQ(layout.captions[8], "终点定向方位角：");
  EXPECT_FALSE(layout.recordShown(5));
  EXPECT_FALSE(layout.recordShown(10));
  EXPECT_TRUE(layout.recordShown(9));

  ConfigureOnLoad(layout, TraverseKind::NoOrientation);
  EXPECT_EQ(layout.title, "无定向导线起始数据");
  EXPECT_EQ(layout.optionSdCaption, "起终点坐标");
  EXPECT_FALSE(layout.optionDfVisible);
  for (int k : {1, 2, 3, 6, 7, 8}) EXPECT_TRUE(layout.recordShown(k)) << k;
  for (int k : {4, 5, 9, 10}) EXPECT_FALSE(layout.recordShown(k)) << k;

  ConfigureOnLoad(layout, TraverseKind::Open);
  EXPECT_EQ(layout.title, "支导线起始数据");
  EXPECT_EQ(layout.optionSdCaption, "两点坐标");
  for (int k = 1; k <= 5; ++k) EXPECT_TRUE(layout.recordShown(k)) << k;
  for (int k = 6; k <= 10; ++k) EXPECT_FALSE(layout.recordShown(k)) << k;
}

TEST(StartDialog, KindSelectionKeepsOrSetsTheSecondOptionsCaption) {
  StartDialogLayout layout;
  ApplyKindSelection(layout, TraverseKind::Connecting);
  ApplyKindSelection(layout, TraverseKind::Open);
  EXPECT_EQ(layout.optionDfCaption, "起终点坐标和起终方位角");
  EXPECT_EQ(layout.captions[3], "起点定向  X：");
  ApplyKindSelection(layout, TraverseKind::Closed);
  EXPECT_EQ(layout.optionDfCaption, "起点坐标和起始方位角");
  ApplyKindSelection(layout, TraverseKind::Open);
  EXPECT_EQ(layout.optionDfCaption, "起点坐标和起始方位角");
  ApplyKindSelection(layout, TraverseKind::NoOrientation);
  EXPECT_FALSE(layout.optionDfVisible);
  EXPECT_FALSE(layout.recordShown(4));
  EXPECT_FALSE(layout.recordShown(5));
  EXPECT_TRUE(layout.recordShown(8));
  ApplyKindSelection(layout, TraverseKind::Closed);
  EXPECT_TRUE(layout.optionDfVisible);
  EXPECT_EQ(layout.captions[3], "起点定向 X：");
  EXPECT_TRUE(layout.recordShown(5));
  EXPECT_FALSE(layout.recordShown(6));
  EXPECT_EQ(KindFromDialogTitle(layout.title), TraverseKind::Closed);
  EXPECT_EQ(KindFromDialogTitle("other"), std::nullopt);
}

TEST(StartDialog, ValidatesShownFieldsInOrder) {
  StartDialogLayout layout;
  ConfigureOnLoad(layout, TraverseKind::Connecting);
  StartRecord fields;
  const char* expected[] = {"起点 X：未输入！", "起点 Y：未输入！",     "起点 H：未输入！",
                            "起点定向 X：未输入！", "起点定向 Y：未输入！", "终点 X：未输入！",
                            "终点 Y：未输入！",     "终点 H：未输入！",     "终点定向 X：未输入！",
                            "终点定向 Y：未输入！"};
  for (int k = 1; k <= 10; ++k) {
    const auto message = ValidateStartDialog(layout, fields);
    ASSERT_TRUE(message) << k;
    EXPECT_EQ(message->text, expected[k - 1]);
    EXPECT_EQ(message->title, "请检查");
    fields.record(k) = k == 3 ? "  " : "1";  // blanks alone count as empty
    if (k == 3) {
      EXPECT_EQ(ValidateStartDialog(layout, fields)->text, expected[2]);
      fields.record(k) = "1";
    }
  }
  EXPECT_FALSE(ValidateStartDialog(layout, fields));
  layout.projectionShown = true;
  EXPECT_EQ(ValidateStartDialog(layout, fields)->text, "自定义投影面未输入！");
  fields.record(11) = "50";
  layout.constantsShown = true;
  EXPECT_EQ(ValidateStartDialog(layout, fields)->text, "测距仪加常数未输入！");
  fields.record(12) = "5";
  EXPECT_EQ(ValidateStartDialog(layout, fields)->text, "测距仪乘常数未输入！");

  ApplyDataOption(layout, TraverseKind::Connecting, true);
  StartRecord azimuthOnly;
  for (int k : {1, 2, 3}) azimuthOnly.record(k) = "1";
  EXPECT_EQ(ValidateStartDialog(layout, azimuthOnly)->text, "起点定向方位角：未输入！");
}

// The azimuths of the azimuth form are angles in DMS notation; the same texts
// in the point form are coordinates.
TEST(StartDialog, RefusesAnAzimuthWithSixtyMinutesOrSeconds) {
  struct Case {
    int record;
    const char* text;
    const char* refusal;  // empty when accepted
  } const cases[] = {
      {4, "207.80085", "起点定向方位角：数据输入有误！"}, {4, "45.3060", "起点定向方位角：数据输入有误！"},
      {4, "-0.6", "起点定向方位角：数据输入有误！"},      {4, "207.595999", ""},
      {9, "90.0060", "终点定向方位角：数据输入有误！"},    {9, "0.5959", ""},
  };
  for (const bool azimuthForm : {true, false}) {
    StartDialogLayout layout;
    ConfigureOnLoad(layout, TraverseKind::Connecting);
    ApplyDataOption(layout, TraverseKind::Connecting, azimuthForm);
    for (const Case& c : cases) {
      StartRecord fields;
      for (int k = 1; k <= 10; ++k) fields.record(k) = "100.5";
      fields.record(c.record) = c.text;
      const auto refusal = ValidateStartDialog(layout, fields);
      if (azimuthForm && *c.refusal) {
        ASSERT_TRUE(refusal) << c.text;
        EXPECT_EQ(refusal->text, c.refusal);
        EXPECT_EQ(refusal->record, c.record);
      } else {
        EXPECT_FALSE(refusal) << c.text << (azimuthForm ? " (azimuth form)" : " (point form)");
      }
    }
  }
}

TEST(StartDialog, HiddenFieldsAreSavedEmptyButRecordFourIsKept) {
  StartDialogLayout layout;
  ConfigureOnLoad(layout, TraverseKind::Open);
  ApplyDataOption(layout, TraverseKind::Open, true);
  StartRecord fields = Sample();
  ClearHiddenFields(layout, fields);
  EXPECT_EQ(fields.record(4), "3400.1");
  for (int k = 5; k <= 13; ++k) EXPECT_EQ(fields.record(k), "") << k;
  ConfigureOnLoad(layout, TraverseKind::NoOrientation);
  fields = Sample();
  ClearHiddenFields(layout, fields);
  EXPECT_EQ(fields.record(4), "3400.1");  // hidden, never cleared
  EXPECT_EQ(fields.record(5), "");
  EXPECT_EQ(fields.record(8), "99.8");
}

TEST(StartDialog, KeyFilter) {
  for (char32_t key : {U'0', U'9', U'.', U'+', U'-', char32_t(8), char32_t(7)})
    EXPECT_EQ(FilterStartKey(key), KeyAction::Accept);
  EXPECT_EQ(FilterStartKey(13), KeyAction::NextField);
  for (char32_t key : {U'a', U' ', U'，', U'E', char32_t(27)}) EXPECT_EQ(FilterStartKey(key), KeyAction::Reject);
  EXPECT_EQ(WrongKeyMessage().text, "按键有误！");
  EXPECT_EQ(WrongKeyMessage().title, "请重输");
}
