#pragma once
// The results table as a surveyor prints it: for a line or a loop the hand
// table (points with the sections between them, the sums and the auxiliary
// computation of fh and its limit); for a network the adjusted heights with
// their errors, the corrections per section, the misclosures with their
// limits and the accuracy figures.
#include <string>
#include <vector>

#include "levelling/level_adjust.h"

namespace korvane::levelling {

std::vector<std::string> LevelTableLines(const LevelResult& result);
// The lines joined by "\n", with a final line break.
std::string LevelTableText(const LevelResult& result);

// The heading, e.g. "单一附合水准路线平差计算表（四等，平地，按距离定权）".
std::string ResultTitle(const LevelResult& result);
// Figures as the table and the report print them.
std::string MetresText(double metres);             // 4 decimals
std::string MmText(double mm);                     // 1 decimal, "+" before a positive value
std::string SizeText(double size, formats::Weighting weighting);  // km to 3 decimals, set-ups as counted
std::string LimitText(double mm);                  // "±46.0"
std::string UnitErrorText(const LevelResult& result);  // e.g. "±3.2mm/√km", or why there is none
std::string TestText(const VarianceTest& test, const standards::PriorError& prior);
}  // namespace korvane::levelling
