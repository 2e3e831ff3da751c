// The whole-file writers, all through the one atomic writer (atomic_output.h).
#include <unistd.h>

#include <cerrno>
#include <string>

#include "io/atomic_output.h"
#include "io/text_file.h"

namespace korvane::io {
namespace {

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

// Writes a temporary file with `fill`, then renames it over the target.
template <typename Fill>
std::string ReplaceFile(const std::string& path, Fill fill) {
  AtomicOutput output;
  int error = output.open(path, false);
  if (error == 0) error = fill(output);
  if (error == 0) error = output.commit();
  return error == 0 ? std::string() : output.errorText(error);
}

}  // namespace

int WriteLines(AtomicOutput& output, const LineSource& produce, std::string_view trailer) {
  // Written in pieces of about 64 KiB; after a failed write the remaining
  // lines are only counted off, and the failure ends the replacement.
  std::string piece;
  int error = 0;
  produce([&](std::string_view line) {
    if (error != 0) return;
    piece += EncodeGbk(ToCrLf(line));
    piece += "\r\n";
    if (piece.size() >= 65536) {
      error = output.write(piece);
      piece.clear();
    }
  });
  if (error != 0) return error;
  piece += trailer;
  return output.write(piece);
}

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
  return ReplaceFile(path, [&](AtomicOutput& output) { return WriteAll(output.fd(), bytes); });
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
  return ReplaceFile(path, [&](AtomicOutput& output) { return WriteLines(output, produce, trailer); });
}

}  // namespace korvane::io
