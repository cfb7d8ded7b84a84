// The routines that round through single precision (chains, the pitched-roof arrays, the
// kernel's float stages) rely on a double -> float -> double round trip surviving the
// optimiser. GCC's SLP vectoriser drops such pairs (the build turns it off); this is the
// smallest shape it dropped, so a compiler or flag that drops it again fails here, in the
// build type that has the fault.
#include <gtest/gtest.h>

#include <array>

namespace {

struct Xyz {
    double x, y, z;
};

[[gnu::noinline]] void RoundPair(double* p)
{
    const float a = static_cast<float>(p[0]), b = static_cast<float>(p[1]);
    p[0] = a;
    p[1] = b;
}

[[gnu::noinline]] void RoundPoints(Xyz* points, int count)
{
    for (int i = 0; i < count; ++i)
        points[i] = {static_cast<float>(points[i].x), static_cast<float>(points[i].y),
                     static_cast<float>(points[i].z)};
}

// The inputs come through a volatile so that no pass can know them and fold the round trips.
volatile double seed = 0.1;

bool IsFloat(double v) { return v == static_cast<double>(static_cast<float>(v)); }

}  // namespace

TEST(FloatRoundTrip, PairsAndPointsComeBackRoundedInEveryBuild)
{
    std::array<double, 2> pair = {seed, 1e6 + 3 * seed};
    RoundPair(pair.data());
    EXPECT_TRUE(IsFloat(pair[0]) && IsFloat(pair[1])) << pair[0] << " " << pair[1];

    std::array<Xyz, 7> points{};
    for (int i = 0; i < 7; ++i)
        points[i] = {seed * (i + 1), (1000 + 3 * seed) * (i + 1), -7 * seed * (i + 1)};
    RoundPoints(points.data(), 7);
    for (const Xyz& p : points)
        EXPECT_TRUE(IsFloat(p.x) && IsFloat(p.y) && IsFloat(p.z)) << p.x << " " << p.y << " " << p.z;
}
