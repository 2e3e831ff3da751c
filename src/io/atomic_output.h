#pragma once
// The one writer behind every file the program writes. The bytes go to a
// temporary file ".NAME.korvane-tmp-PID-N" in the target's folder, which is
// flushed to the disk and renamed over the target: until then the target is
// untouched, and an output that is dropped leaves nothing behind. Temporary
// files of that pattern whose process no longer runs, and ".NAME.part…" files
// of earlier versions, are removed when the target is next written.
//
// A destination is refused before anything is written when it exists and is
// no regular file (a device, a pipe, a folder, a dangling symbolic link) or
// is read-only. A symbolic link is followed: its target is replaced and the
// link stays. A replaced file keeps its permissions, and its owner where the
// process may set it.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"

namespace korvane::io {

// The name of a file as messages show it: as it is when it is UTF-8, else its
// bytes read as GBK (a name written on a Chinese Windows disk).
std::string PathForDisplay(std::string_view path);

// "文件只读,请先改变文件属性", title "提示".
Message ReadOnlyFileMessage();

// Why the destination may not be written, or nothing: it exists and is no
// regular file, it is read-only, or it is one of `inputs` (the same file by
// device and inode, whatever its name).
std::optional<Message> DestinationRefusal(const std::string& path, const std::vector<std::string>& inputs = {});

class AtomicOutput {
 public:
  // Returned by open() when the destination is refused; refusal() tells why.
  static constexpr int kRefused = -1000;

  AtomicOutput() = default;
  ~AtomicOutput();
  AtomicOutput(const AtomicOutput&) = delete;
  AtomicOutput& operator=(const AtomicOutput&) = delete;

  // Creates the temporary file. With keepExisting the target's present
  // content is copied into it first, so that what follows is appended.
  // Returns 0, the system error number, or kRefused.
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

  // Why open() refused the destination.
  const Message& refusal() const { return refusal_; }
  // The message for an error number of this output: the refusal, or
  // "无法写入文件：PATH（reason）".
  std::string errorText(int error) const;

 private:
  int fd_ = -1;
  long long size_ = 0;     // bytes in the temporary file
  long long sentTo_ = 0;   // the part before this offset is being written back
  void startWriteback();
  std::string named_;      // the target as given
  std::string target_;     // the file replaced: a symbolic link's target
  std::string temporary_;
  Message refusal_;
};

// Copies `length` bytes (or up to the end when length < 0) from one file to
// another at their current positions. `onBlock` is told the bytes copied so
// far and may stop the copy by returning false. Returns 0, the system error
// number, or -1 when stopped.
int CopyBytes(int from, int to, long long length,
              const std::function<bool(long long copied)>& onBlock);

}  // namespace korvane::io
