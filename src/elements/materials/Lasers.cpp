#include "elements/materials/Lasers.h"

#include "base/Logger.h"
#include "elements/creatures/CreatureKinds.h"

int64_t LaserBase::cellsWalked = 0;

int32_t BeamRow::ofGem(uint32_t type)
{
    switch (type) {
    case TypeId::of("Amatist"): return kAmatist;
    case TypeId::of("Citrine"): return kCitrine;
    case TypeId::of("Diamond"): return kDiamond;
    case TypeId::of("Emerald"): return kEmerald;
    case TypeId::of("Lapislazuli"): return kLapislazuli;
    case TypeId::of("Obsidian"): return kObsidian;
    case TypeId::of("Ruby"): return kRuby;
    case TypeId::of("Sapphire"): return kSapphire;
    case TypeId::of("Zircon"): return kZircon;
    default: return 0;
    }
}

namespace {

cocos2d::ccColor4B rowColour(int32_t row)
{
    return colorOfRow(row);
}

bool glassAt(int cx, int cy)
{
    const World& w = *gWorld;
    Particle* p = w.inWorld(cx, cy) ? w.grid[cx][cy] : nullptr;
    return p && p->getType() == TypeId::Glass;
}

bool emptyAt(int cx, int cy)
{
    const World& w = *gWorld;
    return w.inWorld(cx, cy) && !w.grid[cx][cy];
}

// The cells at distance 1 .. r from (x, y) along the eight directions.
template <class Visit> void forStar(int x, int y, int r, Visit visit)
{
    static constexpr int dirs[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
    for (int k = 1; k <= r; ++k)
        for (const auto& d : dirs)
            visit(x + k * d[0], y + k * d[1]);
}

void addOnStar(int x, int y, int r, uint32_t type)
{
    forStar(x, y, r, [type](int cx, int cy) { gWorld->addParticle(cx, cy, type, false); });
}

void flash(int x, int y, int r, cocos2d::ccColor4B colour)
{
    forStar(x, y, r, [colour](int cx, int cy) {
        if (Particle* beam = gWorld->addParticle(cx, cy, LaserBeam::kTypeId, false))
            beam->setColor(colour);
    });
}

void heatStar(int x, int y, int r, float amount)
{
    TemperatureField& t = gWorld->temperatureField;
    t.addAt(x, y, amount);
    forStar(x, y, r, [&t, amount](int cx, int cy) { t.addAt(cx, cy, amount); });
}

}  // namespace

struct LaserBase::Trace {
    int budget = kCallBudget;
    int depth = 0;
};

void LaserBase::traceBeam(int x, int y, int dx, int dy, int32_t row)
{
    if (dx == 0 && dy == 0)
        return;
    Trace t;
    traceLegs(t, x, y, dx, dy, row);
}

void LaserBase::traceLegs(Trace& t, int x, int y, int dx, int dy, int32_t row)
{
    if (t.depth >= kMaxNesting)
        return;
    ++t.depth;
    World& w = *gWorld;
    const cocos2d::ccColor4B* beamColour = nullptr;
    cocos2d::ccColor4B colour{};
    int legBudget = 0;
    int crossed = 0;
    bool afterPassThrough = false;  // the cell just left held a particle the beam passed
    bool newLeg = true;
    for (;;) {
        if (newLeg) {
            newLeg = false;
            legBudget = kLegBudget;
            crossed = 0;
            afterPassThrough = false;
        }
        if (legBudget <= 0 || t.budget <= 0 || !w.inWorld(x, y))
            break;
        --legBudget;
        --t.budget;
        ++cellsWalked;
        Particle* q = w.grid[x][y];
        if (!q) {
            Particle* beam = w.addParticle(x, y, LaserBeam::kTypeId, false);
            if (!beam)
                break;
            if (!beamColour) {
                colour = rowColour(row);
                beamColour = &colour;
            }
            beam->setColor(colour);
            afterPassThrough = false;
            x += dx;
            y += dy;
            continue;
        }
        const uint32_t type = q->getType();
        if (type == LaserBeam::kTypeId) {
            if (++crossed > kMaxCrossed)
                break;
            afterPassThrough = false;
            x += dx;
            y += dy;
            continue;
        }
        if (type == TypeId::OutsideWall || CreatureKind::isHuman(type)) {
            if (!afterPassThrough)
                hitAt(x, y, row);
            break;
        }
        if (type == TypeId::Glass) {
            if (afterPassThrough) {
                x += dx;
                y += dy;
                continue;
            }
            const int gx = x;
            const int gy = y;
            const int n = q->countNeighboursOfType(TypeId::Glass);
            int turnX = 0, turnY = 0;
            bool turn = false;
            bool restart = false;
            int rx = 0, ry = 0, rdx = 0, rdy = 0;
            if (dx == 0 || dy == 0) {
                const int s1x = dx == 0 ? -1 : 0, s1y = dx == 0 ? 0 : -1;
                const int s2x = -s1x, s2y = -s1y;
                const bool frontS1 = glassAt(gx + dx + s1x, gy + dy + s1y);
                const bool frontS2 = glassAt(gx + dx + s2x, gy + dy + s2y);
                const bool backS1 = glassAt(gx - dx + s1x, gy - dy + s1y);
                const bool backS2 = glassAt(gx - dx + s2x, gy - dy + s2y);
                if (n == 2 && backS1 && backS2) {
                    traceLegs(t, gx + s1x, gy + s1y, dx, dy, row);
                    traceLegs(t, gx + s2x, gy + s2y, dx, dy, row);
                } else if (frontS1 && frontS2 && n == 3 && backS1) {
                    restart = true;
                    rdx = dx + s1x, rdy = dy + s1y;
                    rx = gx + 2 * rdx, ry = gy + 2 * rdy;
                } else if (frontS1 && frontS2 && n == 3 && backS2) {
                    restart = true;
                    rdx = dx + s2x, rdy = dy + s2y;
                    rx = gx + 2 * rdx, ry = gy + 2 * rdy;
                } else if (frontS1 && frontS2 && emptyAt(gx + s1x, gy + s1y) && emptyAt(gx + s2x, gy + s2y)) {
                    traceLegs(t, gx + s1x, gy + s1y, dx + s1x, dy + s1y, row);
                    restart = true;
                    rdx = dx + s2x, rdy = dy + s2y;
                    rx = gx + s2x, ry = gy + s2y;
                } else if (n > 3) {
                    // straight on
                } else if (frontS1) {
                    turn = true, turnX = dx + s1x, turnY = dy + s1y;
                } else if (frontS2) {
                    turn = true, turnX = dx + s2x, turnY = dy + s2y;
                } else if (backS1) {
                    turn = true, turnX = dx + s2x, turnY = dy + s2y;
                } else if (backS2) {
                    turn = true, turnX = dx + s1x, turnY = dy + s1y;
                }
            } else {
                const bool ahH = glassAt(gx + dx, gy);
                const bool ahV = glassAt(gx, gy + dy);
                const bool backH = glassAt(gx - dx, gy);
                const bool backV = glassAt(gx, gy - dy);
                if (n == 2 && backH && backV) {
                    traceLegs(t, gx + dx, gy, dx, dy, row);
                    traceLegs(t, gx, gy + dy, dx, dy, row);
                } else if (ahH && ahV && n == 3 && backH) {
                    restart = true, rdx = 0, rdy = dy, rx = gx, ry = gy + 2 * dy;
                } else if (ahH && ahV && n == 3 && backV) {
                    restart = true, rdx = dx, rdy = 0, rx = gx + 2 * dx, ry = gy;
                } else if (ahH && ahV && emptyAt(gx + dx, gy - dy) && emptyAt(gx - dx, gy + dy)) {
                    traceLegs(t, gx + 2 * dx, gy, dx, 0, row);
                    restart = true, rdx = 0, rdy = dy, rx = gx, ry = gy + 2 * dy;
                } else if (n > 3) {
                    // straight on
                } else if (ahH) {
                    turn = true, turnX = dx, turnY = 0;
                } else if (ahV) {
                    turn = true, turnX = 0, turnY = dy;
                } else if (backH) {
                    turn = true, turnX = dx, turnY = 0;
                } else if (backV) {
                    turn = true, turnX = 0, turnY = dy;
                }
            }
            if (restart) {
                x = rx, y = ry, dx = rdx, dy = rdy;
                newLeg = true;
                continue;
            }
            if (turn) {
                // From the cell before the glass, in the new direction.
                x = gx - dx + turnX;
                y = gy - dy + turnY;
                dx = turnX;
                dy = turnY;
                continue;
            }
            // Straight on, past the glass.
            afterPassThrough = true;
            x = gx + dx;
            y = gy + dy;
            continue;
        }
        if (q->lightAbsorption == 0) {
            afterPassThrough = true;
            x += dx;
            y += dy;
            continue;
        }
        if (const int32_t gemRow = BeamRow::ofGem(type)) {
            row = gemRow;
            beamColour = nullptr;
            x += dx;
            y += dy;
            continue;
        }
        if (!afterPassThrough)
            hitAt(x, y, row);
        break;
    }
    --t.depth;
}

void LaserBase::hitAt(int x, int y, int32_t row)
{
    World& w = *gWorld;
    Particle* target = w.at(x, y);
    switch (row) {
    case BeamRow::kAmatist:
        if (target)
            addOnStar(x, y, 1, TypeId::AVirus);
        break;
    case BeamRow::kCitrine:
        if (target && target->getType() == TypeId::Metal)
            w.electricityGrid.setCell(x, y, ElectricityGrid::kHead);
        else
            addOnStar(x, y, 9, TypeId::Electro);
        break;
    case BeamRow::kDiamond: break;
    case BeamRow::kEmerald:
        if (target)
            addOnStar(x, y, 4, TypeId::Virus);
        break;
    case BeamRow::kLapislazuli:
        heatStar(x, y, 2, -100.0f);
        flash(x, y, 2, rowColour(row));
        break;
    case BeamRow::kObsidian: {
        if (target && target->getType() != TypeId::Wall && target->getType() != TypeId::OutsideWall)
            w.removeParticle(x, y);
        const cocos2d::ccColor4B hot{255, static_cast<uint8_t>(gameRand() % 255), 0, 255};
        flash(x, y, 2, hot);
        break;
    }
    case BeamRow::kRuby:
        heatStar(x, y, 4, 1000.0f);
        flash(x, y, 4, rowColour(row));
        break;
    case BeamRow::kSapphire:
        heatStar(x, y, 4, -1000.0f);
        flash(x, y, 4, rowColour(row));
        break;
    case BeamRow::kZircon:
        heatStar(x, y, 2, 100.0f);
        flash(x, y, 2, rowColour(row));
        break;
    default: {
        static RepeatedLine unknownRow;
        if (unknownRow.due())
            LOG << "Shouldn't get here ever :S" << unknownRow;
        break;
    }
    }
}

void LaserBase::fire()
{
    // Only locals after the first trace: a beam may remove this laser.
    const int lx = x;
    const int ly = y;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if ((dx != 0 || dy != 0) && glassAt(lx + dx, ly + dy))
                traceBeam(lx + 2 * dx, ly + 2 * dy, dx, dy, BeamRow::kDiamond);
}

void LaserTransmitter::update()
{
    if (world().electricityGrid.isPowered(x, y))
        fire();
}

void registerLasers()
{
    registerElements<Laser, LaserBeam, LaserTransmitter>();
    ParticleCreator::registerClass<LaserTransmitter>("LaserTransmitter");
}
