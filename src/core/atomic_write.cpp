// The atomic writer behind every file the program writes: a temporary file
// beside the target, flushed to disk, then renamed over the target.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

#include "message_text.h"
#include "text_file.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTemporaryMark = ".korvane-tmp-";

// ".NAME.korvane-tmp-" for the target NAME.
std::string TemporaryPrefix(const fs::path& target) {
  return "." + target.filename().string() + std::string(kTemporaryMark);
}

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

// Removes the temporary files of this target that a killed process left.
void RemoveStaleTemporaries(const fs::path& folder, const fs::path& target) {
  const std::string prefix = TemporaryPrefix(target);
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return;
  for (const fs::directory_entry& entry : it) {
    const pid_t owner = TemporaryOwner(entry.path().filename().string(), prefix);
    if (owner == 0 || ProcessRuns(owner)) continue;
    std::error_code ignored;
    if (entry.is_regular_file(ignored)) fs::remove(entry.path(), ignored);
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Makes the rename itself durable.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::string Failure(const std::string& path, const std::string& reason) {
  return "无法写入文件：" + path + "（" + reason + "）";
}

}  // namespace

namespace {

// Writes a temporary file with `fill`, then renames it over the target.
template <typename Fill>
std::string ReplaceFile(const std::string& path, Fill fill) {
  static std::atomic<unsigned long long> counter{0};
  const fs::path target(path);
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  RemoveStaleTemporaries(folder, target);
  const fs::path temporary = folder / (TemporaryPrefix(target) + std::to_string(::getpid()) + "-" +
                                       std::to_string(counter.fetch_add(1)));
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return Failure(path, SystemErrorText(errno));
  const bool written = fill(fd) && ::fsync(fd) == 0;
  const int writeErrno = errno;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return Failure(path, SystemErrorText(written ? errno : writeErrno));
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const std::string reason = SystemErrorText(errno);
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return Failure(path, reason);
  }
  SyncFolder(folder);
  return {};
}

}  // namespace

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
  return ReplaceFile(path, [&](int fd) { return WriteAll(fd, bytes); });
}

std::string WriteLinesAtomically(const std::string& path, const std::vector<std::string>& lines,
                                 std::string_view trailer) {
  return WriteLinesAtomically(
      path, [&](const LineSink& sink) {
        for (const std::string& line : lines) sink(line);
      },
      trailer);
}

std::string WriteLinesAtomically(const std::string& path, const LineSource& produce, std::string_view trailer) {
  return ReplaceFile(path, [&](int fd) {
    // Written in pieces of about 64 KiB; after a failed write the remaining
    // lines are only counted off, and the failure ends the replacement.
    std::string piece;
    bool failed = false;
    produce([&](std::string_view line) {
      if (failed) return;
      piece += EncodeGbk(ToCrLf(line));
      piece += "\r\n";
      if (piece.size() >= 65536) {
        failed = !WriteAll(fd, piece);
        piece.clear();
      }
    });
    if (failed) return false;
    piece += trailer;
    return WriteAll(fd, piece);
  });
}

}  // namespace korvane
