// korvane-cli split and merge: the file splitter's two operations. Running
// the command confirms the operation; replacing files that exist needs --yes.
#include <iostream>

#include "cli_command.h"
#include "cli_options.h"
#include "utilities/file_splitter.h"
#include "utilities/piece_names.h"

namespace korvane::cli {
namespace {

constexpr const char* kSplitUsage = "split SRC [--target T] [--kb N] [--yes]";
constexpr const char* kMergeUsage = "merge TARGET PIECE... [--yes] | merge [TARGET] --from FIRST_PIECE [--yes]";

utilities::AskYesNo Answers(bool yes) {
  return [yes](const Message& question, utilities::QuestionKind kind) {
    if (kind == utilities::QuestionKind::Confirm || yes) return true;
    PrintMessage(question);  // answered with its default, 否
    return false;
  };
}

// Stops the running operation when the command is interrupted.
bool KeepGoing(std::int64_t, std::int64_t) { return !Interrupted(); }

int Finish(const utilities::SplitterOutcome& outcome) {
  switch (outcome.status) {
    case utilities::SplitterStatus::Done:
      std::cout << outcome.message.text << "\n";
      return 0;
    case utilities::SplitterStatus::Refused:
      PrintMessage(outcome.message);
      return outcome.unusableFile ? 1 : 2;
    case utilities::SplitterStatus::Declined:
      return 2;
    case utilities::SplitterStatus::Failed:
      PrintMessage(outcome.message);
      return 1;
    case utilities::SplitterStatus::Cancelled:
      std::cerr << "korvane-cli: 操作已中断，没有留下写了一半的文件\n";
      return 1;
    default:
      return 1;
  }
}

int RunSplitCommand(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription("把 SRC 切成编号的分块，并在旁边写出 Link.bat 和 link.sh。");
  parser.addPositionalArgument("SRC", "要分割的文件。");
  const QCommandLineOption target("target", "分块的基本名（默认为 SRC，最后一个“.”换成“$”）。", "T");
  const QCommandLineOption kb("kb", "分块大小（KB），默认 1447035 字节（“1.44M”）。", "N");
  const QCommandLineOption yes("yes", "替换已有的分块。");
  parser.addOptions({target, kb, yes});
  if (const auto status = ParseCommandLine(parser, kSplitCommand, args)) return *status;
  if (parser.positionalArguments().size() != 1) return UsageError(kSplitCommand, "应给出一个源文件，且只给一个");
  utilities::SplitRequest request;
  request.source = ArgBytes(parser.positionalArguments().front());
  request.target = parser.isSet(target) ? ArgBytes(parser.value(target)) : utilities::ProposeBaseName(request.source);
  request.customSize = parser.isSet(kb);
  request.customKb = parser.value(kb).toStdString();
  utilities::SplitPlan plan;
  const utilities::SplitterOutcome checked = CheckSplit(request, Answers(parser.isSet(yes)), plan);
  if (checked.status != utilities::SplitterStatus::Ready) return Finish(checked);
  // This split clears what the one cut off left.
  if (plan.unfinished) PrintMessage(Message{utilities::kUnfinishedText, utilities::kSplitterTitle, MessageIcon::Warning});
  WatchInterrupts();
  return Finish(RunSplit(plan, KeepGoing));
}

int RunMergeCommand(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription("按给出的顺序把分块合并成 TARGET。");
  parser.addPositionalArgument("TARGET", "合并后的文件（用 --from 时可省略，由分块名得出）。");
  parser.addPositionalArgument("PIECE", "按顺序给出的分块。", "[PIECE...]");
  const QCommandLineOption from("from", "按编号顺序取属于 FIRST_PIECE 的全部分块。", "FIRST_PIECE");
  const QCommandLineOption yes("yes", "TARGET 已存在时替换它。");
  parser.addOptions({from, yes});
  if (const auto status = ParseCommandLine(parser, kMergeCommand, args)) return *status;
  QStringList positional = parser.positionalArguments();
  utilities::MergeRequest request;
  if (parser.isSet(from)) {
    if (positional.size() > 1) return UsageError(kMergeCommand, "用 --from 时至多再给出目标文件");
    const std::string first = ArgBytes(parser.value(from));
    request.pieces = utilities::PiecesToAdd(first);
    request.target = positional.isEmpty() ? utilities::MergedName(request.pieces.front()) : ArgBytes(positional.front());
  } else {
    if (positional.size() < 2) return UsageError(kMergeCommand, "应给出目标文件和至少一个分割块");
    request.target = ArgBytes(positional.takeFirst());
    for (const QString& piece : positional) request.pieces.push_back(ArgBytes(piece));
  }
  utilities::MergePlan plan;
  const utilities::SplitterOutcome checked = CheckMerge(request, Answers(parser.isSet(yes)), plan);
  if (checked.status != utilities::SplitterStatus::Ready) return Finish(checked);
  WatchInterrupts();
  return Finish(RunMerge(plan, KeepGoing));
}

}  // namespace

const Command kSplitCommand{"split", kSplitUsage, RunSplitCommand};
const Command kMergeCommand{"merge", kMergeUsage, RunMergeCommand};
}  // namespace korvane::cli
