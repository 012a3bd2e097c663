#include "robotrunview.h"

#include "proximitygroups.h"

void ShowProximity(RobotRunView& view, const uint32_t readings[8], uint32_t threshold)
{
    view.ShowProximityIndicators(ProximityIndicatorsWhite(readings, threshold));
    view.ShowProximityValues(GroupProximity(readings));
}
