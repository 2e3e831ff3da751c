#include "tools/atomic_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

namespace korvane {
namespace {

constexpr long long kCopyBlock = 64LL << 20;  // progress and cancelling every 64 MiB
constexpr std::size_t kBufferBytes = 4 << 20;
constexpr long long kWritebackBytes = 8LL << 20;

std::string TemporaryName(const std::string& target) {
  namespace fs = std::filesystem;
  const fs::path path(target);
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::random_device random;
  return (folder / ("." + path.filename().string() + ".part" + std::to_string(random()))).string();
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
  discard();
  size_ = sentTo_ = 0;
  target_ = target;
  temporary_ = TemporaryName(target);
  fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    const int error = errno;
    temporary_.clear();
    return error;
  }
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    // The replacement keeps the permissions of the file it replaces.
    (void)fchmod(fd_, info.st_mode & 07777);
    if (keepExisting) {
      const int in = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
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
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    fd_ = -1;
    ::unlink(temporary_.c_str());
    temporary_.clear();
    return error;
  }
  temporary_.clear();
  return 0;
}

void AtomicOutput::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

}  // namespace korvane
