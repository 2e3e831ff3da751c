#include "tools/file_splitter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <set>
#include <string_view>

#include "core/numbers.h"
#include "core/text_file.h"
#include "core/text_utils.h"
#include "tools/atomic_output.h"
#include "tools/piece_names.h"

namespace korvane {
namespace {

constexpr std::int64_t kMaxCustomKb = std::int64_t{1} << 40;  // keeps × 1024 within 64 bits

SplitterOutcome Refuse(const std::string& text, SplitterField focus = SplitterField::None) {
  return {SplitterStatus::Refused, Message{text, kSplitterTitle, MessageIcon::Warning}, focus};
}

SplitterOutcome Declined(SplitterField focus = SplitterField::None) {
  return {SplitterStatus::Declined, {}, focus};
}

SplitterOutcome Failed(int error) {
  if (error < 0) return {SplitterStatus::Cancelled, {}, SplitterField::None};
  return {SplitterStatus::Failed, DiskErrorMessage(error), SplitterField::None};
}

bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

enum class Kind { Missing, Regular, Folder, Other };

Kind KindOf(const std::string& path, std::int64_t* size = nullptr) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Kind::Missing;
  if (size) *size = info.st_size;
  if (S_ISREG(info.st_mode)) return Kind::Regular;
  return S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
}

bool FolderExists(const std::string& path) {
  const std::string folder = FolderOf(path);
  return KindOf(folder.empty() ? "." : folder) == Kind::Folder;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

SplitterOutcome CheckSource(const SplitRequest& request, SplitPlan& plan) {
  const std::string& source = request.source;
  if (source.empty() || EndsWithSeparator(source))
    return Refuse("没有指定源文件!", SplitterField::Source);
  const Kind kind = KindOf(source, &plan.sourceSize);
  if (kind == Kind::Missing) return Refuse("源文件  " + source + "  不存在!", SplitterField::Source);
  if (kind != Kind::Regular)
    return Refuse("源文件  " + source + "  不是普通文件!", SplitterField::Source);
  plan.source = source;
  return {};
}

SplitterOutcome CheckTarget(const std::string& target) {
  if (target.empty()) return Refuse("没有指定分割后的文件!", SplitterField::Target);
  if (EndsWithSeparator(target))
    return Refuse("目标文件框中只指定了文件夹，请指定文件名", SplitterField::Target);
  if (KindOf(target) != Kind::Missing)
    return Refuse("指定的目标文件已经存在，请重新取名!", SplitterField::Target);
  if (!FolderExists(target)) return Refuse("目标文件中的路径不存在!", SplitterField::Target);
  return {};
}

// Pieces of this base that exist now: the new names, and older pieces
// numbered beyond them (a merge collecting the pieces would take those too).
SplitterOutcome CheckExistingPieces(const SplitRequest& request, const AskYesNo& ask, SplitPlan& plan) {
  std::vector<std::string> existing;
  for (const std::string& piece : plan.pieces) {
    if (SameFile(piece, plan.source))
      return Refuse("分块文件  " + piece + "  就是源文件，请重新取名!", SplitterField::Target);
    const Kind kind = KindOf(piece);
    if (kind == Kind::Folder || kind == Kind::Other)
      return Refuse("分块文件  " + piece + "  不是普通文件，请重新取名!", SplitterField::Target);
    if (kind == Kind::Regular) existing.push_back(piece);
  }
  const std::set<std::string> ours(plan.pieces.begin(), plan.pieces.end());
  for (const std::string& piece : CollectPieces(PieceName(request.target, 1))) {
    if (ours.count(piece)) continue;
    if (SameFile(piece, plan.source)) continue;  // never remove the source itself
    plan.stalePieces.push_back(piece);
    existing.push_back(piece);
  }
  if (existing.empty()) return {};
  const Message question{"分块文件  " + existing.front() + "  已存在，是否覆盖全部分块？",
                         kSplitterTitle, MessageIcon::Question};
  if (!ask(question, QuestionKind::Replace)) return Declined(SplitterField::Target);
  return {};
}

}  // namespace

Message DiskErrorMessage(int error) {
  std::string text;
  switch (error) {
    case ENODEV: case ENXIO:
      text = "指定的磁盘驱动器不可用!\n可能不存在此驱动器或驱动器内无磁盘!"; break;
    case ENOENT: case ENOTDIR: text = "文件不能被写入!请更换存放位置!"; break;
    case EIO: text = "磁盘I/0错误，操作被终止!"; break;
    case ENOSPC: case EDQUOT: text = "磁盘满，空间不够!"; break;
    case EACCES: case EPERM: case EROFS: text = "磁盘被写保护 或 文件被保护!"; break;
    default: text = std::string("操作失败：") + std::strerror(error); break;
  }
  return Message{text, kSplitterTitle, MessageIcon::Critical};
}

std::int64_t PieceSizeOf(const SplitRequest& request) {
  if (!request.customSize) return kFloppyPieceSize;
  const double kb = ParseLenient(request.customKb);
  if (!(kb > 0) || kb > static_cast<double>(kMaxCustomKb)) return 0;
  return std::llround(kb * 1024.0);
}

SplitterOutcome CheckSplit(const SplitRequest& request, const AskYesNo& ask, SplitPlan& plan) {
  plan = SplitPlan{};
  if (SplitterOutcome o = CheckSource(request, plan); o.status != SplitterStatus::Ready) return o;
  if (SplitterOutcome o = CheckTarget(request.target); o.status != SplitterStatus::Ready) return o;
  plan.pieceSize = PieceSizeOf(request);
  if (plan.pieceSize <= 0) return Refuse("分割块大小没有指定!", SplitterField::PieceSize);
  if (plan.sourceSize < plan.pieceSize) return Refuse("块文件比要分割的文件还要大!没必要分割!");
  const std::int64_t count = (plan.sourceSize + plan.pieceSize - 1) / plan.pieceSize;
  for (std::int64_t k = 1; k <= count; ++k) plan.pieces.push_back(PieceName(request.target, k));
  plan.merged = MergedName(plan.pieces.front());
  if (SplitterOutcome o = CheckExistingPieces(request, ask, plan); o.status != SplitterStatus::Ready)
    return o;
  const Message question{"确定要分割文件  " + request.source + "  吗？", kSplitterTitle,
                         MessageIcon::Question};
  if (!ask(question, QuestionKind::Confirm)) return Declined();
  return {};
}

namespace {

// Writes one piece from the source's current position.
int WritePiece(int source, const std::string& path, std::int64_t length, std::int64_t offset,
               const SplitPlan& plan, const SplitProgress& progress) {
  const int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (out < 0) return errno;
  int error = CopyBytes(source, out, length, [&](long long copied) {
    return !progress || progress(offset + copied, plan.sourceSize);
  });
  if (::close(out) != 0 && error == 0) error = errno;
  return error;
}

// Link.bat and link.sh, written to temporary files; they are renamed into
// place once the flush of the whole split has taken them to the disk.
int WriteScripts(const SplitPlan& plan, AtomicOutput& bat, AtomicOutput& sh) {
  std::vector<std::string> names;
  for (const std::string& piece : plan.pieces) names.push_back(FileNameOf(piece));
  const std::string folder = FolderOf(plan.pieces.front());
  const std::string prefix = folder.empty() ? "" : folder + "/";
  const std::string merged = FileNameOf(plan.merged);
  if (const int error = bat.open(prefix + "Link.bat", false)) return error;
  if (const int error = bat.write(LinkBatBytes(names, merged))) return error;
  if (const int error = sh.open(prefix + "link.sh", false)) return error;
  if (const int error = sh.write(LinkShText(names, merged))) return error;
  struct stat info {};
  // The script may be run directly wherever it may be read.
  if (fstat(sh.fd(), &info) == 0)
    (void)fchmod(sh.fd(), (info.st_mode & 07777) | ((info.st_mode & 0444) >> 2));
  return 0;
}

}  // namespace

SplitterOutcome RunSplit(const SplitPlan& plan, const SplitProgress& progress) {
  const int source = ::open(plan.source.c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) return Failed(errno);
  std::vector<std::string> written;
  AtomicOutput bat, sh;
  int error = 0;
  std::int64_t offset = 0;
  for (const std::string& piece : plan.pieces) {
    const std::int64_t length = std::min(plan.pieceSize, plan.sourceSize - offset);
    written.push_back(piece);
    if ((error = WritePiece(source, piece, length, offset, plan, progress)) != 0) break;
    offset += length;
  }
  if (error == 0) error = WriteScripts(plan, bat, sh);
  // One flush of the file system for all pieces and both scripts.
  if (error == 0 && syncfs(source) != 0) error = errno;
  ::close(source);
  if (error == 0) error = bat.commit(false);
  if (error == 0) error = sh.commit(false);
  if (error != 0) {
    for (const std::string& piece : written) ::unlink(piece.c_str());
    // A join script that may not be replaced (read-only, no regular file).
    if (error == AtomicOutput::kRefused)
      return {SplitterStatus::Failed, bat.refusal().text.empty() ? sh.refusal() : bat.refusal(), SplitterField::Target};
    return Failed(error);
  }
  for (const std::string& stale : plan.stalePieces) ::unlink(stale.c_str());
  const std::string text = plan.source + " 分割完成!\n你可以执行分割文件目录下的 Link 程序合并文件\n"
                           "也可以用合并功能合并文件,详见<关于>!";
  return {SplitterStatus::Done, Message{text, "文件分割机", MessageIcon::Information}};
}

SplitterOutcome CheckMerge(const MergeRequest& request, const AskYesNo& ask, MergePlan& plan) {
  plan = MergePlan{};
  const std::string& target = request.target;
  if (target.empty()) return Refuse("没有指定合并后的文件名!", SplitterField::MergeTarget);
  const Kind targetKind = KindOf(target);
  if (EndsWithSeparator(target) || targetKind == Kind::Folder)
    return Refuse("目标文件框中只指定了文件夹，请指定文件名", SplitterField::MergeTarget);
  if (!FolderExists(target)) return Refuse("合并后的存储文件的路径不存在!", SplitterField::MergeTarget);
  if (request.pieces.empty()) return Refuse("没有项目供合并!", SplitterField::MergeList);
  for (const std::string& piece : request.pieces) {
    std::int64_t size = 0;
    const Kind kind = KindOf(piece, &size);
    if (kind == Kind::Missing) return Refuse("分块文件  " + piece + "  不存在!", SplitterField::MergeList);
    if (kind != Kind::Regular)
      return Refuse("分块文件  " + piece + "  不是普通文件!", SplitterField::MergeList);
    plan.totalSize += size;
  }
  // A device, a pipe, a read-only file or one of the pieces is never
  // replaced: an unusable file, as a failed write is.
  if (const std::optional<Message> refusal = DestinationRefusal(target, request.pieces))
    return {SplitterStatus::Failed, *refusal, SplitterField::MergeTarget};
  if (targetKind != Kind::Missing) {
    const Message question{"文件  " + target + "  已存在，是否要覆盖？", kSplitterTitle,
                           MessageIcon::Question};
    if (!ask(question, QuestionKind::Replace)) return Declined(SplitterField::MergeTarget);
  }
  const Message question{"确定要合并文件  " + target + "  吗？", kSplitterTitle, MessageIcon::Question};
  if (!ask(question, QuestionKind::Confirm)) return Declined();
  plan.target = target;
  plan.pieces = request.pieces;
  return {};
}

SplitterOutcome RunMerge(const MergePlan& plan, const SplitProgress& progress) {
  AtomicOutput output;
  if (const int error = output.open(plan.target, false))
    return error == AtomicOutput::kRefused
               ? SplitterOutcome{SplitterStatus::Failed, output.refusal(), SplitterField::MergeTarget}
               : Failed(error);
  std::int64_t done = 0;
  for (const std::string& piece : plan.pieces) {
    const int in = ::open(piece.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return Failed(errno);
    long long copied = 0;
    const int error = CopyBytes(in, output.fd(), -1, [&](long long c) {
      output.copied(c - copied);
      copied = c;
      return !progress || progress(done + c, plan.totalSize);
    });
    ::close(in);
    if (error) return Failed(error);
    done += copied;
  }
  if (const int error = output.commit()) return Failed(error);
  return {SplitterStatus::Done,
          Message{plan.target + "合并完成!", kSplitterTitle, MessageIcon::Information}};
}

}  // namespace korvane
