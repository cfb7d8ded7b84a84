#pragma once
// Every type of the geometry library.
//
// Conventions shared by all of them:
// - Lengths in the caller's units (millimetres), angles in radians.
// - Rotations (GeVector3d::RotateBy, GePoint3d::RotateBy, GeMatrix3d::SetToRotation) turn
//   counter-clockwise about their axis by the right-hand rule.
// - GeMatrix3d acts on column vectors: (A * B) maps p to A(B(p)).
// - GeVector3d::AngleTo(v) is unsigned, in [0, π]; AngleTo(v, ref, tol) turns
//   counter-clockwise about ref, in [0, 2π), and gives 0 (never 2π) for equal directions.
// - GeUtility::GetPolygonNormal follows the vertex order by the right-hand rule.
// - Points compare equal under == within GeTol::kPoint, vectors within GeTol::kVector.
#include "GeArc3d.h"
#include "GeBoundBox2d.h"
#include "GeBoundBox3d.h"
#include "GeCircle3d.h"
#include "GeCurveList.h"
#include "GeLine3d.h"
#include "GeLineSeg2d.h"
#include "GeLineSeg3d.h"
#include "GeMatrix3d.h"
#include "GePlane.h"
#include "GePoint2d.h"
#include "GePoint2dArray.h"
#include "GePoint3d.h"
#include "GePoint3dArray.h"
#include "GePolygon.h"
#include "GePolygonIterator.h"
#include "GeRay3d.h"
#include "GeTol.h"
#include "GeUtility.h"
#include "GeVector2d.h"
#include "GeVector3d.h"
