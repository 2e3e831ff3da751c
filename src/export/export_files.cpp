#include "export/export_files.h"

#include <cerrno>

#include "io/atomic_output.h"
#include "io/text_file.h"
#include "export/dxf_drawing.h"
#include "export/point_list.h"

namespace korvane::exporting {
namespace {

using io::AtomicOutput;
using io::DestinationRefusal;
using io::EncodeGbk;

std::optional<Message> Save(const std::string& path, const std::string& bytes, const std::vector<std::string>& inputs) {
  if (std::optional<Message> refusal = DestinationRefusal(path, inputs)) return refusal;
  AtomicOutput output;
  int error = output.open(path, false);
  if (error == AtomicOutput::kRefused) return output.refusal();
  if (error == 0) error = output.write(bytes);
  if (error == 0) error = output.commit();
  if (error == 0) return std::nullopt;
  output.discard();
  if (error == ENOSPC || error == EDQUOT) return DiskFullMessage();
  return Message{output.errorText(error), "提示", MessageIcon::Warning};
}

ExportWrite SaveLines(const std::string& path, const ListLines& list, bool utf8, const std::vector<std::string>& inputs) {
  if (list.refusal) return ExportWrite{list.refusal, true};
  std::string bytes;
  for (const std::string& line : list.lines) {
    bytes += utf8 ? line : EncodeGbk(line);
    bytes += "\r\n";
  }
  return ExportWrite{Save(path, bytes, inputs)};
}

}  // namespace

Message DiskFullMessage() { return Message{"磁盘满，空间不够!", "提示", MessageIcon::Critical}; }

ExportWrite SaveDrawing(const std::string& path, const Figure& figure, const std::vector<std::string>& inputs) {
  return ExportWrite{Save(path, DxfDrawing(figure), inputs)};
}

ExportWrite SaveCoordinateList(const std::string& path, const Figure& figure, bool utf8,
                               const std::vector<std::string>& inputs) {
  return SaveLines(path, CoordinateLines(figure), utf8, inputs);
}

ExportWrite SaveHeightList(const std::string& path, const std::vector<HeightPoint>& points, bool utf8,
                           const std::vector<std::string>& inputs) {
  return SaveLines(path, HeightLines(points), utf8, inputs);
}

}  // namespace korvane::exporting
