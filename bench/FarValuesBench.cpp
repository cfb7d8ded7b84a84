// Typed values far beyond a building's size, through the engines that once took minutes or
// did not return on them (the tracer's link margin grows with the coordinates, and its hash
// of ends kept cells of a millimetre). Each run should return well within a second.
//   UnionOverBand/H   the roof-face union of two crossing hip roofs, one of them standing on
//                     an eave band H high (as unionroof gets a multi-slope roof whose slab was
//                     typed as H), coordinates relative to their lower corner as the command
//                     hands them over
//   EaveOfL/D         the eave outline of an L-shaped building grown by an overhang D, as the
//                     roof dialog computes it while the overhang is typed
// The dialogs now refuse such values; the engines must still return on them.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "RoofFaceUnion.h"
#include "SideBySide.h"
#include "Tools.h"

namespace {

struct P3 {
  double x, y, z;
};
using Face = std::vector<P3>;

// The four faces of a hip roof of the given slope over the rectangle, its eaves at z; the
// ridge runs along the longer side.
void HipRoof(double x0, double y0, double x1, double y1, double z, double slopeDegrees, std::vector<Face>& faces) {
  const bool alongX = x1 - x0 >= y1 - y0;
  const double half = (alongX ? y1 - y0 : x1 - x0) / 2;
  const double top = z + half * std::tan(slopeDegrees * M_PI / 180.0);
  if (alongX) {
    const double ym = (y0 + y1) / 2;
    const P3 a{x0 + half, ym, top}, b{x1 - half, ym, top};
    faces.push_back({{x0, y0, z}, {x1, y0, z}, b, a});
    faces.push_back({{x1, y1, z}, {x0, y1, z}, a, b});
    faces.push_back({{x0, y1, z}, {x0, y0, z}, a});
    faces.push_back({{x1, y0, z}, {x1, y1, z}, b});
  } else {
    const double xm = (x0 + x1) / 2;
    const P3 a{xm, y0 + half, top}, b{xm, y1 - half, top};
    faces.push_back({{x1, y0, z}, {x1, y1, z}, b, a});
    faces.push_back({{x0, y1, z}, {x0, y0, z}, a, b});
    faces.push_back({{x0, y0, z}, {x1, y0, z}, a});
    faces.push_back({{x1, y1, z}, {x0, y1, z}, b});
  }
}

// The upright quads from z 0 to the band's height under the rectangle's edges.
void Band(double x0, double y0, double x1, double y1, double height, std::vector<Face>& faces) {
  const P3 corners[] = {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
  for (int i = 0; i < 4; ++i) {
    const P3 a = corners[i], b = corners[(i + 1) % 4];
    faces.push_back({a, b, {b.x, b.y, height}, {a.x, a.y, height}});
  }
}

void UnionOverBand(benchmark::State& state, double band) {
  std::vector<Face> faces;
  Band(0, 0, 20000, 8000, band, faces);
  HipRoof(0, 0, 20000, 8000, band, 30, faces);
  HipRoof(6000, -6000, 14000, 14000, 0, 30, faces);
  const P3 low{0, -6000, 0};
  const auto input = std::make_unique<UnionFaceArrays>();
  int at = 0;
  for (const Face& face : faces) {
    input->vertexCounts[++input->faceCount] = static_cast<std::int16_t>(face.size());
    for (const P3& p : face) {
      ++at;
      input->x[at] = static_cast<float>(p.x - low.x);
      input->y[at] = static_cast<float>(p.y - low.y);
      input->z[at] = static_cast<float>(p.z - low.z);
    }
  }
  const auto arrays = std::make_unique<UnionFaceArrays>();
  int result = 0;
  for (auto _ : state) {
    *arrays = *input;
    UnionRoofFaces(&arrays->faceCount, arrays->vertexCounts, arrays->x, arrays->y, arrays->z);
    result = arrays->faceCount;
  }
  if (result <= 0) state.SkipWithError("the union gave no face");
  state.counters["faces"] = result;
}

void EaveOfL(benchmark::State& state, double overhang) {
  // Clockwise, as the roof command hands the outline to its dialog.
  const GePoint3dArray l = {{0, 0, 0},         {0, 20000, 0},    {8000, 20000, 0},
                            {8000, 8000, 0},   {20000, 8000, 0}, {20000, 0, 0}};
  std::size_t corners = 0;
  for (auto _ : state) {
    GePoint3dArray eave;
    int closed = 0;
    CTools::offset(l, 1, overhang, eave, closed, 3);
    corners = eave.size();
  }
  state.counters["corners"] = static_cast<double>(corners);
}

std::string Name(const char* what, double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%s/%.0e", what, value);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  for (const double band : {1e9, 1e10, 3e10, 1e11, 1e21})
    benchmark::RegisterBenchmark(Name("UnionOverBand", band).c_str(), UnionOverBand, band)
        ->Unit(benchmark::kMillisecond);
  for (const double overhang : {1e3, 1e9, 1e15, 1e21})
    benchmark::RegisterBenchmark(Name("EaveOfL", overhang).c_str(), EaveOfL, overhang)
        ->Unit(benchmark::kMillisecond);
  return bench::RunRegistered(argc, argv);
}
