#include <gtest/gtest.h>


#include "GeTestSupport.h"

namespace {
constexpr double kEps = 1e-12;

TEST(GeMatrix3dTest, DefaultIsIdentity) {
  const GeMatrix3d m;
  EXPECT_TRUE(m.IsEqual(GeMatrix3d::kIdentity, 0.0));
  GePoint3d p(1, 2, 3);
  p.TransformBy(m);
  ExpectPoint(p, 1, 2, 3, 0.0);
  GeMatrix3d t;
  t.SetToTranslation(GeVector3d(5, 5, 5));
  t.SetToIdentity();
  EXPECT_TRUE(t.IsEqual(GeMatrix3d::kIdentity, 0.0));
}

TEST(GeMatrix3dTest, SetToRotationIsRightHandedAboutTheCentre) {
  // Counter-clockwise seen from the tip of the axis.
  const struct { GeVector3d axis; GePoint3d centre, from, to; } kQuarterTurns[] = {
      {GeVector3d::kZAxis, {1, 0, 0}, {2, 0, 5}, {1, 1, 5}},
      {GeVector3d::kXAxis, GePoint3d::kOrigin, {0, 1, 0}, {0, 0, 1}},
      {GeVector3d::kYAxis, GePoint3d::kOrigin, {0, 0, 1}, {1, 0, 0}},
  };
  GeMatrix3d r;
  for (const auto& c : kQuarterTurns) {
    r.SetToRotation(kPi / 2, c.axis, c.centre);
    GePoint3d p = c.from;
    p.TransformBy(r);
    ExpectPoint(p, c.to.x, c.to.y, c.to.z);
  }

  // The same as turning the point itself.
  const GeVector3d axis(1, -2, 0.5);
  const GePoint3d centre(3, 4, -1);
  r.SetToRotation(0.8, axis, centre);
  GePoint3d a(7, -2, 9);
  GePoint3d b = a;
  a.TransformBy(r);
  b.RotateBy(0.8, axis, centre);
  ExpectPoint(a, b.x, b.y, b.z);
  EXPECT_FALSE(r.IsMirrorMatrix());
  EXPECT_NEAR(r.GetScaleX(), 1.0, kEps);
}

TEST(GeMatrix3dTest, ProductAppliesTheRightFactorFirst) {
  GeMatrix3d rotate;
  rotate.SetToRotation(kPi / 2, GeVector3d::kZAxis, GePoint3d::kOrigin);
  GeMatrix3d move;
  move.SetToTranslation(GeVector3d(10, 0, 0));

  // Turned first, then moved.
  GePoint3d p(1, 0, 0);
  p.TransformBy(move * rotate);
  ExpectPoint(p, 10, 1, 0);
  // Moved first, then turned.
  p.Set(1, 0, 0);
  p.TransformBy(rotate * move);
  ExpectPoint(p, 0, 11, 0);

  GeMatrix3d m = move;
  m.PostMultBy(rotate);
  EXPECT_TRUE(m.IsEqual(move * rotate, kEps));
  m = move;
  m.PreMultBy(rotate);
  EXPECT_TRUE(m.IsEqual(rotate * move, kEps));
}

TEST(GeMatrix3dTest, SectionFrameTakesTheMidpointToTheOriginAndTheSectionOntoX) {
  // Turn about the vertical through m so the section lies along x, then move m to the origin.
  const GePoint3d p0(10, 10, 0);
  const GePoint3d p1(10, 30, 0);
  const GePoint3d m = (p0 + p1) / 2.0;
  const double a = (p1 - m).AngleTo(GeVector3d::kXAxis, GeVector3d::kZAxis, 1e-6);
  GeMatrix3d turn;
  turn.SetToRotation(a, GeVector3d::kZAxis, m);
  GeMatrix3d move;
  move.SetToTranslation(GePoint3d::kOrigin - m);
  const GeMatrix3d frame = move * turn;
  GePoint3d q0 = p0;
  GePoint3d q1 = p1;
  GePoint3d qm = m;
  q0.TransformBy(frame);
  q1.TransformBy(frame);
  qm.TransformBy(frame);
  ExpectPoint(qm, 0, 0, 0);
  ExpectPoint(q1, 10, 0, 0);
  ExpectPoint(q0, -10, 0, 0);
  GePoint3d back = q1;
  back.TransformBy(frame.Inverse());
  ExpectPoint(back, p1.x, p1.y, p1.z);
}

TEST(GeMatrix3dTest, CoordSystemMapsLocalToWorldAndRoundTrips) {
  const GePoint3d origin(100, 200, 300);
  const GeVector3d x(0, 1, 0);
  const GeVector3d y(-1, 0, 0);
  const GeVector3d z(0, 0, 1);
  GeMatrix3d m;
  EXPECT_EQ(&m.SetCoordSystem(origin, x, y, z), &m);
  GePoint3d p(1, 2, 3);  // local
  p.TransformBy(m);
  ExpectPoint(p, 100 - 2, 200 + 1, 303);  // origin + 1·x + 2·y + 3·z

  GePoint3d o;
  GeVector3d gx, gy, gz;
  m.GetCoordSystem(o, gx, gy, gz);
  ExpectPoint(o, 100, 200, 300, 0.0);
  EXPECT_TRUE(gx == x);
  EXPECT_TRUE(gy == y);
  EXPECT_TRUE(gz == z);

  const GeMatrix3d inv = m.Inverse();
  p.TransformBy(inv);
  ExpectPoint(p, 1, 2, 3);
  EXPECT_TRUE((m * inv).IsEqual(GeMatrix3d::kIdentity, kEps));
  EXPECT_TRUE((inv * m).IsEqual(GeMatrix3d::kIdentity, kEps));
  GeMatrix3d again = inv;
  again.Invert();
  EXPECT_TRUE(again.IsEqual(m, kEps));

  // Axes that are neither unit nor perpendicular come back as stored and still round-trip.
  const GeVector3d sx(2, 0, 0), sy(0, 3, 0), sz(1, 1, 4);
  m.SetCoordSystem(GePoint3d(1, 1, 1), sx, sy, sz);
  m.GetCoordSystem(o, gx, gy, gz);
  EXPECT_TRUE(gx == sx && gy == sy && gz == sz);
  EXPECT_DOUBLE_EQ(m.GetScaleX(), 2.0);
  p.Set(0.5, -1, 2);
  p.TransformBy(m);
  p.TransformBy(m.Inverse());
  ExpectPoint(p, 0.5, -1, 2);
}

TEST(GeMatrix3dTest, VectorsIgnoreTheTranslation) {
  GeMatrix3d m;
  m.SetCoordSystem(GePoint3d(50, 60, 70), GeVector3d(0, 1, 0), GeVector3d(-1, 0, 0),
                   GeVector3d::kZAxis);
  GeVector3d v(1, 0, 0);
  v.TransformBy(m);
  EXPECT_TRUE(v == GeVector3d(0, 1, 0));
}

TEST(GeMatrix3dTest, MirrorAndScale) {
  GeMatrix3d mirror;
  mirror.SetCoordSystem(GePoint3d::kOrigin, GeVector3d(-1, 0, 0), GeVector3d::kYAxis,
                        GeVector3d::kZAxis);
  EXPECT_TRUE(mirror.IsMirrorMatrix());
  EXPECT_DOUBLE_EQ(mirror.GetScaleX(), 1.0);
  GeMatrix3d turned;
  turned.SetToRotation(kPi, GeVector3d::kZAxis, GePoint3d::kOrigin);  // two flips: no mirror
  EXPECT_FALSE(turned.IsMirrorMatrix());
  EXPECT_TRUE((mirror * turned).IsMirrorMatrix());
  EXPECT_FALSE((mirror * mirror).IsMirrorMatrix());
  EXPECT_FALSE(GeMatrix3d::kIdentity.IsMirrorMatrix());

  GeMatrix3d scale;
  scale.SetToScaling(2.5, GePoint3d(1, 1, 1));
  EXPECT_DOUBLE_EQ(scale.GetScaleX(), 2.5);
  EXPECT_FALSE(scale.IsMirrorMatrix());
  GePoint3d p(2, 1, 1);
  p.TransformBy(scale);
  ExpectPoint(p, 3.5, 1, 1);
  GeMatrix3d negative;
  negative.SetToScaling(-2.0);
  EXPECT_TRUE(negative.IsMirrorMatrix());
  EXPECT_DOUBLE_EQ(negative.GetScaleX(), 2.0);
  // The x scale follows the image of the x unit vector only.
  GeMatrix3d sheared;
  sheared.SetCoordSystem(GePoint3d::kOrigin, GeVector3d(3, 4, 0), GeVector3d(0, 9, 0),
                         GeVector3d::kZAxis);
  EXPECT_DOUBLE_EQ(sheared.GetScaleX(), 5.0);
}

TEST(GeMatrix3dTest, SingularMatrixHasTheIdentityAsInverse) {
  GeMatrix3d flat;
  flat.SetCoordSystem(GePoint3d(1, 2, 3), GeVector3d::kXAxis, GeVector3d::kYAxis, GeVector3d());
  EXPECT_TRUE(flat.IsSingular());
  EXPECT_TRUE(flat.Inverse().IsEqual(GeMatrix3d::kIdentity, 0.0));
}
}  // namespace
