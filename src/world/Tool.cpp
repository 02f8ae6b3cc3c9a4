#include "world/Tool.h"

#include <memory>

#include "base/Logger.h"
#include "profile/Profile.h"
#include "cocos2d_extensions/CCValue.h"
#include "world/GameServices.h"
#include "world/ParticleCreator.h"
#include "world/Tools.h"
#include "world/World.h"
#include "world/WorldHost.h"

USING_NS_CC;
using cocos2d_extensions::CCValue;

namespace {

constexpr int kMinerStoneFlag = World::kEventStoneMined;

// Elements whose painting is counted per element while in free play.
bool isCountedElement(uint32_t type)
{
    static const uint32_t counted[] = {hashString("Oil"),    hashString("AVirus"), hashString("Virus"),
                                       hashString("Heater"), hashString("Cooler"), hashString("Multi"),
                                       hashString("Bright"), hashString("Bulb"),   hashString("Fire")};
    for (uint32_t c : counted)
        if (c == type)
            return true;
    return false;
}

}  // namespace

void Tool::finish(int32_t, int32_t)
{
    countdown = 0;
    livingStroke = false;
}

Tool* Tool::create(const std::string& name)
{
    Tool* tool = nullptr;
    if (name == "Draw")
        tool = new Draw();
    else if (name == "Line")
        tool = new Line();
    else if (name == "Fill")
        tool = new Fill();
    else if (name == "Replace")
        tool = new Replace();
    else if (name == "Miner")
        tool = new Miner();
    if (!tool)
        LOG_ERROR << "Tried to load an unexisting type of tool: " << name;
    return tool;
}

std::string Tool::currentElementName()
{
    CCString* name = worldHost().currentElement();
    return name ? name->getString() : std::string();
}

int32_t Tool::brushSize()
{
    return worldHost().brushSize();
}

bool Tool::magnified()
{
    return worldHost().zoomedOut();
}

bool Tool::isLivingElement(const std::string& name)
{
    if (name.empty() || name == "Clear")
        return false;
    std::unique_ptr<Particle> probe(ParticleCreator::createByName(name.c_str()));
    return probe && probe->isLiving();
}

int Tool::touchId(CCObject* entry)
{
    auto* pair = dynamic_cast<CCArray*>(entry);
    auto* id = pair && pair->count() > 0 ? dynamic_cast<CCInteger*>(pair->objectAtIndex(0)) : nullptr;
    return id ? id->getValue() : -1;
}

CCPoint Tool::touchPoint(CCObject* entry)
{
    auto* pair = dynamic_cast<CCArray*>(entry);
    auto* point = pair && pair->count() > 1 ? dynamic_cast<CCValue<CCPoint>*>(pair->objectAtIndex(1)) : nullptr;
    return point ? point->getValue() : CCPointZero;
}

CCObject* Tool::previousOf(CCArray* previous, CCObject* entry)
{
    if (!previous || !entry)
        return nullptr;
    const int id = touchId(entry);
    for (unsigned i = 0; i < previous->count(); ++i) {
        CCObject* candidate = previous->objectAtIndex(i);
        if (candidate && touchId(candidate) == id)
            return candidate;
    }
    return nullptr;
}

void Tool::placeParticle(int32_t x, int32_t y, const std::string& given)
{
    World* w = gWorld;
    if (!w || !w->inWorld(x, y))
        return;
    const std::string name = given.empty() ? currentElementName() : given;
    const uint32_t type = hashString(name);
    if (!w->at(x, y)) {
        Profile* profile = Profile::getInstance();
        CCString* boxed = CCString::create(name);
        if (worldHost().isFreePlay()) {
            profile->setPouredPixels(profile->getPouredPixels() + 1);
            profile->markElementUsed(boxed);
        }
        if (isCountedElement(type))
            profile->incrementElementCount(boxed);
    }
    w->addParticle(x, y, type, false);
}

void Tool::eraseCell(Tool* tool, int32_t x, int32_t y)
{
    World* w = gWorld;
    if (!w || !w->inWorld(x, y))
        return;
    if (tool && tool->kind == kMiner) {
        Particle* p = w->at(x, y);
        if (p && p->getType() == hashString("Stone") && gameServices().loadedWorldName &&
            gameServices().loadedWorldName() == "Day6")
            w->eventFlags[kMinerStoneFlag] = 1;
    }
    w->removeParticle(x, y);
}

void Tool::drawDisc(int32_t radius, CCPoint centre)
{
    const std::string name = currentElementName();
    forDisc(radius, centre, [&](int32_t i, int32_t j) { placeParticle(i, j, name); });
}

void Tool::eraseDisc(Tool* tool, int32_t radius, CCPoint centre)
{
    forDisc(radius, centre, [&](int32_t i, int32_t j) { eraseCell(tool, i, j); });
}

void Tool::coatDisc(Tool* tool, int32_t radius, CCPoint centre, const std::string& name)
{
    World* w = gWorld;
    if (!w)
        return;
    forDisc(radius, centre, [&](int32_t i, int32_t j) {
        if (!w->at(i, j))
            return;
        eraseCell(tool, i, j);
        placeParticle(i, j, name);
    });
}

void Tool::drawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const bool single = magnified();
    const int32_t size = brushSize();
    const std::string name = currentElementName();
    forLine(x0, y0, x1, y1, [&](int32_t x, int32_t y) {
        if (single)
            placeParticle(x, y, name);
        else
            drawDisc(size, ccp(static_cast<float>(x), static_cast<float>(y)));
    });
}

void Tool::eraseLine(Tool* tool, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t radius)
{
    const bool single = magnified();
    forLine(x0, y0, x1, y1, [&](int32_t x, int32_t y) {
        if (single)
            eraseCell(tool, x, y);
        else
            eraseDisc(tool, radius, ccp(static_cast<float>(x), static_cast<float>(y)));
    });
}

void Tool::eraseLineWithBrush(Tool* tool, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    eraseLine(tool, x0, y0, x1, y1, brushSize());
}

void Tool::coatLine(Tool* tool, int32_t x0, int32_t y0, int32_t x1, int32_t y1, const std::string& name, int32_t radius)
{
    forLine(x0, y0, x1, y1, [&](int32_t x, int32_t y) {
        coatDisc(tool, radius, ccp(static_cast<float>(x), static_cast<float>(y)), name);
    });
}

bool Tool::applyLivingRule(const std::string& element, CCArray* touches)
{
    const bool living = isLivingElement(element);
    if (!livingStroke && !living)
        return false;
    auto placeAtFirstTouch = [&] {
        countdown = std::max(4, 10 - brushSize());
        CCObject* first = touches && touches->count() > 0 ? touches->objectAtIndex(0) : nullptr;
        if (!first)
            return;
        const CCPoint p = touchPoint(first);
        placeParticle(static_cast<int32_t>(p.x), static_cast<int32_t>(p.y), std::string());
    };
    if (livingStroke) {
        if (!living) {
            livingStroke = false;
            return true;
        }
        if (--countdown > 0)
            return true;
        placeAtFirstTouch();
        return true;
    }
    livingStroke = true;
    placeAtFirstTouch();
    return true;
}
