#pragma once
// The start-data dialog without its window: which fields and captions it shows
// for each traverse kind and data option, the validation on "确定" and the key
// filter of its text boxes.
#include <array>
#include <optional>
#include <string>

#include "core/message.h"
#include "formats/start_data.h"
#include "formats/traverse_kind.h"

namespace korvane::traverse {

struct StartDialogLayout {
  std::string title;
  std::string optionSdCaption;
  std::string optionDfCaption = "起终点坐标和起终方位角";
  bool optionDfVisible = true;
  bool optionDfSelected = false;  // false: Option_sd is selected
  // Caption and visibility of the label and text box of records 1..10.
  std::array<std::string, 10> captions;
  std::array<bool, 10> shown{};
  bool projectionShown = false;  // Text_gcm and "米" (user-defined plane)
  bool constantsShown = false;   // Text_j, Text_c, "+" and "ppm"
  StartDialogLayout();
  // Whether the text box of record k (1..13) is shown.
  bool recordShown(int k) const;
};

// The set-up when the dialog is loaded for a kind: title, options, fields;
// the point option, the mean-elevation plane and "no constants" selected.
void ConfigureOnLoad(StartDialogLayout& layout, formats::TraverseKind kind);
// The set-up when the kind is selected in the main window while the dialog
// exists (the closed and open kinds also change a caption).
void ApplyKindSelection(StartDialogLayout& layout, formats::TraverseKind kind);
// The data options: the point form (false) or the azimuth form (true).
void ApplyDataOption(StartDialogLayout& layout, formats::TraverseKind kind, bool azimuthForm);
// The kind the dialog's title names (used by the hand-over to the main window).
std::optional<formats::TraverseKind> KindFromDialogTitle(const std::string& title);

// A refused field on "确定": the message and the record (1..13) to focus.
struct StartFieldRefusal : Message {
  int record = 0;
};
// The checks on "确定" in order, each shown field for presence and then for
// being a number (an azimuth of the azimuth form for being an angle in DMS
// notation); the first failure is returned.
std::optional<StartFieldRefusal> ValidateStartDialog(const StartDialogLayout& layout,
                                                     const formats::StartRecord& fields);
// Hidden text boxes among records 5..13 are emptied (record 4 never is).
void ClearHiddenFields(const StartDialogLayout& layout, formats::StartRecord& fields);

enum class KeyAction { Accept, NextField, Reject };
// The key filter of the thirteen text boxes: digits, ".", "+", "-",
// Backspace (8) and code 7 pass, Enter (13) moves on, anything else is refused.
KeyAction FilterStartKey(char32_t key);
Message WrongKeyMessage();

}  // namespace korvane::traverse
