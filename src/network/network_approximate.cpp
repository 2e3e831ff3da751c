// Approximate coordinates: from the known points outwards, every new point is
// placed by polar points (an azimuth from an oriented set, an angle or a fixed
// azimuth together with a distance) or by intersecting two azimuths. A
// traverse that leaves a known point without an orientation is carried in a
// frame of its own, turned about that point, and rotated into place when it
// reaches a second known point or an azimuth joins two of its points.
#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <set>

#include "core/message_text.h"
#include "core/angles.h"
#include "network/network_model.h"

namespace korvane::network {
namespace {

using K = NetworkObservationKind;

struct Ray {
  int from;
  double azimuth;
  int frame;
};

class Approximator {
 public:
  explicit Approximator(Model& m);
  std::optional<Message> run();

 private:
  bool usable(int p, int f) const { return frame_[p] == f || (f > 0 && p == pivot_[f]); }
  std::vector<int> framesOf(int p) const;
  void locate(int q, double x, double y, int f);
  void merge(int f, int q, double x, double y);
  void turn(int f, double rot);
  void polar(int a, int t, double azimuth, int f);
  void intersect(int t);
  void evalSet(int s);
  void evalAngle(const Observation& o);
  void evalAzimuth(const Observation& o);
  void drain();
  bool startFrame();
  void dropFrame(int f);

  Model& m_;
  std::vector<int> frame_;
  std::vector<int> pivot_{-1};
  std::vector<int> setFrame_;
  // The frame a set's rays were last cast in: every later locating of one of
  // its targets would cast the same rays again.
  std::vector<int> setCast_;
  std::vector<std::vector<int>> pointObs_, pointSets_, setObs_;
  std::vector<std::vector<Ray>> rays_;
  std::map<std::pair<int, int>, double> dist_;
  std::deque<int> queue_;
  std::set<std::pair<int, int>> tried_;
  int active_ = 0;
};

Approximator::Approximator(Model& m) : m_(m) {
  const std::size_t n = m.names.size();
  frame_.assign(n, -1);
  pointObs_.resize(n);
  pointSets_.resize(n);
  rays_.resize(n);
  setFrame_.assign(m.setStation.size(), -1);
  setCast_.assign(m.setStation.size(), -1);
  setObs_.resize(m.setStation.size());
  for (std::size_t i = 0; i < n; ++i)
    if (m.given(static_cast<int>(i))) frame_[i] = 0;
  for (std::size_t k = 0; k < m.obs.size(); ++k) {
    const Observation& o = m.obs[k];
    if (o.kind == K::Direction) {
      pointSets_[o.at].push_back(o.set);
      pointSets_[o.to].push_back(o.set);
      setObs_[o.set].push_back(static_cast<int>(k));
    } else if (o.kind == K::Distance) {
      dist_.try_emplace({std::min(o.at, o.to), std::max(o.at, o.to)}, o.value);
    } else {
      for (int p : {o.at, o.to, o.back})
        if (p >= 0) pointObs_[p].push_back(static_cast<int>(k));
    }
  }
}

std::vector<int> Approximator::framesOf(int p) const {
  std::vector<int> frames;
  if (frame_[p] >= 0) frames.push_back(frame_[p]);
  if (active_ > 0 && p == pivot_[active_] && frame_[p] != active_) frames.push_back(active_);
  return frames;
}

void Approximator::locate(int q, double x, double y, int f) {
  if (frame_[q] == -1) {
    m_.x[q] = x;
    m_.y[q] = y;
    frame_[q] = f;
    queue_.push_back(q);
  } else if (frame_[q] == 0 && f > 0 && q != pivot_[f]) {
    merge(f, q, x, y);
  }
}

// The local frame f turned about its pivot so that q falls on its known bearing.
void Approximator::merge(int f, int q, double x, double y) {
  const int p = pivot_[f];
  const double px = m_.x[p], py = m_.y[p];
  turn(f, Azimuth(px, py, m_.x[q], m_.y[q]) - Azimuth(px, py, x, y));
}

// The local frame f turned about its pivot by `rot` into the known frame.
void Approximator::turn(int f, double rot) {
  const int p = pivot_[f];
  const double px = m_.x[p], py = m_.y[p];
  const double c = std::cos(rot), s = std::sin(rot);
  for (std::size_t i = 0; i < frame_.size(); ++i) {
    if (frame_[i] != f) continue;
    const double dx = m_.x[i] - px, dy = m_.y[i] - py;
    m_.x[i] = px + dx * c - dy * s;
    m_.y[i] = py + dx * s + dy * c;
    frame_[i] = 0;
    queue_.push_back(static_cast<int>(i));
  }
  for (std::size_t s2 = 0; s2 < setFrame_.size(); ++s2) {
    if (setFrame_[s2] != f) continue;
    setFrame_[s2] = 0;
    setCast_[s2] = -1;  // cast again, now in the known frame
    m_.orientation[s2] = Wrap(m_.orientation[s2] + rot);
  }
  for (auto& list : rays_)
    for (Ray& r : list)
      if (r.frame == f) r = Ray{r.from, Wrap(r.azimuth + rot), 0};
  queue_.push_back(p);
  active_ = 0;
}

void Approximator::polar(int a, int t, double azimuth, int f) {
  if (usable(t, f)) return;
  const auto d = dist_.find({std::min(a, t), std::max(a, t)});
  if (d != dist_.end()) {
    locate(t, m_.x[a] + d->second * std::cos(azimuth), m_.y[a] + d->second * std::sin(azimuth), f);
  } else if (frame_[t] == -1) {
    rays_[t].push_back(Ray{a, azimuth, f});
    intersect(t);
  }
}

void Approximator::intersect(int t) {
  const std::vector<Ray>& list = rays_[t];
  const Ray& last = list.back();
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    const Ray& r = list[i];
    if (r.frame != last.frame || r.from == last.from) continue;
    const double ax = std::cos(r.azimuth), ay = std::sin(r.azimuth);
    const double bx = std::cos(last.azimuth), by = std::sin(last.azimuth);
    const double det = ax * (-by) - ay * (-bx);
    if (std::fabs(det) < 0.1) continue;  // rays cutting at less than about 6 degrees
    const double rx = m_.x[last.from] - m_.x[r.from], ry = m_.y[last.from] - m_.y[r.from];
    const double u = (rx * (-by) - ry * (-bx)) / det;
    if (u <= 0) continue;
    locate(t, m_.x[r.from] + u * ax, m_.y[r.from] + u * ay, r.frame);
    return;
  }
}

void Approximator::evalSet(int s) {
  const int st = m_.setStation[s];
  for (int f : framesOf(st)) {
    if (setFrame_[s] == -1) {
      for (int k : setObs_[s]) {
        const Observation& o = m_.obs[k];
        if (!usable(o.to, f)) continue;
        m_.orientation[s] = Wrap(Azimuth(m_.x[st], m_.y[st], m_.x[o.to], m_.y[o.to]) - o.value);
        setFrame_[s] = f;
        break;
      }
    }
    if (setFrame_[s] != f || setCast_[s] == f) continue;
    setCast_[s] = f;
    for (int k : setObs_[s]) polar(st, m_.obs[k].to, Wrap(m_.orientation[s] + m_.obs[k].value), f);
  }
}

void Approximator::evalAngle(const Observation& o) {
  for (int f : framesOf(o.at)) {
    const double sx = m_.x[o.at], sy = m_.y[o.at];
    if (usable(o.back, f)) polar(o.at, o.to, Wrap(Azimuth(sx, sy, m_.x[o.back], m_.y[o.back]) + o.value), f);
    if (usable(o.to, f)) polar(o.at, o.back, Wrap(Azimuth(sx, sy, m_.x[o.to], m_.y[o.to]) - o.value), f);
  }
}

void Approximator::evalAzimuth(const Observation& o) {
  // Both ends in the local frame: the azimuth turns it into the known frame.
  if (active_ > 0 && usable(o.at, active_) && usable(o.to, active_)) {
    turn(active_, o.value - Azimuth(m_.x[o.at], m_.y[o.at], m_.x[o.to], m_.y[o.to]));
    return;
  }
  if (frame_[o.at] == 0) polar(o.at, o.to, o.value, 0);
  if (frame_[o.to] == 0) polar(o.to, o.at, Wrap(o.value + kTruePi), 0);
}

void Approximator::drain() {
  while (!queue_.empty()) {
    const int p = queue_.front();
    queue_.pop_front();
    if (frame_[p] == -1) continue;
    for (int s : pointSets_[p]) evalSet(s);
    for (int k : pointObs_[p]) {
      const Observation& o = m_.obs[k];
      if (o.kind == K::Angle) evalAngle(o);
      if (o.kind == K::Azimuth) evalAzimuth(o);
    }
  }
}

void Approximator::dropFrame(int f) {
  for (int& fr : frame_)
    if (fr == f) fr = -1;
  for (int& fr : setFrame_)
    if (fr == f) fr = -1;
  for (int& fr : setCast_)
    if (fr == f) fr = -1;
  for (auto& list : rays_) std::erase_if(list, [f](const Ray& r) { return r.frame == f; });
  active_ = 0;
}

// A new frame at a located point with a distance to a point not yet located,
// the first side taken due north; false when no such pair is left.
bool Approximator::startFrame() {
  for (const auto& [pair, length] : dist_) {
    for (auto [p, q] : {pair, std::pair{pair.second, pair.first}}) {
      if (frame_[p] != 0 || frame_[q] != -1 || !tried_.insert({p, q}).second) continue;
      active_ = static_cast<int>(pivot_.size());
      pivot_.push_back(p);
      locate(q, m_.x[p] + length, m_.y[p], active_);
      queue_.push_back(p);
      return true;
    }
  }
  return false;
}

std::optional<Message> Approximator::run() {
  for (std::size_t i = 0; i < frame_.size(); ++i)
    if (frame_[i] == 0) queue_.push_back(static_cast<int>(i));
  drain();
  const auto unplaced = [this] { return std::any_of(frame_.begin(), frame_.end(), [](int f) { return f != 0; }); };
  while (unplaced()) {
    if (active_ > 0) dropFrame(active_);
    if (!startFrame()) break;
    drain();
  }
  for (std::size_t i = 0; i < frame_.size(); ++i) {
    if (frame_[i] == 0) continue;
    return NetworkRefusal("待定点“" + Quoted(m_.names[i]) +
                          "”无法由观测值推算近似坐标：缺少能确定其位置的方向、角度、方位角和距离。");
  }
  for (std::size_t i = 0; i < frame_.size(); ++i) m_.located[i] = true;
  return std::nullopt;
}

}  // namespace

std::optional<Message> Approximate(Model& m) {
  // A free network starts from its datum points; its orientation is part of the datum.
  if (m.free) {
    if (auto refusal = Approximator(m).run()) return refusal;
    OrientSets(m);
    return std::nullopt;
  }
  if (m.knownCount() == 0) return NetworkRefusal("网中没有已知点（POINT），缺少起算数据，无法平差。");
  bool hasAzimuth = false;
  for (const Observation& o : m.obs) hasAzimuth = hasAzimuth || o.kind == K::Azimuth;
  if (m.knownCount() == 1 && !hasAzimuth)
    return NetworkRefusal("网中只有一个已知点且没有固定方位角（AZI），缺少起算方位，无法平差。");
  if (auto refusal = Approximator(m).run()) return refusal;
  OrientSets(m);
  return std::nullopt;
}

}  // namespace korvane::network
