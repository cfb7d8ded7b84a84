// Pruning float segment lists and linking them into closed outer loops.
#include "FloatSegmentLinking.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr float kMeet = 1.0f;

bool Meet3d(float ax, float ay, float az, float bx, float by, float bz) {
  return std::fabs(ax - bx) < kMeet && std::fabs(ay - by) < kMeet && std::fabs(az - bz) < kMeet;
}

bool MeetPlan(float ax, float ay, float bx, float by) {
  return std::fabs(ax - bx) < kMeet && std::fabs(ay - by) < kMeet;
}

// Whether some segment other than i has an end that meets (x, y, z).
bool OtherEndMeets(const std::vector<FloatSegment>& segments, size_t i, float x, float y, float z) {
  for (size_t j = 0; j < segments.size(); ++j) {
    if (j == i) continue;
    const FloatSegment& s = segments[j];
    if (Meet3d(s.x1, s.y1, s.z1, x, y, z) || Meet3d(s.x2, s.y2, s.z2, x, y, z)) return true;
  }
  return false;
}

template <typename Keep>
void KeepOnly(std::vector<FloatSegment>& segments, Keep keep) {
  std::vector<FloatSegment> kept;
  kept.reserve(segments.size());
  for (size_t i = 0; i < segments.size(); ++i)
    if (keep(i)) kept.push_back(segments[i]);
  segments.swap(kept);
}

}  // namespace

void PruneFloatSegments(std::vector<FloatSegment>& segments) {
  while (!segments.empty()) {
    std::vector<bool> flagged(segments.size(), false);
    bool any = false;
    for (size_t i = 0; i < segments.size(); ++i) {
      const FloatSegment& s = segments[i];
      flagged[i] = Meet3d(s.x1, s.y1, s.z1, s.x2, s.y2, s.z2) ||
                   !OtherEndMeets(segments, i, s.x1, s.y1, s.z1) ||
                   !OtherEndMeets(segments, i, s.x2, s.y2, s.z2);
      any = any || flagged[i];
    }
    if (!any) return;
    KeepOnly(segments, [&](size_t i) { return !flagged[i]; });
  }
}

void RemoveDegenerateSegments3d(int* n, float x1[], float y1[], float z1[], float x2[], float y2[],
                                float z2[]) {
  std::vector<FloatSegment> segments;
  for (int i = 1; i <= *n; ++i) segments.push_back({x1[i], y1[i], z1[i], x2[i], y2[i], z2[i]});
  PruneFloatSegments(segments);
  for (size_t i = 0; i < segments.size(); ++i) {
    const FloatSegment& s = segments[i];
    x1[i + 1] = s.x1, y1[i + 1] = s.y1, z1[i + 1] = s.z1;
    x2[i + 1] = s.x2, y2[i + 1] = s.y2, z2[i + 1] = s.z2;
  }
  *n = static_cast<int>(segments.size());
}

namespace {

struct PlanPoint {
  float x, y;
};

// A way on from a chain point: the far end of a free segment.
struct Way {
  size_t segment;
  PlanPoint to;
};

// The first-scanned segment end of smallest x (starts before ends).
PlanPoint LeftmostEnd(const std::vector<FloatSegment>& segments) {
  float minX = 1e8f;
  PlanPoint start{0.0f, 0.0f};
  for (const FloatSegment& s : segments) {
    if (s.x1 < minX) minX = s.x1, start = {s.x1, s.y1};
    if (s.x2 < minX) minX = s.x2, start = {s.x2, s.y2};
  }
  return start;
}

// The first move from the leftmost point: the way whose direction, turned a quarter turn
// clockwise, has the largest angle; straight up (angle 0 after turning) counts as 100.
size_t FirstWay(const std::vector<Way>& ways, PlanPoint s) {
  size_t best = 0;
  double bestAngle = -1000.0;
  for (size_t w = 0; w < ways.size(); ++w) {
    const float vx = ways[w].to.y - s.y, vy = -(ways[w].to.x - s.x);
    double angle = LineAngleFloat(0.0f, 0.0f, vx, vy);
    if (std::fabs(angle) < 0.001) angle = 100.0;
    if (angle > bestAngle) bestAngle = angle, best = w;
  }
  return best;
}

// The way that turns most sharply left, measured counter-clockwise from the way back.
size_t SharpestLeft(const std::vector<Way>& ways, PlanPoint p, PlanPoint previous) {
  const double back = LineAngleFloat(p.x, p.y, previous.x, previous.y);
  const double c = std::cos(-back), s = std::sin(-back);
  size_t best = 0;
  double bestAngle = -1000.0;
  for (size_t w = 0; w < ways.size(); ++w) {
    const double dx = ways[w].to.x - p.x, dy = ways[w].to.y - p.y;
    const float tx = static_cast<float>(p.x + dx * c - dy * s);
    const float ty = static_cast<float>(p.y + dx * s + dy * c);
    const double angle = LineAngleFloat(p.x, p.y, tx, ty);
    if (angle > bestAngle) bestAngle = angle, best = w;
  }
  return best;
}

// Follows one chain from the leftmost end; marks the segments it takes. Returns the loop
// (without its closing point) when the chain comes back to its start, else empty.
std::vector<PlanPoint> FollowChain(const std::vector<FloatSegment>& segments,
                                   std::vector<bool>& taken) {
  const PlanPoint start = LeftmostEnd(segments);
  std::vector<Way> ways;
  for (size_t i = 0; i < segments.size(); ++i) {
    const FloatSegment& s = segments[i];
    if (MeetPlan(s.x1, s.y1, start.x, start.y)) ways.push_back({i, {s.x2, s.y2}});
    if (MeetPlan(s.x2, s.y2, start.x, start.y)) ways.push_back({i, {s.x1, s.y1}});
  }
  if (ways.empty()) return {};
  const Way first = ways[FirstWay(ways, start)];
  std::vector<PlanPoint> chain{start, first.to};
  taken[first.segment] = true;
  while (true) {
    const PlanPoint p = chain.back();
    ways.clear();
    for (size_t i = 0; i < segments.size(); ++i) {
      if (taken[i]) continue;
      const FloatSegment& s = segments[i];
      if (MeetPlan(s.x2, s.y2, p.x, p.y)) ways.push_back({i, {s.x1, s.y1}});
      if (MeetPlan(s.x1, s.y1, p.x, p.y)) ways.push_back({i, {s.x2, s.y2}});
    }
    // A dead end: the chain cannot close, and an open chain is no face.
    if (ways.empty()) return {};
    const Way next =
        ways.size() == 1 ? ways[0] : ways[SharpestLeft(ways, p, chain[chain.size() - 2])];
    taken[next.segment] = true;
    if (MeetPlan(next.to.x, next.to.y, start.x, start.y)) return chain;
    chain.push_back(next.to);
  }
}

}  // namespace

FloatLoops LinkFloatSegments(std::vector<FloatSegment> segments) {
  FloatLoops loops;
  while (true) {
    PruneFloatSegments(segments);
    if (segments.size() <= 2) return loops;
    std::vector<bool> taken(segments.size(), false);
    const std::vector<PlanPoint> loop = FollowChain(segments, taken);
    if (!loop.empty()) {
      loops.sizes.push_back(static_cast<int>(loop.size()));
      for (const PlanPoint& p : loop) {
        loops.x.push_back(p.x);
        loops.y.push_back(p.y);
      }
    }
    KeepOnly(segments, [&](size_t i) { return !taken[i]; });
    if (segments.size() < 3) return loops;
  }
}

int LinkSegmentsIntoFaces3d(float x1[], float y1[], float z1[], float x2[], float y2[], float z2[],
                            int n, int* loopCount, int* pointCount, std::int16_t loopVertexCounts[],
                            float outX[], float outY[], int loopCapacity, int pointCapacity) {
  std::vector<FloatSegment> segments;
  for (int i = 1; i <= n; ++i) segments.push_back({x1[i], y1[i], z1[i], x2[i], y2[i], z2[i]});
  const FloatLoops loops = LinkFloatSegments(segments);

  const long long loopsAfter = static_cast<long long>(*loopCount) + loops.sizes.size();
  const long long pointsAfter = static_cast<long long>(*pointCount) + loops.x.size();
  if (loopsAfter > loopCapacity || pointsAfter > pointCapacity) return 0;
  for (int size : loops.sizes)
    if (size > std::numeric_limits<std::int16_t>::max()) return 0;

  size_t at = 0;
  for (int size : loops.sizes) {
    ++*loopCount;
    loopVertexCounts[*loopCount] = static_cast<std::int16_t>(size);
    for (int p = 0; p < size; ++p, ++at) {
      ++*pointCount;
      outX[*pointCount] = loops.x[at];
      outY[*pointCount] = loops.y[at];
    }
  }
  return 1;
}
