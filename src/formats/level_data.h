#pragma once
// The data of a levelling computation: how the sections are weighted, the
// grade and terrain that set the limits, the known benchmarks and the
// observed sections.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::formats {

// Weight of a section: 1/L (length in km) or 1/n (number of set-ups).
enum class Weighting { Length, SetUps };
enum class Grade { Second, Third, Fourth, Fifth, Mapping };  // 二等 三等 四等 五等 图根
enum class Terrain { Flat, Hilly };                          // 平地 山地
// The three computations offered.
enum class Method { Line, Loop, Network };  // 单一附合环 单一闭合环 水准交叉网

struct Parameters {
  Weighting weighting = Weighting::Length;
  Grade grade = Grade::Fourth;
  Terrain terrain = Terrain::Flat;
  bool operator==(const Parameters&) const = default;
};

struct Benchmark {
  std::string name;
  double height = 0;  // m
  bool operator==(const Benchmark&) const = default;
};

struct Section {
  std::string from;
  std::string to;
  double dh = 0;    // observed height difference from -> to, m
  double size = 0;  // length in km, or number of set-ups
  bool operator==(const Section&) const = default;
};

struct LevelData {
  Parameters params;
  std::vector<Benchmark> benchmarks;
  std::vector<Section> sections;
  bool operator==(const LevelData&) const = default;
};

// The texts the file and the windows use.
const std::vector<std::string>& GradeNames();    // 二等 … 图根, in Grade order
const std::vector<std::string>& TerrainNames();  // 平地, 山地
std::string GradeName(Grade grade);
std::string TerrainName(Terrain terrain);
std::string WeightingCode(Weighting weighting);  // "L" or "n"
std::string MethodName(Method method);
std::optional<Grade> GradeByName(std::string_view name);
std::optional<Terrain> TerrainByName(std::string_view name);
std::optional<Weighting> WeightingByCode(std::string_view code);  // L/l or n/N

// The name of a section's size column and its unit, e.g. "距离L(km)".
std::string SizeCaption(Weighting weighting);

}  // namespace korvane::formats
