#include "rigorous/rigorous_table.h"

#include <algorithm>

#include "core/numbers.h"

namespace korvane {
namespace {

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

RigorousTable InitialRigorousTable() {
  RigorousTable table;
  RigorousRow top = KnownPointCaptions();
  top[0] = "编   号";
  table.cells.push_back(top);
  table.cells.push_back(LabelledRow("定向点"));
  table.cells.push_back(LabelledRow("起  点"));
  table.cells.push_back(StationCaptions());
  table.cells.push_back(LabelledRow("1"));
  table.cells.push_back(KnownPointCaptions());
  table.cells.push_back(LabelledRow("终  点"));
  table.cells.push_back(LabelledRow("附合点"));
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
  const auto first = table.cells.begin() + RigorousTable::stationRow(1);
  if (stations > current) {
    table.cells.insert(first, static_cast<std::size_t>(stations - current), RigorousRow{});
  } else if (stations < current) {
    table.cells.erase(first, first + (current - stations));
  }
  NumberStations(table);
}

void NumberStations(RigorousTable& table) {
  const int n = table.stationCount();
  for (int i = 1; i <= n; ++i) table.at(RigorousTable::stationRow(i), 0) = StrNumber(static_cast<double>(i));
  table.cells[table.rows() - 3] = KnownPointCaptions();
  table.at(table.endRow(), 0) = "终  点";
  table.at(table.connectRow(), 0) = "附合点";
}

}  // namespace korvane
