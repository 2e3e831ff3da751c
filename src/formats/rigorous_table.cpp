#include "formats/rigorous_table.h"

#include <algorithm>
#include <iterator>

#include "core/numbers.h"

namespace korvane::formats {
namespace {

constexpr unsigned char kLongCell = 0xFF;
// Bytes of a cell's length: one, or the mark and four.
constexpr std::size_t kLongLength = 5;

// Where the cell's length begins, its length and where its text begins, in
// the pool.
struct CellSpan {
  std::size_t start = 0, size = 0, text = 0;
  std::size_t end() const { return text + size; }
};

CellSpan FindCell(std::string_view pool, std::size_t rowStart, int column) {
  CellSpan span;
  span.start = rowStart;
  for (int c = 0;; ++c) {
    span.size = static_cast<unsigned char>(pool[span.start]);
    span.text = span.start + 1;
    if (span.size == kLongCell) {
      span.size = 0;
      for (std::size_t k = 0; k < 4; ++k)
        span.size |= static_cast<std::size_t>(static_cast<unsigned char>(pool[span.start + 1 + k])) << (8 * k);
      span.text = span.start + kLongLength;
    }
    if (c == column) return span;
    span.start = span.end();
  }
}

std::string PackedLength(std::size_t size) {
  if (size < kLongCell) return std::string(1, static_cast<char>(size));
  std::string length(1, static_cast<char>(kLongCell));
  for (std::size_t k = 0; k < 4; ++k) length += static_cast<char>((size >> (8 * k)) & 0xFF);
  return length;
}

RigorousRow KnownPointCaptions() {
  return {"编  号", " 测站名", "  X坐标", "  Y坐标", "  高程H", "", "", "", "", ""};
}

RigorousRow StationCaptions() {
  return {"编  号", " 测站名", "  水平角", "  平  距", "往仪高", "往标高", "往竖角", "返仪高", "返标高", "返竖角"};
}

RigorousRow LabelledRow(const char* label) {
  RigorousRow row{};
  row[0] = label;
  return row;
}

}  // namespace

std::string_view RigorousTable::packedRow(int row) const {
  const std::size_t start = rowStart_[static_cast<std::size_t>(row)];
  return std::string_view(pool_).substr(start, FindCell(pool_, start, kRigorousColumns - 1).end() - start);
}

std::string_view RigorousTable::view(int row, int column) const {
  const CellSpan span = FindCell(pool_, rowStart_[static_cast<std::size_t>(row)], column);
  return std::string_view(pool_).substr(span.text, span.size);
}

void RigorousTable::replaceRow(int row, std::string_view packed) {
  replaced_ += packedRow(row).size();
  std::size_t& start = rowStart_[static_cast<std::size_t>(row)];
  if (replaced_ > pool_.size() / 2) {
    // Pack the live rows afresh, leaving out the replaced ones.
    std::string pool;
    for (int r = 0; r < rows(); ++r) {
      if (r == row) continue;
      const std::string_view live = packedRow(r);
      rowStart_[static_cast<std::size_t>(r)] = pool.size();
      pool.append(live);
    }
    pool_ = std::move(pool);
    replaced_ = 0;
  }
  start = pool_.size();
  pool_.append(packed);
}

void RigorousTable::set(int row, int column, std::string_view text) {
  const std::size_t start = rowStart_[static_cast<std::size_t>(row)];
  const CellSpan span = FindCell(pool_, start, column);
  const std::string_view whole = packedRow(row);
  std::string packed(whole.substr(0, span.start - start));
  packed += PackedLength(text.size());
  packed += text;
  packed += whole.substr(span.end() - start);
  replaceRow(row, packed);
}

void RigorousTable::setRow(int row, const RigorousRow& texts) {
  std::string packed;
  for (const std::string& text : texts) packed.append(PackedLength(text.size())).append(text);
  replaceRow(row, packed);
}

// Empty rows all point at one packed empty row until they are set.
void RigorousTable::appendEmptyRow() { pool_.append(kRigorousColumns, '\0'); }

void RigorousTable::insertRows(int row, int count) {
  if (count <= 0) return;
  const std::size_t start = pool_.size();
  appendEmptyRow();
  rowStart_.insert(rowStart_.begin() + row, static_cast<std::size_t>(count), start);
}

void RigorousTable::eraseRows(int row, int count) {
  for (int r = row; r < row + count; ++r) replaced_ += packedRow(r).size();
  rowStart_.erase(rowStart_.begin() + row, rowStart_.begin() + row + count);
}

void RigorousTable::resizeRows(int rows) {
  if (rows < this->rows()) {
    eraseRows(rows, this->rows() - rows);
    return;
  }
  insertRows(this->rows(), rows - this->rows());
}

bool RigorousTable::operator==(const RigorousTable& other) const {
  if (rows() != other.rows()) return false;
  for (int r = 0; r < rows(); ++r) {
    if (packedRow(r) != other.packedRow(r)) return false;
  }
  return true;
}

RigorousTable InitialRigorousTable() {
  RigorousTable table;
  RigorousRow top = KnownPointCaptions();
  top[0] = "编   号";
  const RigorousRow rows[] = {top, LabelledRow("定向点"), LabelledRow("起  点"), StationCaptions(),
                              LabelledRow("1"), KnownPointCaptions(), LabelledRow("终  点"), LabelledRow("附合点")};
  table.resizeRows(static_cast<int>(std::size(rows)));
  for (int r = 0; r < table.rows(); ++r) table.setRow(r, rows[r]);
  return table;
}

RigorousTable EmptyRigorousTable(int stations) {
  RigorousTable table = InitialRigorousTable();
  ResizeStations(table, stations);
  return table;
}

void ResizeStations(RigorousTable& table, int stations) {
  stations = std::max(stations, 1);
  const int current = table.stationCount();
  const int first = RigorousTable::stationRow(1);
  if (stations > current) {
    table.insertRows(first, stations - current);
  } else if (stations < current) {
    table.eraseRows(first, current - stations);
  }
  NumberStations(table);
}

void NumberStations(RigorousTable& table) {
  const int n = table.stationCount();
  for (int i = 1; i <= n; ++i) table.at(RigorousTable::stationRow(i), 0) = StrNumber(static_cast<double>(i));
  table.setRow(table.rows() - 3, KnownPointCaptions());
  table.at(table.endRow(), 0) = "终  点";
  table.at(table.connectRow(), 0) = "附合点";
}

}  // namespace korvane::formats
