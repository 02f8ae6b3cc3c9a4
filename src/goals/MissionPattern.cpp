#include "goals/MissionPattern.h"

#include "elements/creatures/HumanLeader.h"
#include "elements/materials/Cloners.h"
#include "elements/materials/Instruments.h"
#include "elements/materials/Leds.h"
#include "elements/materials/Wiring.h"
#include "world/World.h"

USING_NS_CC;

namespace {

PatternProbe g_probe = nullptr;

constexpr uint32_t kBulb = hashString("Bulb");
constexpr uint32_t kNote = hashString("Note");
constexpr uint32_t kMulti = hashString("Multi");
constexpr uint32_t kEMulti = hashString("EMulti");
constexpr uint32_t kHumanPart = hashString("HumanPart");
constexpr uint32_t kLeds[] = {hashString("LedBlue"),   hashString("LedGreen"), hashString("LedOrange"),
                              hashString("LedPurple"), hashString("LedRed"),   hashString("LedYellow")};

bool isEnd(const MissionPatternRecord& r)
{
    return (r.end & 0xff) != 0;
}

// The particle in a record's cell: null when empty or outside the world.
Particle* cellOf(const MissionPatternRecord& r)
{
    return gWorld ? gWorld->at(r.x, r.y) : nullptr;
}

bool matches(const MissionPatternRecord& r)
{
    const Particle* p = cellOf(r);
    return p && p->getType() == r.type;
}

bool powered(const MissionPatternRecord& r)
{
    return gWorld && gWorld->electricityGrid.isPoweredNear(r.x, r.y);
}

bool litBulb(const MissionPatternRecord& r)
{
    Particle* p = cellOf(r);
    if (!p || p->getType() != kBulb)
        return false;
    auto* bulb = dynamic_cast<Bulb*>(p);
    return bulb && bulb->litTicks > 0;
}

bool litLed(const MissionPatternRecord& r)
{
    Particle* p = cellOf(r);
    if (!p)
        return false;
    const uint32_t type = p->getType();
    for (uint32_t led : kLeds)
        if (type == led) {
            auto* l = dynamic_cast<Led*>(p);
            return l && l->glow > 0;
        }
    return false;
}

// What a container carries, as the type id of the element: the cloners'
// copied kind; nothing (0) for every other kind.
uint32_t carriedContent(Particle* p)
{
    const uint32_t type = p->getType();
    if (type == kMulti)
        if (auto* multi = dynamic_cast<Multi*>(p))
            return multi->copiedType;
    if (type == kEMulti)
        if (auto* emulti = dynamic_cast<EMulti*>(p))
            return emulti->copiedType;
    return 0;
}

// Every cell passes `test` (stops at the first that does not).
template <class Test> bool every(MissionPattern table, Test test)
{
    for (const MissionPatternRecord* r = table; r && !isEnd(*r); ++r)
        if (!test(*r))
            return false;
    return true;
}

int32_t cellCount(MissionPattern table)
{
    int32_t n = 0;
    for (const MissionPatternRecord* r = table; r && !isEnd(*r); ++r)
        ++n;
    return n;
}

// Some cell passes `test` (stops at the first that does).
template <class Test> bool some(MissionPattern table, Test test)
{
    return !every(table, [&](const MissionPatternRecord& r) { return !test(r); });
}

}  // namespace

bool patternAllMatch(MissionPattern table)
{
    if (g_probe)
        return g_probe(table, PatternAsk::EveryKind);
    return every(table, matches);
}

bool patternNoneMatch(MissionPattern table)
{
    if (g_probe)
        return g_probe(table, PatternAsk::Other);
    return !some(table, matches);
}

bool patternAllEmpty(MissionPattern table)
{
    if (g_probe)
        return g_probe(table, PatternAsk::Other);
    return every(table, [](const MissionPatternRecord& r) { return cellOf(r) == nullptr; });
}

int32_t patternCount(MissionPattern table)
{
    if (g_probe)
        return g_probe(table, PatternAsk::Other) ? cellCount(table) : 0;
    int32_t count = 0;
    for (const MissionPatternRecord* r = table; r && !isEnd(*r); ++r)
        count += matches(*r);
    return count;
}

bool patternCountAtLeast(MissionPattern table, int32_t n)
{
    if (g_probe)
        return g_probe(table, PatternAsk::Other);
    return patternCount(table) >= n;
}

bool patternAllMatchPowered(MissionPattern table)
{
    if (g_probe)
        return g_probe(table, PatternAsk::EveryKind);
    return every(table, [](const MissionPatternRecord& r) { return matches(r) && powered(r); });
}

bool patternAnyMatchPowered(MissionPattern table)
{
    if (g_probe)
        return g_probe(table, PatternAsk::Other);
    return some(table, [](const MissionPatternRecord& r) { return matches(r) && powered(r); });
}

bool patternAllBulbsLit(MissionPattern table)
{
    if (g_probe)
        return g_probe(table, PatternAsk::Other);
    return every(table, litBulb);
}

bool patternAnyBulbLit(MissionPattern table)
{
    if (g_probe)
        return g_probe(table, PatternAsk::Other);
    return some(table, litBulb);
}

bool patternAllLedsLit(MissionPattern table)
{
    if (g_probe)
        return g_probe(table, PatternAsk::Other);
    return every(table, litLed);
}

bool patternMatchesCarryName(MissionPattern table, CCString* name)
{
    if (g_probe)
        return g_probe(table, PatternAsk::Other);
    const uint32_t wanted = hashString(name ? name->getString() : std::string());
    return every(table, [wanted](const MissionPatternRecord& r) {
        Particle* p = cellOf(r);
        return !(p && p->getType() == r.type) || carriedContent(p) == wanted;
    });
}

bool patternHasHumanWithJob(MissionPattern table, CCString* job)
{
    if (g_probe)
        return g_probe(table, PatternAsk::Other);
    if (!job)
        return false;
    const std::string_view wanted = job->getString();
    return some(table, [wanted](const MissionPatternRecord& r) {
        Particle* p = cellOf(r);
        if (!p || p->getType() != kHumanPart)
            return false;
        auto* human = dynamic_cast<HumanPart*>(p);
        return human && human->hasJob(wanted);
    });
}

Particle* firstPatternMatch(MissionPattern table)
{
    if (g_probe) {
        g_probe(table, PatternAsk::Other);
        return nullptr;
    }
    for (const MissionPatternRecord* r = table; r && !isEnd(*r); ++r)
        if (matches(*r))
            return cellOf(*r);
    return nullptr;
}

bool composeSolved(MissionPattern table)
{
    if (g_probe)
        return g_probe(table, PatternAsk::Other);
    return every(table, [](const MissionPatternRecord& r) {
        Particle* p = cellOf(r);
        if (!p || p->getType() != kNote)
            return false;
        auto* note = dynamic_cast<Note*>(p);
        return note && !(note->note == 0 && note->octave == 2);
    });
}

void setPatternProbeForTests(PatternProbe probe)
{
    g_probe = probe;
}
