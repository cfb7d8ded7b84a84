// Merging the faces of one roof plane that share edges into the outline of their union.
#include "PlaneFaceMerge.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "SlopeFaceMerge.h"

namespace {

// Whether point i of face a and point j of face b meet (within 1 mm in x, y and z).
bool PointsMeet(const PlaneFace& a, size_t i, const PlaneFace& b, size_t j) {
  return std::fabs(a.x[i] - b.x[j]) < 1.0f && std::fabs(a.y[i] - b.y[j]) < 1.0f &&
         std::fabs(a.z[i] - b.z[j]) < 1.0f;
}

bool PassesAPointTwice(const PlaneFace& f) {
  for (size_t i = 0; i < f.x.size(); ++i)
    for (size_t j = i + 1; j < f.x.size(); ++j)
      if (PointsMeet(f, i, f, j)) return true;
  return false;
}

// Whether two faces share an edge: two of their points more than 1 mm apart meet points of
// the other (within 1 mm). Faces that touch only where a few nodes lie within a millimetre
// of each other share no edge.
bool ShareAnEdge(const PlaneFace& a, const PlaneFace& b) {
  size_t first = a.x.size();
  for (size_t i = 0; i < a.x.size(); ++i) {
    bool meets = false;
    for (size_t j = 0; j < b.x.size() && !meets; ++j) meets = PointsMeet(a, i, b, j);
    if (!meets) continue;
    if (first == a.x.size())
      first = i;
    else if (!PointsMeet(a, i, a, first))
      return true;
  }
  return false;
}

// Turns a face to run clockwise seen from above, keeping its first point.
void MakeClockwise(PlaneFace& face) {
  if (PlanArea(face) > 0.0) {
    std::reverse(face.x.begin() + 1, face.x.end());
    std::reverse(face.y.begin() + 1, face.y.end());
    std::reverse(face.z.begin() + 1, face.z.end());
  }
}

// Every point of the union's outline is a point of the faces, but BuildSlopeFaces hands it
// back laid flat in the plane of the first face and turned back, in single precision: where
// the first face is thin, its plane is known only roughly and a point far from it comes back
// moved by many roundings. Each point is taken back as it came, from the face point it meets
// (the nearest within 1 mm); a point no face point meets stays as it came back.
void TakeBackFacePoints(std::vector<PlaneFace>& loops, const std::vector<const PlaneFace*>& group) {
  for (PlaneFace& loop : loops)
    for (size_t i = 0; i < loop.x.size(); ++i) {
      const PlaneFace* from = nullptr;
      size_t at = 0;
      double nearest = HUGE_VAL;
      for (const PlaneFace* f : group)
        for (size_t j = 0; j < f->x.size(); ++j) {
          const double d = std::hypot(double(loop.x[i]) - f->x[j], double(loop.y[i]) - f->y[j],
                                      double(loop.z[i]) - f->z[j]);
          if (PointsMeet(loop, i, *f, j) && d < nearest) nearest = d, from = f, at = j;
        }
      if (from) loop.x[i] = from->x[at], loop.y[i] = from->y[at], loop.z[i] = from->z[at];
    }
}

// How far rounding the faces' points to single precision may move their plan areas: half a
// unit at the points' magnitude times the faces' perimeters.
double AreaRounding(const std::vector<const PlaneFace*>& group) {
  double magnitude = 1.0, perimeters = 0.0;
  for (const PlaneFace* f : group)
    for (size_t i = 0; i < f->x.size(); ++i) {
      const size_t j = (i + 1) % f->x.size();
      magnitude = std::max({magnitude, std::fabs(double(f->x[i])), std::fabs(double(f->y[i]))});
      perimeters += std::hypot(double(f->x[j]) - f->x[i], double(f->y[j]) - f->y[i]);
    }
  return std::ldexp(magnitude, -24) * perimeters;
}

// The outlines of the union of several faces of one plane; the faces themselves where the
// union cannot stand for them.
std::vector<PlaneFace> MergedFaces(const std::vector<const PlaneFace*>& group) {
  std::vector<std::int16_t> counts{0};
  std::vector<float> x{0.0f}, y{0.0f}, z{0.0f};
  for (const PlaneFace* f : group) {
    counts.push_back(static_cast<std::int16_t>(f->x.size()));
    x.insert(x.end(), f->x.begin(), f->x.end());
    y.insert(y.end(), f->y.begin(), f->y.end());
    z.insert(z.end(), f->z.begin(), f->z.end());
  }
  std::vector<std::int16_t> loopCounts(kSlopeFaceLoopCapacity + 1, 0);
  std::vector<float> lx(kSlopeFacePointCapacity + 1), ly(kSlopeFacePointCapacity + 1),
      lz(kSlopeFacePointCapacity + 1);
  int loops = 0, points = 0;
  const int fits = BuildSlopeFaces(static_cast<int>(group.size()), static_cast<int>(x.size()) - 1,
                                   counts.data(), x.data(), y.data(), z.data(), &loops, &points,
                                   loopCounts.data(), lx.data(), ly.data(), lz.data());
  std::vector<PlaneFace> faces;
  int at = 0;
  for (int l = 1; l <= loops; ++l) {
    PlaneFace face;
    face.x.assign(lx.begin() + at + 1, lx.begin() + at + 1 + loopCounts[l]);
    face.y.assign(ly.begin() + at + 1, ly.begin() + at + 1 + loopCounts[l]);
    face.z.assign(lz.begin() + at + 1, lz.begin() + at + 1 + loopCounts[l]);
    at += loopCounts[l];
    faces.push_back(face);
  }
  TakeBackFacePoints(faces, group);
  // Faces that touch only at a point have no common outline (the merged loop would pass that
  // point twice): keep them apart. So do faces whose union would not keep their plan area
  // (BuildSlopeFaces joins points within a millimetre, and a face's point that near another
  // would be lost, the roof cracked or overlapped along a sliver that wide).
  double before = 0.0, after = 0.0;
  for (const PlaneFace* f : group) before += std::fabs(PlanArea(*f));
  for (const PlaneFace& f : faces) after += std::fabs(PlanArea(f));
  bool pinched = false;
  for (const PlaneFace& f : faces) pinched = pinched || PassesAPointTwice(f);
  if (!fits || pinched || !(std::fabs(after - before) <= AreaRounding(group))) {
    faces.clear();
    for (const PlaneFace* f : group) faces.push_back(*f);
  }
  return faces;
}

}  // namespace

double PlanArea(const PlaneFace& face) {
  double sum = 0.0;
  const size_t n = face.x.size();
  for (size_t i = 0; i < n; ++i) {
    const size_t j = (i + 1) % n;
    sum += double(face.x[i]) * face.y[j] - double(face.x[j]) * face.y[i];
  }
  return sum / 2.0;
}

std::vector<PlaneFace> MergeFacesSharingEdges(const std::vector<PlaneFace>& faces) {
  std::vector<PlaneFace> out;
  std::vector<bool> placed(faces.size(), false);
  for (size_t first = 0; first < faces.size(); ++first) {
    if (placed[first]) continue;
    std::vector<size_t> linked{first};
    placed[first] = true;
    for (size_t at = 0; at < linked.size(); ++at)
      for (size_t k = 0; k < faces.size(); ++k)
        if (!placed[k] && ShareAnEdge(faces[linked[at]], faces[k])) {
          placed[k] = true;
          linked.push_back(k);
        }
    std::sort(linked.begin(), linked.end());
    std::vector<PlaneFace> merged;
    if (linked.size() == 1) {
      merged.push_back(faces[first]);
    } else {
      std::vector<const PlaneFace*> group;
      for (size_t k : linked) group.push_back(&faces[k]);
      merged = MergedFaces(group);
    }
    for (PlaneFace& face : merged) {
      MakeClockwise(face);
      out.push_back(std::move(face));
    }
  }
  return out;
}
