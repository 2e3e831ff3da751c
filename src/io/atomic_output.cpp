#include "io/atomic_output.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>

#include "core/message_text.h"
#include "io/read_only.h"
#include "io/text_file.h"
#include "core/utf8.h"

namespace korvane::io {
namespace {

namespace fs = std::filesystem;

constexpr long long kCopyBlock = 64LL << 20;  // progress and cancelling every 64 MiB
constexpr std::size_t kBufferBytes = 4 << 20;
constexpr long long kWritebackBytes = 8LL << 20;
// A ".NAME.part…" file of an earlier version unchanged for this long belongs
// to a write that was killed.
constexpr std::time_t kOldPartSeconds = 10 * 60;

constexpr std::string_view kTemporaryMark = ".korvane-tmp-";

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// The PID of a temporary file name "PREFIX" + PID + "-" + N, or 0 when the
// name does not follow that pattern exactly.
pid_t TemporaryOwner(std::string_view name, std::string_view prefix) {
  if (name.substr(0, prefix.size()) != prefix) return 0;
  const std::string_view rest = name.substr(prefix.size());
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos) return 0;
  const std::string_view pidText = rest.substr(0, dash);
  if (!AllDigits(pidText) || !AllDigits(rest.substr(dash + 1))) return 0;
  long long pid = 0;
  const auto [end, ec] = std::from_chars(pidText.data(), pidText.data() + pidText.size(), pid);
  if (ec != std::errc() || end != pidText.data() + pidText.size() || pid <= 0 || pid > INT_MAX) return 0;
  return static_cast<pid_t>(pid);
}

bool ProcessRuns(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// True for a temporary file of the target that no running write owns: one of
// this writer whose process is gone, or an old ".NAME.part<digits>" one.
bool StaleTemporary(const std::string& name, const std::string& targetName, const struct stat& info) {
  if (!S_ISREG(info.st_mode)) return false;
  const std::string dotted = "." + targetName;
  if (name.compare(0, dotted.size(), dotted) != 0) return false;
  if (const pid_t owner = TemporaryOwner(name, dotted + std::string(kTemporaryMark))) return !ProcessRuns(owner);
  const std::string_view rest = std::string_view(name).substr(dotted.size());
  return rest.substr(0, 5) == ".part" && AllDigits(rest.substr(5)) &&
         std::time(nullptr) - info.st_mtime >= kOldPartSeconds;
}

// Removes the temporary files of this target that a killed write left.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& targetName) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return;
  for (const fs::directory_entry& entry : it) {
    const std::string name = entry.path().filename().string();
    struct stat info {};
    if (::lstat(entry.path().c_str(), &info) != 0 || !StaleTemporary(name, targetName, info)) continue;
    ::unlink(entry.path().c_str());
  }
}

// Makes a rename durable.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

fs::path FolderOf(const fs::path& path) {
  const fs::path folder = path.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

Message NotRegularMessage(const std::string& path) {
  return {"不是普通文件，不予写入：" + PathForDisplay(path), "提示", MessageIcon::Warning};
}

// The file a write to `path` replaces: the path itself, or the final target
// of a symbolic link. Empty with the refusal for a dangling link.
std::string ResolvedTarget(const std::string& path, std::optional<Message>& refusal) {
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  std::error_code ec;
  const fs::path target = fs::canonical(path, ec);
  if (ec) {
    refusal = NotRegularMessage(path);
    return {};
  }
  return target.string();
}

// Copies with the kernel when it can, else through a buffer.
int CopyBlock(int from, int to, long long length, long long& copied, bool& kernelCopy) {
  while (length > 0) {
    ssize_t n = -1;
    if (kernelCopy) {
      n = copy_file_range(from, nullptr, to, nullptr, static_cast<std::size_t>(length), 0);
      if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
        kernelCopy = false;
        continue;
      }
    } else {
      static thread_local std::vector<char> buffer(kBufferBytes);
      const std::size_t want = static_cast<std::size_t>(std::min<long long>(length, kBufferBytes));
      n = ::read(from, buffer.data(), want);
      for (ssize_t done = 0; n > 0 && done < n;) {
        const ssize_t w = ::write(to, buffer.data() + done, static_cast<std::size_t>(n - done));
        if (w < 0 && errno == EINTR) continue;
        if (w < 0) return errno;
        done += w;
      }
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) break;  // end of the source
    copied += n;
    length -= n;
  }
  return 0;
}

}  // namespace

std::string PathForDisplay(std::string_view path) {
  return IsStrictUtf8(path) ? std::string(path) : DecodeGbk(path);
}

Message ReadOnlyFileMessage() { return {"文件只读,请先改变文件属性", "提示", MessageIcon::Information}; }

std::optional<Message> DestinationRefusal(const std::string& path, const std::vector<std::string>& inputs) {
  std::optional<Message> refusal;
  const std::string target = ResolvedTarget(path, refusal);
  if (refusal) return refusal;
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) return std::nullopt;  // a new file
  if (!S_ISREG(info.st_mode)) return NotRegularMessage(path);
  if (IsReadOnlyFile(target)) return ReadOnlyFileMessage();
  for (const std::string& input : inputs) {
    struct stat in {};
    if (!input.empty() && ::stat(input.c_str(), &in) == 0 && in.st_dev == info.st_dev && in.st_ino == info.st_ino)
      return Message{"输出文件就是输入文件，不予写入：" + PathForDisplay(path), "提示", MessageIcon::Warning};
  }
  return std::nullopt;
}


int CopyBytes(int from, int to, long long length,
              const std::function<bool(long long copied)>& onBlock) {
  long long copied = 0;
  bool kernelCopy = true;
  while (length < 0 || copied < length) {
    const long long want = length < 0 ? kCopyBlock : std::min(kCopyBlock, length - copied);
    const long long before = copied;
    if (const int error = CopyBlock(from, to, want, copied, kernelCopy)) return error;
    if (onBlock && !onBlock(copied)) return -1;
    if (copied - before < want) {
      // The source ended early: fine when copying to its end, a fault when
      // a length was promised (the file shrank while it was read).
      return length < 0 ? 0 : EIO;
    }
  }
  return 0;
}

AtomicOutput::~AtomicOutput() { discard(); }

int AtomicOutput::open(const std::string& target, bool keepExisting) {
  static std::atomic<unsigned long long> counter{0};
  discard();
  size_ = sentTo_ = 0;
  named_ = target;
  if (const std::optional<Message> refused = DestinationRefusal(target)) {
    refusal_ = *refused;
    return kRefused;
  }
  std::optional<Message> dangling;
  target_ = ResolvedTarget(target, dangling);
  const fs::path resolved(target_);
  const fs::path folder = FolderOf(resolved);
  const std::string name = resolved.filename().string();
  RemoveStaleTemporaries(folder, name);
  temporary_ = (folder / ("." + name + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" +
                          std::to_string(counter.fetch_add(1))))
                   .string();
  fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    const int error = errno;
    temporary_.clear();
    return error;
  }
  struct stat info {};
  if (::stat(target_.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    // The replacement keeps the owner (where this process may give it) and
    // the permissions of the file it replaces; the owner first, since a
    // change of owner clears the set-id bits.
    (void)fchown(fd_, info.st_uid, info.st_gid);
    (void)fchmod(fd_, info.st_mode & 07777);
    if (keepExisting) {
      const int in = ::open(target_.c_str(), O_RDONLY | O_CLOEXEC);
      if (in < 0) return errno;
      const int error = CopyBytes(in, fd_, -1, nullptr);
      ::close(in);
      if (error) return error;
      size_ = lseek(fd_, 0, SEEK_CUR);
    }
  }
  return 0;
}

int AtomicOutput::write(std::string_view bytes) {
  const long long count = static_cast<long long>(bytes.size());
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  copied(count);
  return 0;
}

void AtomicOutput::copied(long long bytes) {
  size_ += bytes;
  if (size_ - sentTo_ >= kWritebackBytes) startWriteback();
}

void AtomicOutput::startWriteback() {
  if (fd_ >= 0) (void)sync_file_range(fd_, sentTo_, size_ - sentTo_, SYNC_FILE_RANGE_WRITE);
  sentTo_ = size_;
}

int AtomicOutput::commit(bool flush) {
  if (fd_ < 0) return EBADF;
  if (flush && fsync(fd_) != 0) return errno;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return errno;
  // Whatever took the target's place meanwhile is not replaced either.
  struct stat info {};
  if (::stat(target_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    discard();
    refusal_ = NotRegularMessage(named_);
    return kRefused;
  }
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary_.c_str());
    temporary_.clear();
    return error;
  }
  temporary_.clear();
  if (flush) SyncFolder(FolderOf(fs::path(target_)));
  return 0;
}

std::string AtomicOutput::errorText(int error) const {
  if (error == kRefused) return refusal_.text;
  return "无法写入文件：" + PathForDisplay(named_) + "（" + SystemErrorText(error) + "）";
}

void AtomicOutput::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

}  // namespace korvane::io
