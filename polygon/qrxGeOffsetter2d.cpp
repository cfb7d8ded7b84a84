#include "qrxGeOffsetter2d.h"

#include "qrxGeGraphSupport.h"
#include "qrxGeLine2d.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace qrxGe {

offsetter2d::offsetter2d(std::span<const point2d> points, bool closed, double distance)
    : closed_(closed),
      remaining_(distance < 0.0 ? -distance : distance),
      side_(distance < 0.0 ? -1 : 1)
{
    for (const point2d& p : points) {
        offsetvertex2d v;
        v.position = p;
        vertices_.push_back(v);
    }
}

bool offsetter2d::InputIsUsable() const
{
    return vertices_.size() >= 2 && std::isfinite(remaining_) &&
           std::all_of(vertices_.begin(), vertices_.end(),
                       [](const offsetvertex2d& v) { return IsFinite(v.position); });
}

bool offsetter2d::Run()
{
    if (!InputIsUsable())
        return false;
    // Every step that is not the last drops at least the vertex whose event it reaches, so
    // the loop ends after at most one step per vertex.
    Prepare();
    while (!Step()) {
    }
    for (const offsetvertex2d& v : vertices_)
        result_.push_back(v.position);
    // A spike (a corner that turns straight back) has an infinite speed: its vertex leaves
    // for infinity, and such a figure has no offset to report.
    if (result_.size() < 2 || !std::all_of(result_.begin(), result_.end(), IsFinite))
        return false;
    succeeded_ = true;
    return true;
}

bool offsetter2d::HasPrevious(Vertex v) const
{
    return closed_ || v != vertices_.begin();
}

bool offsetter2d::HasNext(Vertex v) const
{
    return closed_ || std::next(v) != vertices_.end();
}

offsetter2d::Vertex offsetter2d::Previous(Vertex v)
{
    return v == vertices_.begin() ? std::prev(vertices_.end()) : std::prev(v);
}

offsetter2d::Vertex offsetter2d::Next(Vertex v)
{
    const Vertex n = std::next(v);
    return n == vertices_.end() ? vertices_.begin() : n;
}

void offsetter2d::Prepare()
{
    // Two passes: an event needs the new direction of the next vertex too.
    for (Vertex v = vertices_.begin(); v != vertices_.end(); ++v)
        if (v->dirty)
            PrepareDirection(v);
    for (Vertex v = vertices_.begin(); v != vertices_.end(); ++v)
        if (v->dirty)
            PrepareEvent(v);
}

void offsetter2d::PrepareDirection(Vertex v)
{
    const point2d& at = v->position;
    const bool hasPrevious = HasPrevious(v);
    const bool hasNext = HasNext(v);
    if (hasPrevious && hasNext) {
        // The bisector of the corner on the right of travel: counter-clockwise from the
        // way back to the way on.
        const double a = vector2d(at, Previous(v)->position).Angle();
        double b = vector2d(at, Next(v)->position).Angle();
        if (a > b)
            b += kTwoPi;
        const double m = (a + b) / 2.0;
        v->direction.Set(std::cos(m), std::sin(m));
        if (side_ == -1)
            v->direction.Negate();
        v->speed = std::fabs(1.0 / std::sin((b - a) / 2.0));
        return;
    }
    // An end of a polyline moves square to its one edge. A polyline shrunk to one vertex
    // keeps the motion it had.
    if (hasNext)
        v->direction = vector2d(at, Next(v)->position).Normalize();
    else if (hasPrevious)
        v->direction = vector2d(Previous(v)->position, at).Normalize();
    else
        return;
    v->direction.RotateBy(side_ == 1 ? -kHalfPi : kHalfPi);
    v->speed = 1.0;
}

void offsetter2d::PrepareEvent(Vertex v)
{
    v->dirty = false;
    if (!HasNext(v))
        return;
    const offsetvertex2d& next = *Next(v);
    point2d meet;
    // The two meet ahead only when the crossing lies on the side the edge moves to, and
    // ahead of this vertex: the side test has a dead band of 0.01 rad around the edge's
    // line, inside which a crossing behind the vertex would pass.
    if (MotionLinesMeet(*v, next, meet) && side_ * line2d(v->position, next.position).SideOf(meet) >= 0 &&
        (meet - v->position).DotProduct(v->direction) >= 0.0) {
        v->hasEvent = true;
        v->eventPoint = meet;
        v->eventDistance = v->position.DistanceTo(meet) / v->speed;
    } else {
        v->hasEvent = false;
        v->eventDistance = offsetvertex2d::kNoEvent;
    }
}

bool offsetter2d::MotionLinesMeet(const offsetvertex2d& v, const offsetvertex2d& next, point2d& meet)
{
    const line2d here(v.position, v.direction), there(next.position, next.direction);
    if (here.IntersectWith(there, meet) == 1)
        return true;
    // Lines within 0.1 rad of parallel count as parallel there, but the bisectors of two
    // gently turned corners are that close and still meet: the short edge between them
    // shrinks to nothing and would turn inside out if its event were missed. Only truly
    // parallel motions never meet.
    if (std::fabs(v.direction.CrossProduct(next.direction)) < 1e-12)
        return false;
    meet = lineeq2d(v.position, v.direction).CrossingWith(lineeq2d(next.position, next.direction));
    return IsFinite(meet);
}

offsetter2d::Vertex offsetter2d::NextEvent()
{
    Vertex best = vertices_.end();
    for (Vertex v = vertices_.begin(); v != vertices_.end(); ++v)
        if (v->hasEvent && (best == vertices_.end() || v->eventDistance < best->eventDistance))
            best = v;
    return best;
}

bool offsetter2d::Step()
{
    const Vertex next = NextEvent();
    if (next == vertices_.end() || !(next->eventDistance < remaining_)) {
        Advance(remaining_);
        return true;
    }
    Advance(next->eventDistance); // by value: Advance drops that vertex
    Prepare();
    return false;
}

void offsetter2d::Advance(double s)
{
    for (Vertex v = vertices_.begin(); v != vertices_.end();) {
        if (std::fabs(v->eventDistance - s) >= 0.01) {
            v->eventDistance -= s;
            // A vertex does not move over no offset, whatever its speed (a spike's is
            // infinite, and zero times infinity is not zero).
            if (s != 0.0)
                v->position += v->direction * (s * v->speed);
            ++v;
        } else {
            Previous(v)->dirty = true;
            Next(v)->dirty = true;
            v = vertices_.erase(v);
        }
    }
    remaining_ -= s;
}

} // namespace qrxGe
