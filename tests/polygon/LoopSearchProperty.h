#pragma once
// The property both loop searches keep on any pool, shared by the fuzz target and the seeded
// run of the ordinary suite: nothing crashes or leaks (the sanitizers' part), no search takes
// more than the step limit, and a loop found begins at S's lower end (its given end when S is
// level) and passes only points of the segments or of S.

#include "PlanarTestSupport.h"
#include "qrxGeLoopSearch2d.h"
#include "qrxGePolygonOperations.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace qrxGe::test {

struct LoopInput {
    std::vector<edge2d> segments;
    edge2d s;
};

// S and up to 60 segments with ends on a coarse grid (steps of 5 over 0..40), so that shared
// ends, crossings at ends and collinear overlaps are frequent.
inline LoopInput LoopInputFromBytes(const std::uint8_t* data, std::size_t size)
{
    LoopInput input;
    if (size < 5)
        return input;
    const auto at = [&](std::size_t i) { return point2d((data[i] % 9) * 5.0, (data[i + 1] % 9) * 5.0); };
    input.s = edge2d(at(1), at(3));
    const std::size_t n = data[0] % 61;
    for (std::size_t i = 0, b = 5; i < n && b + 3 < size; ++i, b += 4)
        input.segments.push_back({at(b), at(b + 2)});
    return input;
}

inline LoopInput LoopInputFromSeed(std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(5 + 4 * (random() % 61));
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return LoopInputFromBytes(bytes.data(), bytes.size());
}

inline std::string CheckLoopSearch(const LoopInput& input)
{
    const point2d a = input.s.StartPoint(), b = input.s.EndPoint();
    const point2d lower = b.y > a.y ? a : b;
    for (const auto rule : {loopsearch2d::turn::right, loopsearch2d::turn::left}) {
        const char* name = rule == loopsearch2d::turn::right ? "right" : "left";
        loopsearch2d search(rule);
        const auto ring = search.Find(input.segments, input.s);
        if (search.Steps() > loopsearch2d::kStepLimit)
            return std::string(name) + ": " + std::to_string(search.Steps()) + " steps";
        if (!ring)
            continue;
        if (ring->empty() || ring->front().x != lower.x || ring->front().y != lower.y)
            return std::string(name) + ": the loop does not begin at S's lower end";
        for (const point2d& p : *ring) {
            bool on = input.s.IsPointOn(p);
            for (const edge2d& e : input.segments)
                on = on || e.IsPointOn(p);
            if (!on)
                return std::string(name) + ": a loop point off every segment";
        }
    }
    return {};
}

} // namespace qrxGe::test
