#include "GeMatrix3d.h"

#include <cmath>

const GeMatrix3d GeMatrix3d::kIdentity;

GeMatrix3d& GeMatrix3d::SetToIdentity() { return *this = GeMatrix3d(); }

GeMatrix3d& GeMatrix3d::SetCoordSystem(const GePoint3d& origin, const GeVector3d& x,
                                       const GeVector3d& y, const GeVector3d& z) {
  SetToIdentity();
  const GeVector3d columns[4] = {x, y, z, origin.AsVector()};
  for (int c = 0; c < 4; ++c) {
    m_[0][c] = columns[c].x;
    m_[1][c] = columns[c].y;
    m_[2][c] = columns[c].z;
  }
  return *this;
}

void GeMatrix3d::GetCoordSystem(GePoint3d& origin, GeVector3d& x, GeVector3d& y,
                                GeVector3d& z) const {
  x.Set(m_[0][0], m_[1][0], m_[2][0]);
  y.Set(m_[0][1], m_[1][1], m_[2][1]);
  z.Set(m_[0][2], m_[1][2], m_[2][2]);
  origin.Set(m_[0][3], m_[1][3], m_[2][3]);
}

GeMatrix3d& GeMatrix3d::SetToRotation(double angle, const GeVector3d& axis,
                                      const GePoint3d& centre) {
  SetToIdentity();
  const double len = axis.Length();
  if (len == 0.0) return *this;
  // The columns are the images of the unit axes; the centre maps to itself.
  GeVector3d ex = GeVector3d::kXAxis;
  GeVector3d ey = GeVector3d::kYAxis;
  GeVector3d ez = GeVector3d::kZAxis;
  ex.RotateBy(angle, axis);
  ey.RotateBy(angle, axis);
  ez.RotateBy(angle, axis);
  GePoint3d moved = GePoint3d::kOrigin;
  moved.RotateBy(angle, axis, centre);
  return SetCoordSystem(moved, ex, ey, ez);
}

GeMatrix3d& GeMatrix3d::SetToTranslation(const GeVector3d& v) {
  SetToIdentity();
  m_[0][3] = v.x;
  m_[1][3] = v.y;
  m_[2][3] = v.z;
  return *this;
}

GeMatrix3d& GeMatrix3d::SetToScaling(double s, const GePoint3d& centre) {
  SetToIdentity();
  for (int i = 0; i < 3; ++i) m_[i][i] = s;
  const GeVector3d c = centre.AsVector() * (1.0 - s);
  m_[0][3] = c.x;
  m_[1][3] = c.y;
  m_[2][3] = c.z;
  return *this;
}

double GeMatrix3d::Determinant() const {
  return m_[0][0] * (m_[1][1] * m_[2][2] - m_[1][2] * m_[2][1]) -
         m_[0][1] * (m_[1][0] * m_[2][2] - m_[1][2] * m_[2][0]) +
         m_[0][2] * (m_[1][0] * m_[2][1] - m_[1][1] * m_[2][0]);
}

GeMatrix3d GeMatrix3d::Inverse() const {
  const double det = Determinant();
  GeMatrix3d r;
  if (det == 0.0) return r;
  // Inverse of the linear part by its adjugate, then the translation moved back.
  const auto& a = m_;
  r.m_[0][0] = (a[1][1] * a[2][2] - a[1][2] * a[2][1]) / det;
  r.m_[0][1] = (a[0][2] * a[2][1] - a[0][1] * a[2][2]) / det;
  r.m_[0][2] = (a[0][1] * a[1][2] - a[0][2] * a[1][1]) / det;
  r.m_[1][0] = (a[1][2] * a[2][0] - a[1][0] * a[2][2]) / det;
  r.m_[1][1] = (a[0][0] * a[2][2] - a[0][2] * a[2][0]) / det;
  r.m_[1][2] = (a[0][2] * a[1][0] - a[0][0] * a[1][2]) / det;
  r.m_[2][0] = (a[1][0] * a[2][1] - a[1][1] * a[2][0]) / det;
  r.m_[2][1] = (a[0][1] * a[2][0] - a[0][0] * a[2][1]) / det;
  r.m_[2][2] = (a[0][0] * a[1][1] - a[0][1] * a[1][0]) / det;
  for (int i = 0; i < 3; ++i) {
    r.m_[i][3] = -(r.m_[i][0] * a[0][3] + r.m_[i][1] * a[1][3] + r.m_[i][2] * a[2][3]);
  }
  return r;
}

GeMatrix3d GeMatrix3d::operator*(const GeMatrix3d& b) const {
  GeMatrix3d r;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += m_[i][k] * b.m_[k][j];
      r.m_[i][j] = sum;
    }
  }
  return r;
}

GePoint3d GeMatrix3d::operator*(const GePoint3d& p) const {
  return {m_[0][0] * p.x + m_[0][1] * p.y + m_[0][2] * p.z + m_[0][3],
          m_[1][0] * p.x + m_[1][1] * p.y + m_[1][2] * p.z + m_[1][3],
          m_[2][0] * p.x + m_[2][1] * p.y + m_[2][2] * p.z + m_[2][3]};
}

GeVector3d GeMatrix3d::operator*(const GeVector3d& v) const {
  return {m_[0][0] * v.x + m_[0][1] * v.y + m_[0][2] * v.z,
          m_[1][0] * v.x + m_[1][1] * v.y + m_[1][2] * v.z,
          m_[2][0] * v.x + m_[2][1] * v.y + m_[2][2] * v.z};
}

double GeMatrix3d::GetScaleX() const { return GeVector3d(m_[0][0], m_[1][0], m_[2][0]).Length(); }

bool GeMatrix3d::IsEqual(const GeMatrix3d& b, double tol) const {
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      if (std::abs(m_[i][j] - b.m_[i][j]) > tol) return false;
    }
  }
  return true;
}
