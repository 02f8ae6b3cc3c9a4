#include "elements/living/Stinger.h"

#include "cocos2d_extensions/CCValue.h"
#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/DistanceField.h"
#include "elements/creatures/MPObject.h"
#include "elements/living/Alien.h"

namespace {

using TypeId::of;

bool inList(const std::vector<uint32_t>& list, uint32_t type)
{
    for (uint32_t t : list)
        if (t == type)
            return true;
    return false;
}

}  // namespace

const std::vector<uint32_t>& Stinger::passableKinds()
{
    static const std::vector<uint32_t> kinds{
        of("Xenovine"), of("PiranthaTunnel"), of("Stinger"),   of("Sand"),    of("Soil"),
        of("Mud"),      of("TreeLeaf"),       of("Ice"),       of("Snow"),    of("Wax"),
        of("Water"),    of("Steam"),          of("Gas"),       of("Cloud"),   of("AVirus"),
        of("Bulb"),     of("Heater"),         of("Aluminite"), of("Citrine"), of("Diamond"),
        of("Emerald"),  of("Lapislazuli"),    of("Obsidian"),  of("Ruby"),    of("Sapphire"),
        of("Zircon"),   of("CrossWire")};
    return kinds;
}

const std::vector<uint32_t>& Stinger::targetKinds()
{
    static const std::vector<uint32_t> kinds{CreatureKind::HumanLeader,
                                             CreatureKind::HumanPart,
                                             CreatureKind::Flamingo,
                                             CreatureKind::LionLeader,
                                             CreatureKind::LionPart,
                                             of("Fish"),
                                             of("DeepSeaFish"),
                                             CreatureKind::MPLeaderRabbit,
                                             CreatureKind::MPRabbitBody,
                                             of("Bee"),
                                             of("Firefly")};
    return kinds;
}

bool Stinger::isSoftMatter(uint32_t type)
{
    // The passable kinds but the vine (tested on its own) and the Stinger.
    static const std::vector<uint32_t> kinds(passableKinds().begin() + 3, passableKinds().end());
    return type == PiranthaTunnel::kTypeId || inList(kinds, type);
}

bool Stinger::isSmallPrey(uint32_t type)
{
    return type == CreatureKind::Flamingo || type == of("Fish") || type == of("DeepSeaFish") || type == of("Bee") ||
        type == of("Firefly");
}

bool Stinger::isGlowingPrey(uint32_t type)
{
    return type == of("Firefly") || type == of("DeepSeaFish");
}

bool Stinger::isLargePrey(uint32_t type)
{
    return type == CreatureKind::HumanPart || type == CreatureKind::HumanLeader || type == CreatureKind::LionLeader ||
        type == CreatureKind::LionPart || type == CreatureKind::MPLeaderRabbit || type == CreatureKind::MPRabbitBody;
}

void Stinger::resetForTests()
{
    fieldDriver = nullptr;
    kindsInstalled = false;
    DistanceField::instance().reset();
}

Stinger::~Stinger()
{
    if (fieldDriver == this)
        fieldDriver = nullptr;
}

std::pair<int, int> Stinger::nextCell()
{
    DistanceField& field = DistanceField::instance();
    if (!kindsInstalled) {
        field.setKinds(passableKinds(), targetKinds());
        kindsInstalled = true;
    }
    if (fieldDriver == this)
        field.update();
    return field.findLowestNeighbour(x, y);
}

void Stinger::sideStep()
{
    const int tx = x + gameRand() % 3 - 1;
    const int ty = y + gameRand() % 3 - 1;
    if (isEmptyAt(tx, ty))
        moveTo(tx, ty);
}

void Stinger::eatLargePrey(Particle* prey)
{
    MPObject* group = prey->getGroup();
    cocos2d::CCArray* members = group ? group->memberLists[0] : nullptr;
    if (!members)
        return;
    // The cells first: removing a member may change its group. (The list
    // keeps its room from prey to prey.)
    static std::vector<std::pair<int, int>> cells;
    cells.clear();
    for (unsigned i = 0; i < members->count(); ++i) {
        auto* box = static_cast<cocos2d_extensions::CCValue<Particle*>*>(members->objectAtIndex(i));
        if (Particle* cell = box ? box->getValue() : nullptr)
            cells.emplace_back(cell->x, cell->y);
    }
    World& w = world();
    const size_t n = cells.size();
    for (size_t i = 0; i < n; ++i) {
        const auto [cx, cy] = cells[i];
        w.removeParticle(cx, cy);
        w.addParticle(cx, cy, i + 2 < n ? TypeId::Wax : Xenovine::kTypeId, false);
    }
}

void Stinger::update()
{
    if (burnIfHot(kBurns, LivingHeat::kBurnChance))
        return;
    if (--timer > 0)
        return;
    const int r = gameRand() % 4;
    --life;
    timer = r + 8;
    World& w = world();
    if (life <= 0) {
        removeSelf();
        return;
    }
    if (!fieldDriver)
        fieldDriver = this;
    auto [tx, ty] = nextCell();
    if (tx < 0) {
        tx = x + gameRand() % 3 - 1;
        ty = y + gameRand() % 3 - 1;
    }
    Particle* there = cellAt(tx, ty);
    if (!there) {
        moveTo(tx, ty);
        return;
    }
    const uint32_t kind = there->getType();
    if (kind == Xenovine::kTypeId || isSoftMatter(kind)) {
        swapWith(there);
        return;
    }
    if (isSmallPrey(kind)) {
        const bool glowing = isGlowingPrey(kind);
        w.removeParticle(tx, ty);
        Particle* left = w.addParticle(tx, ty, glowing ? Aluminite::kTypeId : Xenovine::kTypeId, false);
        // A refused ore has nothing to charge.
        if (glowing && left && left->getType() == Aluminite::kTypeId)
            static_cast<Aluminite*>(left)->setCharge(1.0f);
        removeSelf();
        return;
    }
    // Large prey not yet bound into a body is met like anything else.
    if (isLargePrey(kind) && there->getGroup()) {
        eatLargePrey(there);
        removeSelf();
        return;
    }
    sideStep();
}

void registerStinger()
{
    registerElements<Stinger>();
}
