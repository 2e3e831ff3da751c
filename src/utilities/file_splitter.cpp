#include "utilities/file_splitter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "core/message_text.h"
#include "core/numbers.h"
#include "io/text_file.h"
#include "core/text_utils.h"
#include "io/atomic_output.h"
#include "utilities/piece_names.h"

namespace korvane::utilities {
namespace {

constexpr std::int64_t kMaxCustomKb = std::int64_t{1} << 40;  // keeps × 1024 within 64 bits

SplitterOutcome Refuse(const std::string& text, SplitterField focus = SplitterField::None) {
  return {SplitterStatus::Refused, Message{text, kSplitterTitle, MessageIcon::Warning}, focus};
}

SplitterOutcome Unusable(const std::string& text, SplitterField focus) {
  SplitterOutcome outcome = Refuse(text, focus);
  outcome.unusableFile = true;
  return outcome;
}

SplitterOutcome Declined(SplitterField focus = SplitterField::None) {
  return {SplitterStatus::Declined, {}, focus};
}

SplitterOutcome Failed(int error) {
  // A staged name the writer may not replace: only a stray non-file can
  // stand there, and the split stops as a failed write would.
  if (error == io::AtomicOutput::kRefused) error = EEXIST;
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
  if (kind == Kind::Missing) return Unusable("源文件  " + source + "  不存在!", SplitterField::Source);
  if (kind != Kind::Regular)
    return Unusable("源文件  " + source + "  不是普通文件!", SplitterField::Source);
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
  // Every name that goes into Link.bat: the pieces add only digits.
  for (const std::string& name : {FileNameOf(target), FileNameOf(MergedName(PieceName(target, 1)))}) {
    const std::string unsafe = BatchUnsafeCharacter(name);
    if (!unsafe.empty())
      return Refuse("文件名中含有字符“" + unsafe + "”，无法写入合并脚本，请改名后再分割！", SplitterField::Target);
  }
  return {};
}

// The existing pieces of the base numbered from count + 1 on, up to the
// first missing number: with the new pieces 1 … count in place they continue
// the run.
std::vector<std::string> PiecesBeyond(const std::string& base, std::int64_t count) {
  std::vector<std::string> beyond;
  for (std::int64_t k = count + 1;; ++k) {
    std::string piece = PieceName(base, k);
    if (KindOf(piece) != Kind::Regular) break;
    beyond.push_back(std::move(piece));
  }
  return beyond;
}

// Pieces of this base that exist now: the new names, and older pieces of the
// run numbered beyond them (a merge collecting the pieces would take those).
SplitterOutcome CheckExistingPieces(const AskYesNo& ask, SplitPlan& plan) {
  std::string first;
  for (std::int64_t k = 1; k <= plan.count; ++k) {
    const std::string piece = PieceName(plan.base, k);
    const Kind kind = KindOf(piece);
    if (kind == Kind::Missing) continue;
    if (SameFile(piece, plan.source))
      return Refuse("分块文件  " + piece + "  就是源文件，请重新取名!", SplitterField::Target);
    if (kind != Kind::Regular)
      return Refuse("分块文件  " + piece + "  不是普通文件，请重新取名!", SplitterField::Target);
    if (first.empty()) first = piece;
  }
  if (first.empty()) {
    const std::vector<std::string> beyond = PiecesBeyond(plan.base, plan.count);
    if (!beyond.empty()) first = beyond.front();
  }
  if (first.empty()) return {};
  const Message question{"分块文件  " + first + "  已存在，是否覆盖全部分块？", kSplitterTitle,
                         MessageIcon::Question};
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
    default: text = "操作失败：" + SystemErrorText(error); break;
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
  if (plan.pieceSize < kMinPieceSize) return Refuse("分割块不能小于1KB！", SplitterField::PieceSize);
  if (plan.sourceSize < plan.pieceSize) return Refuse("块文件比要分割的文件还要大!没必要分割!");
  plan.count = (plan.sourceSize + plan.pieceSize - 1) / plan.pieceSize;
  if (plan.count > kMaxPieceCount)
    return Refuse("分割块数超过100000块，请加大分割块尺寸！", SplitterField::PieceSize);
  plan.base = request.target;
  plan.merged = MergedName(PieceName(plan.base, 1));
  plan.unfinished = SplitUnfinished(plan.base);
  if (SplitterOutcome o = CheckExistingPieces(ask, plan); o.status != SplitterStatus::Ready) return o;
  const Message question{"确定要分割文件  " + request.source + "  吗？", kSplitterTitle,
                         MessageIcon::Question};
  if (!ask(question, QuestionKind::Confirm)) return Declined();
  return {};
}

namespace {

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

// Where a file of the new set is written before the swap: hidden, beside
// it, and named after the base (.BASE.001.new, .BASE.Link.bat.new).
std::string Staged(const std::string& folder, const std::string& name) {
  return InFolder(folder, "." + name + ".new");
}

bool IsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A staged file of this base, or the atomic writer's temporary of one
// (".", then the staged name, then "." and the writer's own ending).
bool IsStagedName(std::string_view entry, const std::string& baseName) {
  const auto matches = [&](std::string_view rest, bool writerTemporary) {
    if (rest.substr(0, baseName.size()) != baseName || rest.substr(baseName.size(), 1) != ".") return false;
    rest.remove_prefix(baseName.size() + 1);
    std::size_t end = std::string_view::npos;
    if (writerTemporary) end = rest.find(".new.");
    else if (rest.size() > 4 && rest.substr(rest.size() - 4) == ".new") end = rest.size() - 4;
    if (end == std::string_view::npos) return false;
    const std::string_view middle = rest.substr(0, end);
    return IsDigits(middle) || middle == "Link.bat" || middle == "link.sh";
  };
  if (entry.size() < 2 || entry[0] != '.') return false;
  if (matches(entry.substr(1), false)) return true;
  return entry[1] == '.' && matches(entry.substr(2), true);
}

// Removes what an earlier split of the base, cut off, left under staged names.
void ReapStaged(const std::string& folder, const std::string& baseName) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  std::vector<std::string> left;
  while (const dirent* entry = ::readdir(dir))
    if (IsStagedName(entry->d_name, baseName)) left.push_back(InFolder(folder, entry->d_name));
  ::closedir(dir);
  for (const std::string& path : left) ::unlink(path.c_str());
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)fsync(fd);
  ::close(fd);
}

bool WriteProtected(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0;
}

// A split that would replace or remove a write-protected file of the old
// set fails before it writes anything.
// A join script or piece name held by a folder, a pipe or a device is never
// replaced either: the split is refused with the writer's own message.
std::optional<SplitterOutcome> CheckOldSet(const SplitPlan& plan, const std::string& folder) {
  std::vector<std::string> names{InFolder(folder, "Link.bat"), InFolder(folder, "link.sh")};
  for (std::int64_t k = 1; k <= plan.count; ++k) names.push_back(PieceName(plan.base, k));
  for (const std::string& piece : PiecesBeyond(plan.base, plan.count)) names.push_back(piece);
  for (const std::string& name : names) {
    const Kind kind = KindOf(name);
    if (kind == Kind::Folder || kind == Kind::Other)
      return SplitterOutcome{SplitterStatus::Failed, *io::DestinationRefusal(name), SplitterField::Target};
    if (WriteProtected(name)) return Failed(EACCES);
  }
  return std::nullopt;
}

// Writes one piece from the source's current position.
int WritePiece(int source, const std::string& path, std::int64_t length, std::int64_t offset,
               const SplitPlan& plan, const SplitProgress& progress) {
  io::AtomicOutput out;
  if (const int error = out.open(path, false)) return error;
  long long sent = 0;
  const int error = io::CopyBytes(source, out.fd(), length, [&](long long copied) {
    out.copied(copied - sent);
    sent = copied;
    return !progress || progress(offset + copied, plan.sourceSize);
  });
  if (error) return error;
  return out.commit(false);
}

// Link.bat and link.sh under their staged names.
int WriteScripts(const SplitPlan& plan, const std::string& folder, const std::string& baseName) {
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(plan.count));
  for (std::int64_t k = 1; k <= plan.count; ++k) names.push_back(FileNameOf(PieceName(plan.base, k)));
  const std::string merged = FileNameOf(plan.merged);
  io::AtomicOutput bat, sh;
  if (const int error = bat.open(Staged(folder, baseName + ".Link.bat"), false)) return error;
  if (const int error = bat.write(LinkBatBytes(names, merged))) return error;
  if (const int error = bat.commit(false)) return error;
  if (const int error = sh.open(Staged(folder, baseName + ".link.sh"), false)) return error;
  if (const int error = sh.write(LinkShText(names, merged))) return error;
  // The script may be run directly wherever it may be read.
  struct stat info {};
  if (fstat(sh.fd(), &info) == 0)
    (void)fchmod(sh.fd(), (info.st_mode & 07777) | ((info.st_mode & 0444) >> 2));
  return sh.commit(false);
}

// Puts the staged set in place of the old one. The marker stands while the
// set is neither the old nor the new one; the old scripts go first and the
// new ones come last, so that no script names a piece of the other set.
int SwapIn(const SplitPlan& plan, const std::string& folder, const std::string& baseName) {
  const std::string marker = UnfinishedMarker(plan.base);
  const int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  ::close(fd);
  SyncFolder(folder);
  for (const char* script : {"Link.bat", "link.sh"})
    if (::unlink(InFolder(folder, script).c_str()) != 0 && errno != ENOENT) return errno;
  for (std::int64_t k = 1; k <= plan.count; ++k) {
    const std::string piece = PieceName(plan.base, k);
    if (std::rename(Staged(folder, FileNameOf(piece)).c_str(), piece.c_str()) != 0) return errno;
  }
  // From the top down, so that the run stays unbroken if this is cut off.
  const std::vector<std::string> beyond = PiecesBeyond(plan.base, plan.count);
  for (auto piece = beyond.rbegin(); piece != beyond.rend(); ++piece) {
    if (SameFile(*piece, plan.source)) continue;  // never remove the source itself
    if (::unlink(piece->c_str()) != 0 && errno != ENOENT) return errno;
  }
  for (const char* script : {"Link.bat", "link.sh"}) {
    const std::string staged = Staged(folder, baseName + "." + script);
    if (std::rename(staged.c_str(), InFolder(folder, script).c_str()) != 0) return errno;
  }
  SyncFolder(folder);
  if (::unlink(marker.c_str()) != 0) return errno;
  return 0;
}

}  // namespace

SplitterOutcome RunSplit(const SplitPlan& plan, const SplitProgress& progress) {
  const std::string folder = FolderOf(plan.base);
  const std::string baseName = FileNameOf(plan.base);
  ReapStaged(folder, baseName);
  if (std::optional<SplitterOutcome> refused = CheckOldSet(plan, folder)) return *refused;
  const int source = ::open(plan.source.c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) return Failed(errno);
  int error = 0;
  std::int64_t offset = 0;
  for (std::int64_t k = 1; k <= plan.count && error == 0; ++k) {
    const std::int64_t length = std::min(plan.pieceSize, plan.sourceSize - offset);
    error = WritePiece(source, Staged(folder, FileNameOf(PieceName(plan.base, k))), length, offset, plan, progress);
    offset += length;
  }
  if (error == 0) error = WriteScripts(plan, folder, baseName);
  // One flush of the file system for all pieces and both scripts.
  if (error == 0 && syncfs(source) != 0) error = errno;
  ::close(source);
  if (error != 0) {
    ReapStaged(folder, baseName);
    return Failed(error);
  }
  if ((error = SwapIn(plan, folder, baseName)) != 0) return Failed(error);
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
    if (kind == Kind::Missing) return Unusable("分块文件  " + piece + "  不存在!", SplitterField::MergeList);
    if (kind != Kind::Regular)
      return Unusable("分块文件  " + piece + "  不是普通文件!", SplitterField::MergeList);
    const std::string base = PieceBase(piece);
    if (!base.empty() && SplitUnfinished(base)) return Refuse(kUnfinishedText, SplitterField::MergeList);
    plan.totalSize += size;
  }
  // A device, a pipe, a read-only file or one of the pieces is never
  // replaced: an unusable file, as a failed write is.
  if (const std::optional<Message> refusal = io::DestinationRefusal(target, request.pieces))
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
  io::AtomicOutput output;
  if (const int error = output.open(plan.target, false))
    return error == io::AtomicOutput::kRefused
               ? SplitterOutcome{SplitterStatus::Failed, output.refusal(), SplitterField::MergeTarget}
               : Failed(error);
  std::int64_t done = 0;
  for (const std::string& piece : plan.pieces) {
    const int in = ::open(piece.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return Failed(errno);
    long long copied = 0;
    const int error = io::CopyBytes(in, output.fd(), -1, [&](long long c) {
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

}  // namespace korvane::utilities
