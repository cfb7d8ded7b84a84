#include "HostClasses.h"

#include "HostSolids.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

namespace host {

void RegisterHostClasses()
{
    static const bool done = [] {
        for (decObjectClassInfo* info :
             {decDbPolyline::Desc(), decDbArc::Desc(), decDbCircle3d::Desc(), decDbText::Desc(), decDbPoint::Desc(),
              decDbEntity3d::Desc(), decDbExtrude::Desc(), decDbBox::Desc(), decDbCylinder::Desc(), decDbCone::Desc(), decDbFrustum::Desc(), decDbLoft::Desc()})
            decObject::RegisterClassA(info);
        return true;
    }();
    (void)done;
}

}  // namespace host
