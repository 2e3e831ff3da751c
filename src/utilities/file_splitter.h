#pragma once
// Cutting a file into numbered pieces and joining pieces into one file. Each
// operation is checked first (on the caller's thread, where the questions are
// put to the user) and then run (on any thread), with progress and
// cancelling. Sizes are 64-bit throughout.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/message.h"

namespace korvane::utilities {

inline constexpr const char* kSplitterTitle = "文件分割程序！";

// Questions: a confirmation of the operation (是 preselected) or a question
// about replacing files that exist (否 preselected). True means 是.
enum class QuestionKind { Confirm, Replace };
using AskYesNo = std::function<bool(const Message& question, QuestionKind kind)>;

// Told the bytes done and the total; false cancels the operation.
using SplitProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// The box that a refusal concerns (it gets the focus).
enum class SplitterField { None, Source, Target, PieceSize, MergeTarget, MergeList };

enum class SplitterStatus { Ready, Refused, Declined, Done, Cancelled, Failed };

struct SplitRequest {
  std::string source;
  std::string target;       // base name of the pieces
  bool customSize = false;  // "自定义" instead of "1.44M"
  std::string customKb;     // the typed size in KB
};

// Piece sizes below 1 KB and more pieces than this are refused.
inline constexpr std::int64_t kMinPieceSize = 1024;
inline constexpr std::int64_t kMaxPieceCount = 100000;

struct SplitPlan {
  std::string source;
  std::int64_t sourceSize = 0;
  std::int64_t pieceSize = 0;
  std::string base;            // the pieces are PieceName(base, 1 … count)
  std::int64_t count = 0;
  std::string merged;          // full path of the file the pieces make
  bool unfinished = false;     // an earlier split of this base was cut off
};

struct MergeRequest {
  std::string target;
  std::vector<std::string> pieces;
};

struct MergePlan {
  std::string target;
  std::vector<std::string> pieces;
  std::int64_t totalSize = 0;
};

struct SplitterOutcome {
  SplitterStatus status = SplitterStatus::Ready;
  Message message;  // the refusal, failure or completion text
  SplitterField focus = SplitterField::None;
  bool unusableFile = false;  // refused for a file that is missing or not a regular file
};

// The message for a set whose split was cut off.
inline constexpr const char* kUnfinishedText = "分割未完成，请重新分割！";

// The piece size for the request, or 0 when the custom size is not usable.
std::int64_t PieceSizeOf(const SplitRequest& request);

// The checks and questions of a split, in their order; Ready fills the plan.
SplitterOutcome CheckSplit(const SplitRequest& request, const AskYesNo& ask, SplitPlan& plan);
// Writes the pieces, Link.bat and link.sh under temporary names and then
// swaps them for the old set of the base: a failure or a cancel before the
// swap leaves the old set as it was, and a split cut off during the swap
// leaves the marker of an unfinished set, which the next split of the base
// clears with what that split left. Done carries the completion message.
SplitterOutcome RunSplit(const SplitPlan& plan, const SplitProgress& progress);

// Refused while a piece in the request belongs to an unfinished set.
SplitterOutcome CheckMerge(const MergeRequest& request, const AskYesNo& ask, MergePlan& plan);
// Joins the pieces into a temporary file beside the target and renames it
// over the target; a failure or a cancel leaves the old target as it was.
SplitterOutcome RunMerge(const MergePlan& plan, const SplitProgress& progress);

// The message for a system error during a split or merge.
Message DiskErrorMessage(int error);

}  // namespace korvane::utilities
