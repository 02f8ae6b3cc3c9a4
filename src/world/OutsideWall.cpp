#include "world/OutsideWall.h"

USING_NS_CC;

float OutsideWall::s_blastFactor = 0.0f;

OutsideWall::OutsideWall()
{
    lightAbsorption = 0;
    color = colorForIndex(static_cast<CCInteger*>(getColors()->objectAtIndex(0)));
}

CCArray* OutsideWall::getColors() const
{
    static CCArray* rows = makeColorRowList({42});
    return rows;
}
