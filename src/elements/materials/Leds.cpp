#include "elements/materials/Leds.h"

bool Led::isLed(uint32_t type)
{
    switch (type) {
    case TypeId::of("Led"):
    case TypeId::of("LedRed"):
    case TypeId::of("LedOrange"):
    case TypeId::of("LedYellow"):
    case TypeId::of("LedBlue"):
    case TypeId::of("LedPurple"):
    case TypeId::of("LedGreen"): return true;
    default: return false;
    }
}

Led* Led::ledAt(int cx, int cy)
{
    if (!gWorld->inWorld(cx, cy))
        return nullptr;
    Particle* p = gWorld->grid[cx][cy];
    return p && isLed(p->getType()) ? static_cast<Led*>(p) : nullptr;
}

void Led::update()
{
    if (!fed && glow > 0 && --glow == 0)
        setLit(false);
    fed = false;
    if (!world().electricityGrid.isPowered(x, y))
        return;
    fed = true;
    glow += kFullGlow;
    if (glow > kFullGlow) {
        const int32_t excess = glow - kFullGlow;
        glow = kFullGlow;
        shareGlow(excess);
    }
    if (glow > kLitAbove)
        setLit(true);
}

bool Led::receive(int32_t amount, int32_t& excess)
{
    fed = true;
    glow += amount;
    if (glow > kFullGlow) {
        excess = glow - kFullGlow;
        glow = kFullGlow;
        return true;
    }
    return false;
}

void Led::shareGlow(int32_t amount)
{
    // One frame per LED sharing: which LED, what it offers and how many of
    // its ten tries are left. A receiver with excess shares before the giver
    // goes on with its next try, and lights up after its own share, as the
    // recursive order would have it.
    struct Frame {
        Led* giver;
        int32_t amount;
        int triesLeft;
        Led* lightAfter;  // the receiver that lights up when this frame ends
    };
    static std::vector<Frame> stack;
    const size_t base = stack.size();
    stack.push_back({this, amount, kShareTries, nullptr});
    while (stack.size() > base) {
        Frame& f = stack.back();
        if (f.triesLeft == 0) {
            Led* done = f.lightAfter;
            stack.pop_back();
            if (done && done->glow > kLitAbove)
                done->setLit(true);
            continue;
        }
        --f.triesLeft;
        int cx = f.giver->x;
        int cy = f.giver->y;
        if (gameRand() % 2 == 0)
            cx += gameRand() % 3 - 1;
        else
            cy += gameRand() % 3 - 1;
        Led* receiver = ledAt(cx, cy);
        if (!receiver || receiver == f.giver || receiver->fed)
            continue;
        int32_t excess = 0;
        if (receiver->receive(f.amount, excess)) {
            stack.push_back({receiver, excess, kShareTries, receiver});
            continue;
        }
        if (receiver->glow > kLitAbove)
            receiver->setLit(true);
    }
}

void Led::setLit(bool on)
{
    lightSource = on;
    if (Light* l = ledLight()) {
        l->on = on;
        l->changed = true;
    }
    color = rowColour(on ? 1 : 0);
    redraw();
}

void registerLeds()
{
    registerElements<LedBlue, LedGreen, LedOrange, LedPurple, LedRed, LedYellow>();
}
