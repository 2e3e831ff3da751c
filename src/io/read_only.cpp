#include "io/read_only.h"

#include <unistd.h>

#include <filesystem>

namespace korvane::io {

namespace fs = std::filesystem;

bool IsReadOnlyFile(const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status) || fs::is_directory(status)) return false;
  return (status.permissions() & fs::perms::owner_write) == fs::perms::none ||
         ::access(path.c_str(), W_OK) != 0;
}

bool SetReadOnlyFile(const std::string& path, bool readOnly) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return false;
  if (readOnly) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove, ec);
  } else {
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
  }
  return !ec;
}

}  // namespace korvane::io
