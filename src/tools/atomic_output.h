#pragma once
// A file written in pieces that replaces its target only when complete: the
// bytes go to a temporary file in the target's folder, which is flushed to
// the disk and renamed over the target. Until then the target is untouched,
// and an output that is dropped leaves nothing behind.
#include <functional>
#include <string>
#include <string_view>

namespace korvane {

class AtomicOutput {
 public:
  AtomicOutput() = default;
  ~AtomicOutput();
  AtomicOutput(const AtomicOutput&) = delete;
  AtomicOutput& operator=(const AtomicOutput&) = delete;

  // Creates the temporary file. With keepExisting the target's present
  // content is copied into it first, so that what follows is appended.
  // Returns 0 or the system error number.
  int open(const std::string& target, bool keepExisting);
  int write(std::string_view bytes);
  // The temporary file, for copying into it directly.
  int fd() const { return fd_; }
  // Counts bytes copied into fd() directly; every few megabytes the part
  // not yet on its way is sent to the disk, so that the flush of commit()
  // has less to wait for.
  void copied(long long bytes);
  // Flushes, closes and renames over the target; 0 or the error number.
  // Without flush the caller has flushed the whole file system already.
  int commit(bool flush = true);
  // Removes the temporary file (also done by the destructor).
  void discard();

 private:
  int fd_ = -1;
  long long size_ = 0;     // bytes in the temporary file
  long long sentTo_ = 0;   // the part before this offset is being written back
  void startWriteback();
  std::string target_;
  std::string temporary_;
};

// Copies `length` bytes (or up to the end when length < 0) from one file to
// another at their current positions. `onBlock` is told the bytes copied so
// far and may stop the copy by returning false. Returns 0, the system error
// number, or -1 when stopped.
int CopyBytes(int from, int to, long long length,
              const std::function<bool(long long copied)>& onBlock);

}  // namespace korvane
