#include "traverse/start_dialog_logic.h"

#include "core/angles.h"
#include "core/numbers.h"
#include "core/text_utils.h"

namespace korvane::traverse {
namespace {

constexpr const char* kStartPointCaption = "起点定向 X：";
constexpr const char* kStartAzimuthCaption = "起点定向方位角：";
constexpr const char* kEndPointCaption = "终点定向 X：";
constexpr const char* kEndAzimuthCaption = "终点定向方位角：";

const std::array<std::string, 10>& DefaultCaptions() {
  static const std::array<std::string, 10> captions = {
      "起点 X：", "起点  Y：", "起点  H：", kStartPointCaption, "起点定向 Y：",
      "终点 X：", "终点 Y：",  "终点 H：",  kEndPointCaption,   "终点定向 Y："};
  return captions;
}

std::string TitleFor(formats::TraverseKind kind) {
  switch (kind) {
    case formats::TraverseKind::Connecting: return "附合导线起始数据";
    case formats::TraverseKind::Closed: return "闭合导线起始数据";
    case formats::TraverseKind::Open: return "支导线起始数据";
    case formats::TraverseKind::NoOrientation: return "无定向导线起始数据";
  }
  return {};
}

std::string PointOptionCaption(formats::TraverseKind kind) {
  switch (kind) {
    case formats::TraverseKind::Connecting: return "四点坐标";
    case formats::TraverseKind::NoOrientation: return "起终点坐标";
    default: return "两点坐标";
  }
}

// Shows exactly the records listed (1-based), hides the others among 1..10.
void ShowRecords(StartDialogLayout& layout, std::initializer_list<int> records) {
  layout.shown.fill(false);
  for (int k : records) layout.shown[static_cast<std::size_t>(k - 1)] = true;
}

void SetCaption(StartDialogLayout& layout, int k, const std::string& caption) {
  layout.captions[static_cast<std::size_t>(k - 1)] = caption;
}

Message Missing(std::string text) { return Message{std::move(text), "请检查", MessageIcon::Information}; }

}  // namespace

StartDialogLayout::StartDialogLayout() : captions(DefaultCaptions()) { shown.fill(true); }

bool StartDialogLayout::recordShown(int k) const {
  if (k >= 1 && k <= 10) return shown[static_cast<std::size_t>(k - 1)];
  if (k == RecordNumber(formats::StartItem::ProjectionHeight)) return projectionShown;
  if (k == RecordNumber(formats::StartItem::AdditiveConstant) || k == RecordNumber(formats::StartItem::ScaleConstant))
    return constantsShown;
  return false;
}

void ApplyDataOption(StartDialogLayout& layout, formats::TraverseKind kind, bool azimuthForm) {
  layout.optionDfSelected = azimuthForm;
  switch (kind) {
    case formats::TraverseKind::Connecting:
      if (azimuthForm) {
        ShowRecords(layout, {1, 2, 3, 4, 6, 7, 8, 9});
        SetCaption(layout, 4, kStartAzimuthCaption);
        SetCaption(layout, 9, kEndAzimuthCaption);
      } else {
        ShowRecords(layout, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        SetCaption(layout, 4, kStartPointCaption);
        SetCaption(layout, 9, kEndPointCaption);
      }
      break;
    case formats::TraverseKind::Closed:
    case formats::TraverseKind::Open:
      if (azimuthForm) {
        ShowRecords(layout, {1, 2, 3, 4});
        SetCaption(layout, 4, kStartAzimuthCaption);
      } else {
        ShowRecords(layout, {1, 2, 3, 4, 5});
        SetCaption(layout, 4, kStartPointCaption);
      }
      break;
    case formats::TraverseKind::NoOrientation:
      layout.optionDfSelected = false;
      ShowRecords(layout, {1, 2, 3, 6, 7, 8});
      break;
  }
}

void ConfigureOnLoad(StartDialogLayout& layout, formats::TraverseKind kind) {
  layout.title = TitleFor(kind);
  layout.optionSdCaption = PointOptionCaption(kind);
  layout.optionDfVisible = kind != formats::TraverseKind::NoOrientation;
  ApplyDataOption(layout, kind, false);
  layout.projectionShown = false;
  layout.constantsShown = false;
}

void ApplyKindSelection(StartDialogLayout& layout, formats::TraverseKind kind) {
  layout.title = TitleFor(kind);
  layout.optionSdCaption = PointOptionCaption(kind);
  ApplyDataOption(layout, kind, false);
  switch (kind) {
    case formats::TraverseKind::Connecting:
      layout.optionDfVisible = true;
      layout.optionDfCaption = "起终点坐标和起终方位角";
      SetCaption(layout, 4, kStartPointCaption);
      ShowRecords(layout, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
      break;
    case formats::TraverseKind::Closed:
      layout.optionDfVisible = true;
      layout.optionDfCaption = "起点坐标和起始方位角";
      SetCaption(layout, 4, kStartPointCaption);
      ShowRecords(layout, {1, 2, 3, 4, 5});
      break;
    case formats::TraverseKind::Open:
      // The second option keeps the caption the previous selection gave it.
      layout.optionDfVisible = true;
      SetCaption(layout, 4, "起点定向  X：");
      ShowRecords(layout, {1, 2, 3, 4, 5});
      break;
    case formats::TraverseKind::NoOrientation:
      layout.optionDfVisible = false;
      ShowRecords(layout, {1, 2, 3, 4, 6, 7, 8});
      layout.shown[3] = false;  // the start orientation fields are hidden
      break;
  }
}

std::optional<formats::TraverseKind> KindFromDialogTitle(const std::string& title) {
  for (formats::TraverseKind kind : {formats::TraverseKind::Connecting, formats::TraverseKind::Closed, formats::TraverseKind::Open,
                            formats::TraverseKind::NoOrientation})
    if (TitleFor(kind) == title) return kind;
  return std::nullopt;
}

std::optional<StartFieldRefusal> ValidateStartDialog(const StartDialogLayout& layout,
                                                     const formats::StartRecord& fields) {
  // What each field is called in its messages, in the order they are checked.
  const std::string names[formats::kStartRecordCount] = {
      "起点 X：", "起点 Y：", "起点 H：", layout.captions[3], "起点定向 Y：",
      "终点 X：", "终点 Y：", "终点 H：", layout.captions[8], "终点定向 Y：",
      "自定义投影面", "测距仪加常数", "测距仪乘常数"};
  for (int k = 1; k <= formats::kStartRecordCount; ++k) {
    if (k > 3 && !layout.recordShown(k)) continue;
    const std::string text = Trim(fields.record(k));
    const std::string& name = names[k - 1];
    if (text.empty()) return StartFieldRefusal{Missing(name + "未输入！"), k};
    // A pasted text gets past the key filter: it must still be a number.
    if (IsNumericCell(text) != CellCheck::Valid) return StartFieldRefusal{Missing(name + "数据输入有误！"), k};
    // Records 4 and 9 of the azimuth form are angles in DMS notation.
    const bool azimuth = layout.optionDfSelected && (k == 4 || k == 9);
    if (azimuth && !ValidDms(ParseLenient(text))) return StartFieldRefusal{Missing(name + "数据输入有误！"), k};
  }
  return std::nullopt;
}

void ClearHiddenFields(const StartDialogLayout& layout, formats::StartRecord& fields) {
  for (int k = 5; k <= formats::kStartRecordCount; ++k)
    if (!layout.recordShown(k)) fields.record(k).clear();
}

KeyAction FilterStartKey(char32_t key) {
  if ((key >= U'0' && key <= U'9') || key == U'.' || key == U'+' || key == U'-' || key == 8 || key == 7)
    return KeyAction::Accept;
  if (key == 13) return KeyAction::NextField;
  return KeyAction::Reject;
}

Message WrongKeyMessage() { return Message{"按键有误！", "请重输", MessageIcon::Information}; }

}  // namespace korvane::traverse
