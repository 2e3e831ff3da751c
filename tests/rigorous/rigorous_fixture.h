#pragma once
// Small traverses for the tests: tables built from rows of texts.
#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/rigorous_table.h"

namespace korvane::testing_rigorous {

using Station = std::array<std::string, 9>;  // name, angle, distance, i_f, v_f, a_f, i_b, v_b, a_b
using KnownPoint = std::array<std::string, 4>;  // name, X, Y, H

inline formats::RigorousTable MakeTable(const KnownPoint& a, const KnownPoint& b, const std::vector<Station>& stations,
                               const KnownPoint& c, const KnownPoint& d) {
  formats::RigorousTable t = formats::EmptyRigorousTable(static_cast<int>(stations.size()));
  for (int k = 0; k < 4; ++k) {
    t.at(1, k + 1) = a[k];
    t.at(2, k + 1) = b[k];
    t.at(t.endRow(), k + 1) = c[k];
    t.at(t.connectRow(), k + 1) = d[k];
  }
  for (std::size_t i = 0; i < stations.size(); ++i) {
    for (int k = 0; k < 9; ++k) t.at(formats::RigorousTable::stationRow(static_cast<int>(i) + 1), k + 1) = stations[i][k];
  }
  return t;
}

// A four-station traverse: A west of B, then east 200 m, south 150 m, east
// 200 m to C, and D east of C; angles off by +10", +5", -10", +8",
// distances by a few millimetres; two-way levelling on every side.
inline formats::RigorousTable FourStationTable() {
  return MakeTable({"A", "1000.000", "1000.000", "100.000"}, {"B", "1000.000", "1200.000", "101.000"},
                   {
                       {"B", "180.0010", "200.004", "1.50", "1.60", "0.3000", "1.60", "1.50", "-0.3010"},
                       {"P1", "270.0005", "150.002", "1.50", "1.50", "-0.1500", "1.50", "1.50", "0.1500"},
                       {"P2", "89.5950", "199.995", "1.40", "1.40", "0.1000", "1.40", "1.40", "-0.1000"},
                       {"C", "180.0008", "0", "0", "0", "0", "0", "0", "0"},
                   },
                   {"C", "850.000", "1600.000", "102.584"}, {"D", "850.000", "1800.000", "103.000"});
}

// The four-station traverse as a data file, its first line " 3, 5, 3, 2,  0".
inline std::string FourStationFilePath() { return std::string(KORVANE_TEST_DATA) + "/rigorous/four_stations.dat"; }
inline std::string FourStationFileText() {
  std::ifstream in(FourStationFilePath(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline formats::RigorousParameters Params(const std::string& tym, const std::string& cj, const std::string& j,
                                 const std::string& c) {
  formats::RigorousParameters p;
  p.sideCount = " 3";
  p.projectionHeight = tym;
  p.priorAngleError = cj;
  p.additiveConstant = j;
  p.scaleConstant = c;
  return p;
}

}  // namespace korvane::testing_rigorous
