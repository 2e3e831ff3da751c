// Writes the example traverses of examples/: one data file per kind (GBK,
// CR LF) and its start-data file in the 128-byte record format.
// Usage: make_examples OUTPUT_FOLDER
#include <iostream>
#include <string>
#include <vector>

#include "core/start_data.h"
#include "core/text_file.h"

namespace {

struct Example {
  std::string name;
  std::vector<std::string> dataLines;
  std::vector<std::string> start;  // records 1..13
};

std::vector<Example> Examples() {
  return {
      {"connecting",
       {"F,K9",
        "K1,109.04276,346.676,1.535,1.686,0.36459,1.387,1.705,-0.32102",
        "P1,233.43284,360.838,1.369,1.621,-1.01248,1.489,1.517,1.04105",
        "P2,112.2022,363.161,1.481,1.746,0.27414,0,0,0",
        "P3,-124.16212,384.912,1.388,1.597,0.22115,1.356,1.686,-0.17266",
        "K9,103.10094,0,0,0,0,0,0,0"},
       {"3000.000", "2500.000", "52.350", "3520.114", "1984.337", "3105.300", "3780.455", "54.160",
        "3662.905", "4093.118", "", "", ""}},
      {"closed",
       {"B,G1",
        "G1,344.38354,265.858,1.450,1.765,0.50433,1.550,1.898,-0.42108",
        "G2,-107.09046,261.715,1.413,1.592,-0.12487,1.503,1.660,0.17144",
        "G3,-105.09375,277.826,1.542,1.839,-1.14318,1.532,1.688,1.201",
        "G4,-108.2701,276.409,1.365,1.752,0.21493,1.367,1.633,-0.13439",
        "G5,-103.55,247.531,1.374,1.599,0.37515,1.509,1.571,-0.33508",
        "G1,-99.57474,0,0,0,0,0,0,0"},
       {"5000.000", "1000.000", "108.420", "5210.000", "1380.000", "", "", "", "", "", "", "5", "5"}},
      {"open",
       {"Z,Z3",
        "Z0,214.44126,296.448,1.376,1.757,0.31114,0,0,0",
        "北山,207.20085,317.586,1.393,1.608,-0.16362,1.411,1.854,0.23473",
        "Z2,135.48376,274.751,1.521,1.757,0.50281,1.393,1.603,-0.44407"},
       {"2310.502", "5205.118", "31.556", "33.265568", "", "", "", "", "", "", "30", "3", "2"}},
      {"no_orientation",
       {"W,W9",
        "W1,87.14042,263.484,1.409,1.529,0.33009,1.368,1.733,-0.26438",
        "W2,221.16241,282.863,1.542,1.693,0.32095,1.465,1.847,-0.25379",
        "W3,130.31369,247.102,1.400,1.576,-0.20496,1.498,1.876,0.28314",
        "W4,232.42056,291.885,1.434,1.542,0.41537,1.358,1.885,-0.34273"},
       {"1200.000", "800.000", "20.100", "", "", "1460.417", "1760.004", "26.790", "", "", "", "3", "2"}},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_examples OUTPUT_FOLDER\n";
    return 1;
  }
  const std::string folder = argv[1];
  for (const Example& e : Examples()) {
    std::string text;
    for (const std::string& line : e.dataLines) text += line + "\n";
    korvane::StartRecord record;
    for (int k = 1; k <= korvane::kStartRecordCount; ++k) record.record(k) = e.start[k - 1];
    std::string error = korvane::WriteTextFile(folder + "/" + e.name + ".dat", text);
    if (error.empty()) error = korvane::WriteStartFile(folder + "/" + e.name + ".ini", record);
    if (!error.empty()) {
      std::cerr << e.name << ": " << error << "\n";
      return 1;
    }
  }
  return 0;
}
