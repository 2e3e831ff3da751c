#include "network/network_model.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "core/message_text.h"
#include "core/angles.h"

namespace korvane::network {
namespace {

class ModelBuilder {
 public:
  ModelBuilder(const formats::NetworkInput& in, Model& m) : in_(in), m_(m) {}
  std::optional<Message> build();

 private:
  int point(const std::string& name);
  void add(NetworkObservationKind kind, int at, int to, int back, int set, double value, double sigma, int line);

  const formats::NetworkInput& in_;
  Model& m_;
  std::unordered_map<std::string, int> index_;
};

int ModelBuilder::point(const std::string& name) {
  const auto [it, added] = index_.try_emplace(name, static_cast<int>(m_.names.size()));
  if (added) {
    m_.names.push_back(name);
    m_.known.push_back(false);
    m_.datum.push_back(false);
    m_.x.push_back(0);
    m_.y.push_back(0);
  }
  return it->second;
}

void ModelBuilder::add(NetworkObservationKind kind, int at, int to, int back, int set, double value, double sigma,
                       int line) {
  m_.obs.push_back(Observation{kind, at, to, back, set, value, sigma, line});
}

std::optional<Message> ModelBuilder::build() {
  for (const formats::NetworkKnownPoint& k : in_.known) {
    if (index_.count(k.name)) return NetworkRefusal("已知点“" + Quoted(k.name) + "”重复。");
    const int i = point(k.name);
    m_.known[i] = !k.datum;
    m_.datum[i] = k.datum;
    m_.x[i] = k.x;
    m_.y[i] = k.y;
  }
  // New points are numbered in the order their names first appear in the file.
  std::vector<std::pair<int, const std::string*>> mentions;
  for (const formats::NetworkDirectionSet& set : in_.sets) {
    mentions.push_back({set.line, &set.station});
    for (const formats::NetworkDirection& d : set.directions) mentions.push_back({d.line, &d.target});
  }
  for (const formats::NetworkAngle& a : in_.angles)
    for (const std::string* n : {&a.station, &a.back, &a.fore}) mentions.push_back({a.line, n});
  for (const formats::NetworkDistance& d : in_.distances)
    for (const std::string* n : {&d.from, &d.to}) mentions.push_back({d.line, n});
  for (const formats::NetworkAzimuth& a : in_.azimuths)
    for (const std::string* n : {&a.from, &a.to}) mentions.push_back({a.line, n});
  std::stable_sort(mentions.begin(), mentions.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
  for (const auto& mention : mentions) point(*mention.second);
  const formats::NetworkPrecision& p = in_.precision;
  using K = NetworkObservationKind;
  for (std::size_t s = 0; s < in_.sets.size(); ++s) {
    const int station = point(in_.sets[s].station);
    m_.setStation.push_back(station);
    for (const formats::NetworkDirection& d : in_.sets[s].directions)
      add(K::Direction, station, point(d.target), -1, static_cast<int>(s), DmsToRad(d.dms),
          d.sigma.value_or(p.directionSec), d.line);
  }
  // An observation's own deviation overrides PARAM's.
  for (const formats::NetworkAngle& a : in_.angles)
    add(K::Angle, point(a.station), point(a.fore), point(a.back), -1, DmsToRad(a.dms), a.sigma.value_or(p.angleSec),
        a.line);
  for (const formats::NetworkDistance& d : in_.distances)
    add(K::Distance, point(d.from), point(d.to), -1, -1, d.metres,
        d.sigma.value_or(p.aMm + p.bPpm * d.metres / 1000), d.line);
  // An azimuth without a deviation is fixed (sigma 0), with one observed.
  for (const formats::NetworkAzimuth& a : in_.azimuths)
    add(K::Azimuth, point(a.from), point(a.to), -1, -1, DmsToRad(a.dms), a.sigma.value_or(0), a.line);
  return std::nullopt;
}

}  // namespace

int Model::knownCount() const {
  int n = 0;
  for (bool k : known) n += k ? 1 : 0;
  return n;
}

Message NetworkRefusal(const std::string& text) { return Message{text, formats::kNetworkTitle, MessageIcon::Warning}; }

std::optional<Message> BuildModel(const formats::NetworkInput& input, Model& model) {
  model = Model{};
  if (auto refusal = ModelBuilder(input, model).build()) return refusal;
  model.free = formats::IsFreeNetwork(input);
  const int n = static_cast<int>(model.names.size());
  model.located.assign(n, false);
  model.column.assign(n, -1);
  for (int i = 0; i < n; ++i) {
    model.located[i] = model.known[i];
    if (!model.known[i]) {
      model.column[i] = model.unknowns;
      model.unknowns += 2;
    }
  }
  const int sets = static_cast<int>(model.setStation.size());
  model.setColumn.assign(sets, -1);
  model.orientation.assign(sets, 0);
  model.oriented.assign(sets, false);
  for (int s = 0; s < sets; ++s) model.setColumn[s] = model.unknowns++;
  return std::nullopt;
}

void OrientSets(Model& m) {
  const int sets = static_cast<int>(m.setStation.size());
  std::vector<double> sum(sets, 0);
  std::vector<int> count(sets, 0);
  std::vector<double> first(sets, 0);
  for (const Observation& o : m.obs) {
    if (o.kind != NetworkObservationKind::Direction) continue;
    const double z = Wrap(Azimuth(m.x[o.at], m.y[o.at], m.x[o.to], m.y[o.to]) - o.value);
    // Orientations near 0 and near 2π are averaged as the same angle.
    if (count[o.set] == 0) first[o.set] = z;
    sum[o.set] += first[o.set] + WrapSigned(z - first[o.set]);
    ++count[o.set];
  }
  for (int s = 0; s < sets; ++s) {
    if (count[s] > 0) m.orientation[s] = Wrap(sum[s] / count[s]);
    m.oriented[s] = count[s] > 0;
  }
}

}  // namespace korvane::network
