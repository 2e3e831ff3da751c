#pragma once
// Drawings and coordinate lists saved through the one atomic writer: a
// destination that may not be written is refused before anything is
// written, a full disk says so, and a failure leaves the target as it was.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "export/figure.h"

namespace korvane::exporting {

struct ExportWrite {
  std::optional<Message> problem;
  // The content itself was refused (a name holding a comma), rather than the
  // file: nothing was written.
  bool contentRefused = false;
  bool ok() const { return !problem.has_value(); }
};

// "磁盘满，空间不够!": the file did not fit on the disk.
Message DiskFullMessage();

// `inputs` are the files the result was computed from: none of them may be
// the destination.
ExportWrite SaveDrawing(const std::string& path, const Figure& figure, const std::vector<std::string>& inputs = {});
// GBK with CR LF, or UTF-8 (still CR LF) with utf8.
ExportWrite SaveCoordinateList(const std::string& path, const Figure& figure, bool utf8,
                               const std::vector<std::string>& inputs = {});
ExportWrite SaveHeightList(const std::string& path, const std::vector<HeightPoint>& points, bool utf8,
                           const std::vector<std::string>& inputs = {});

}  // namespace korvane::exporting
