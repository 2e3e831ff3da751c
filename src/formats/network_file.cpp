#include "formats/network_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <sstream>

#include "core/numbers.h"
#include "core/angles.h"
#include "formats/line_fields.h"
#include "core/message_text.h"
#include "io/text_file.h"
#include "core/text_utils.h"

namespace korvane::formats {
namespace {

constexpr double kMinOwnSigma = 1e-4;
constexpr double kMaxOwnSigma = 1e6;

struct LineError {
  std::string reason;
};

// A strict decimal number: optional sign, digits, optional fraction or
// exponent, nothing else; infinities and NaN are refused.
bool ParseNumber(std::string_view text, double& value) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return false;
  const char* first = trimmed.data();
  const char* last = first + trimmed.size();
  if (*first == '+') ++first;
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  return ec == std::errc() && ptr == last && std::isfinite(value);
}

class RecordReader {
 public:
  explicit RecordReader(NetworkInput& input) : in_(input) {}
  // The reason the line is refused, empty when it is accepted.
  std::string read(const std::vector<std::string>& f, int line);

 private:
  std::string number(const std::string& text, const char* what, double& value) const;
  std::string angle(const std::string& text, double& dms) const;
  std::string name(const std::string& text, std::string& out) const;
  std::string sigma(const std::vector<std::string>& f, std::size_t at, std::optional<double>& out) const;
  std::string param(const std::vector<std::string>& f);
  std::string point(const std::vector<std::string>& f, int line);
  std::string set(const std::vector<std::string>& f, int line);
  std::string direction(const std::vector<std::string>& f, int line);
  std::string angleRecord(const std::vector<std::string>& f, int line);
  std::string distance(const std::vector<std::string>& f, int line);
  std::string azimuth(const std::vector<std::string>& f, int line);

  NetworkInput& in_;
  std::map<std::string, int> openSet_;  // station -> its current direction set
  std::map<std::string, int> knownLine_;
};

std::string RecordReader::number(const std::string& text, const char* what, double& value) const {
  if (!ParseNumber(text, value)) return std::string(what) + "“" + Quoted(Trim(text)) + "”不是数值";
  return {};
}

std::string RecordReader::angle(const std::string& text, double& dms) const {
  if (!ParseNumber(text, dms)) return "角度“" + Quoted(Trim(text)) + "”不是数值";
  if (dms < 0 || dms >= 360) return "角度“" + Quoted(Trim(text)) + "”不在 0 至 360 度之间";
  if (!ValidDms(dms)) return "角度“" + Quoted(Trim(text)) + "”的分或秒不小于 60";
  return {};
}

std::string RecordReader::name(const std::string& text, std::string& out) const {
  out = Trim(text);
  if (out.empty()) return "点名为空";
  return {};
}

// The optional own standard deviation in field `at`: a positive finite number.
std::string RecordReader::sigma(const std::vector<std::string>& f, std::size_t at, std::optional<double>& out) const {
  if (f.size() <= at) return {};
  double value = 0;
  if (auto e = number(f[at], "中误差", value); !e.empty()) return e;
  if (!(value > 0)) return "中误差“" + Quoted(Trim(f[at])) + "”必须大于 0";
  // Far smaller or larger deviations leave the normal equations without digits.
  if (value < kMinOwnSigma || value > kMaxOwnSigma)
    return "中误差“" + Quoted(Trim(f[at])) + "”不在 0.0001 至 1000000 之间";
  out = value;
  return {};
}

std::string RecordReader::param(const std::vector<std::string>& f) {
  if (in_.hasPrecision) return "PARAM 只能出现一次";
  if (f.size() != 5) return "PARAM 应有 4 个数值（方向、角度中误差（秒），测距固定误差 a（mm）、比例误差 b（ppm））";
  NetworkPrecision p;
  for (auto [text, value] : {std::pair{&f[1], &p.directionSec}, std::pair{&f[2], &p.angleSec},
                             std::pair{&f[3], &p.aMm}, std::pair{&f[4], &p.bPpm}}) {
    if (auto e = number(*text, "中误差", *value); !e.empty()) return e;
  }
  if (!(p.directionSec > 0) || !(p.angleSec > 0)) return "方向和角度中误差必须大于 0";
  if (p.aMm < 0 || p.bPpm < 0 || !(p.aMm + p.bPpm > 0)) return "测距误差 a、b 不能为负且不能都为 0";
  in_.precision = p;
  in_.hasPrecision = true;
  return {};
}

std::string RecordReader::point(const std::vector<std::string>& f, int line) {
  if (f.size() != 4 && f.size() != 5) return "POINT 应为：POINT, 点名, X, Y 或 POINT, 点名, X, Y, DATUM";
  NetworkKnownPoint p;
  p.line = line;
  if (f.size() == 5) {
    if (ToLowerAscii(Trim(f[4])) != "datum")
      return "POINT 应为：POINT, 点名, X, Y 或 POINT, 点名, X, Y, DATUM（第 5 项“" + Quoted(Trim(f[4])) + "”不是 DATUM）";
    p.datum = true;
  }
  if (auto e = name(f[1], p.name); !e.empty()) return e;
  if (auto e = number(f[2], "坐标", p.x); !e.empty()) return e;
  if (auto e = number(f[3], "坐标", p.y); !e.empty()) return e;
  if (std::fabs(p.x) > 1e8 || std::fabs(p.y) > 1e8) return "坐标超出 ±100000 km";
  if (auto it = knownLine_.find(p.name); it != knownLine_.end())
    return "已知点“" + Quoted(p.name) + "”已在第 " + std::to_string(it->second) + " 行给出";
  knownLine_[p.name] = line;
  in_.known.push_back(std::move(p));
  return {};
}

std::string RecordReader::set(const std::vector<std::string>& f, int line) {
  if (f.size() != 2) return "SET 应为：SET, 测站";
  NetworkDirectionSet s;
  s.line = line;
  if (auto e = name(f[1], s.station); !e.empty()) return e;
  // A station's earlier set takes no more directions.
  openSet_[s.station] = static_cast<int>(in_.sets.size());
  in_.sets.push_back(std::move(s));
  return {};
}

std::string RecordReader::direction(const std::vector<std::string>& f, int line) {
  if (f.size() != 4 && f.size() != 5) return "DIR 应为：DIR, 测站, 照准点, 方向值[, 中误差（秒）]";
  std::string station;
  NetworkDirection d;
  d.line = line;
  if (auto e = name(f[1], station); !e.empty()) return e;
  if (auto e = name(f[2], d.target); !e.empty()) return e;
  if (station == d.target) return "测站与照准点相同";
  if (auto e = angle(f[3], d.dms); !e.empty()) return e;
  if (auto e = sigma(f, 4, d.sigma); !e.empty()) return e;
  const auto it = openSet_.find(station);
  if (it == openSet_.end()) return "测站“" + Quoted(station) + "”的方向之前没有方向组（SET）行";
  // A target read twice in one set gives two observations of the same direction.
  in_.sets[it->second].directions.push_back(std::move(d));
  return {};
}

std::string RecordReader::angleRecord(const std::vector<std::string>& f, int line) {
  if (f.size() != 5 && f.size() != 6) return "ANGLE 应为：ANGLE, 测站, 后视点, 前视点, 角值[, 中误差（秒）]";
  NetworkAngle a;
  a.line = line;
  if (auto e = name(f[1], a.station); !e.empty()) return e;
  if (auto e = name(f[2], a.back); !e.empty()) return e;
  if (auto e = name(f[3], a.fore); !e.empty()) return e;
  if (a.back == a.station || a.fore == a.station || a.back == a.fore) return "测站、后视点、前视点必须各不相同";
  if (auto e = angle(f[4], a.dms); !e.empty()) return e;
  if (auto e = sigma(f, 5, a.sigma); !e.empty()) return e;
  in_.angles.push_back(std::move(a));
  return {};
}

std::string RecordReader::distance(const std::vector<std::string>& f, int line) {
  if (f.size() != 4 && f.size() != 5) return "DIST 应为：DIST, 起点, 终点, 距离[, 中误差（mm）]";
  NetworkDistance d;
  d.line = line;
  if (auto e = name(f[1], d.from); !e.empty()) return e;
  if (auto e = name(f[2], d.to); !e.empty()) return e;
  if (d.from == d.to) return "起点与终点相同";
  if (auto e = number(f[3], "距离", d.metres); !e.empty()) return e;
  if (!(d.metres > 0) || d.metres > 1e6) return "距离必须大于 0 且不超过 1000 km";
  if (auto e = sigma(f, 4, d.sigma); !e.empty()) return e;
  in_.distances.push_back(std::move(d));
  return {};
}

std::string RecordReader::azimuth(const std::vector<std::string>& f, int line) {
  if (f.size() != 4 && f.size() != 5) return "AZI 应为：AZI, 起点, 终点, 方位角[, 中误差（秒）]";
  NetworkAzimuth a;
  a.line = line;
  if (auto e = name(f[1], a.from); !e.empty()) return e;
  if (auto e = name(f[2], a.to); !e.empty()) return e;
  if (a.from == a.to) return "起点与终点相同";
  if (auto e = angle(f[3], a.dms); !e.empty()) return e;
  if (auto e = sigma(f, 4, a.sigma); !e.empty()) return e;
  in_.azimuths.push_back(std::move(a));
  return {};
}

std::string RecordReader::read(const std::vector<std::string>& f, int line) {
  const std::string kind = ToLowerAscii(Trim(f[0]));
  if (kind == "param") return param(f);
  if (kind == "point") return point(f, line);
  if (kind == "set") return set(f, line);
  if (kind == "dir") return direction(f, line);
  if (kind == "angle") return angleRecord(f, line);
  if (kind == "dist") return distance(f, line);
  if (kind == "azi") return azimuth(f, line);
  return "未知的记录类型“" + Quoted(Trim(f[0])) + "”（应为 PARAM、POINT、SET、DIR、ANGLE、DIST 或 AZI）";
}

Message LineRefusal(int line, const std::string& reason) {
  return Message{"网文件第 " + std::to_string(line) + " 行：" + reason + "。", kNetworkTitle, MessageIcon::Warning};
}


}  // namespace

NetworkFileLoad ParseNetworkText(std::string_view text) {
  NetworkFileLoad load;
  RecordReader reader(load.input);
  LineCursor cursor(text);
  std::string_view view;
  int line = 0, records = 0;
  while (cursor.next(view)) {
    ++line;
    const std::string trimmed = Trim(view);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    if (++records > kMaxNetworkRecords) {
      load.refusal = LineRefusal(line, "记录超过 " + std::to_string(kMaxNetworkRecords) + " 行");
      return load;
    }
    const std::vector<std::string> fields = Split(trimmed, ',');
    if (const std::string reason = reader.read(fields, line); !reason.empty()) {
      load.refusal = LineRefusal(line, reason);
      load.input = {};
      return load;
    }
  }
  // Fixed points give the datum, or the datum points of a free network do:
  // never both.
  const int datum = FirstDatumLine(load.input);
  const bool fixed = std::any_of(load.input.known.begin(), load.input.known.end(),
                                 [](const NetworkKnownPoint& k) { return !k.datum; });
  if (datum > 0 && fixed) {
    load.refusal = Message{"网文件第 " + std::to_string(datum) + " 行：已有固定点时不能再标基准点。", kNetworkTitle,
                           MessageIcon::Warning};
    load.input = {};
  }
  return load;
}

int FirstDatumLine(const NetworkInput& input) {
  for (const NetworkKnownPoint& k : input.known)
    if (k.datum) return k.line;
  return 0;
}

bool IsFreeNetwork(const NetworkInput& input) {
  return !input.known.empty() &&
         std::all_of(input.known.begin(), input.known.end(), [](const NetworkKnownPoint& k) { return k.datum; });
}

NetworkFileLoad LoadNetworkFile(const std::string& path, std::string& error) {
  const io::TextFileRead read = io::ReadTextFile(path, kMaxNetworkFileBytes);
  if (!read.ok) {
    error = read.error;
    return {};
  }
  error.clear();
  return ParseNetworkText(read.text);
}

std::string NetworkText(const NetworkInput& in) {
  std::ostringstream out;
  const NetworkPrecision& p = in.precision;
  out << "PARAM, " << ExactDecimal(p.directionSec) << ", " << ExactDecimal(p.angleSec) << ", " << ExactDecimal(p.aMm) << ", "
      << ExactDecimal(p.bPpm) << "\n";
  // An observation's own deviation is written only where it was given.
  const auto own = [](const std::optional<double>& sigma) { return sigma ? ", " + ExactDecimal(*sigma) : std::string(); };
  for (const NetworkKnownPoint& k : in.known)
    out << "POINT, " << k.name << ", " << ExactDecimal(k.x) << ", " << ExactDecimal(k.y) << (k.datum ? ", DATUM" : "") << "\n";
  for (const NetworkDirectionSet& s : in.sets) {
    out << "SET, " << s.station << "\n";
    for (const NetworkDirection& d : s.directions)
      out << "DIR, " << s.station << ", " << d.target << ", " << ExactDecimal(d.dms) << own(d.sigma) << "\n";
  }
  for (const NetworkAngle& a : in.angles)
    out << "ANGLE, " << a.station << ", " << a.back << ", " << a.fore << ", " << ExactDecimal(a.dms) << own(a.sigma) << "\n";
  for (const NetworkDistance& d : in.distances)
    out << "DIST, " << d.from << ", " << d.to << ", " << ExactDecimal(d.metres) << own(d.sigma) << "\n";
  for (const NetworkAzimuth& a : in.azimuths)
    out << "AZI, " << a.from << ", " << a.to << ", " << ExactDecimal(a.dms) << own(a.sigma) << "\n";
  return out.str();
}

std::string SaveNetworkFile(const std::string& path, const NetworkInput& input) {
  return io::WriteTextFile(path, NetworkText(input));
}

}  // namespace korvane::formats
