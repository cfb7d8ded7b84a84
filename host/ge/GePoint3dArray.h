#pragma once
#include <vector>

#include "GePoint3d.h"

// A growable array of points; interchangeable with std::vector<GePoint3d>.
using GePoint3dArray = std::vector<GePoint3d>;
