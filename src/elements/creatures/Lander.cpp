#include "elements/creatures/Lander.h"

#include <algorithm>
#include <cstdlib>

#include "cocos2d.h"
#include "elements/creatures/CreatureCounts.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {

bool keyHeld(int key)
{
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    return view && view->isKeyDown(key);
}

}  // namespace

MPLander::MPLander()
{
    ++CreatureCounts::landers;
}

MPLander::~MPLander()
{
    --CreatureCounts::landers;
}

void MPLander::loadBodyImage()
{
    if (CreatureCounts::landers > kLimit) {
        worldHost().showLimitWarning("VehicleLimitWarning");
        refuse();
        return;
    }
    loadPicture("cars/lander.png");
}

void MPLander::pressLeft()
{
    if (facingRight)
        turnAround();
    leftHeld = true;
}

void MPLander::pressRight()
{
    if (!facingRight)
        turnAround();
    rightHeld = true;
}

void MPLander::stepAxis(int32_t& velocity, int32_t& counter, bool horizontal)
{
    if (velocity == 0)
        return;
    ++counter;
    if (counter <= kMaxSpeed / std::abs(velocity))
        return;
    counter = 0;
    const int d = velocity > 0 ? 1 : -1;
    const int dx = horizontal ? d : 0;
    const int dy = horizontal ? 0 : d;
    if (!group->moveBy(dx, dy, true)) {
        group->moveBy(dx, dy, true);
        velocity = 0;
    }
}

void MPLander::update()
{
    if (leaveIfRefused())
        return;
    MPLeaderBase::update();
    if (leaveIfRefused())
        return;
    const bool leftKey = keyHeld(kCCKeyLeft);
    const bool rightKey = keyHeld(kCCKeyRight);
    const bool spaceKey = keyHeld(kCCKeySpace);
    if (!hasBody())
        return;
    if ((burstHeld || spaceKey) && fuel > 0) {
        fuel = std::max(fuel - 1, 0);
        velocityY += 2;
    } else {
        velocityY -= 1;
    }
    if (fuel > 0) {
        if (leftHeld || leftKey)
            velocityX -= 1;
        if (rightHeld || rightKey)
            velocityX += 1;
    }
    velocityX = std::clamp(velocityX, -kMaxSpeed, kMaxSpeed);
    velocityY = std::clamp(velocityY, -kMaxSpeed, kMaxSpeed);
    if (!group->moveBy(0, -1, true)) {
        velocityY = std::max(velocityY, 0);
        velocityX = 0;
    } else {
        group->moveBy(0, 1, true);
        stepAxis(velocityX, stepCounterX, true);
    }
    stepAxis(velocityY, stepCounterY, false);
    World& w = *gWorld;
    Particle* below = w.at(x, y - 1);
    if (below && below->getType() == TypeId::Oil && fuel < kMaxFuel) {
        w.removeParticle(x, y - 1);
        fuel = std::min(fuel + 10, kMaxFuel);
    }
    if (editor)
        worldHost().showVehicleFuel(editor, static_cast<float>(fuel) / static_cast<float>(kMaxFuel));
}
