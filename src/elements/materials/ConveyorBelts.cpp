#include "elements/materials/ConveyorBelts.h"

#include "elements/creatures/MPObject.h"

bool ConveyorBelt::isBelt(uint32_t type)
{
    return type == ConveyorBeltLeft::kTypeId || type == ConveyorBeltRight::kTypeId;
}

void ConveyorBelt::update()
{
    World& w = world();
    if (!w.inWorld(x, y - 1) || w.electricityGrid.getCell(x, y - 1) != ElectricityGrid::kHead)
        return;
    if (!w.inWorld(x, y + 1))
        return;
    Particle* load = w.grid[x][y + 1];
    if (!load)
        return;
    const int tx = x + direction;
    if (tx < 0 || tx >= w.width)
        return;
    Particle* ahead = w.grid[tx][y + 1];
    if (!ahead) {
        carry(load, tx, y + 1);
        return;
    }
    // A neighbouring belt one cell higher: the load climbs onto it.
    if (isBelt(ahead->getType()) && w.inWorld(tx, y + 2) && !w.grid[tx][y + 2])
        carry(load, tx, y + 2);
}

void ConveyorBelt::carry(Particle* load, int tx, int ty)
{
    // A multi-pixel cell is moved with its object, or not at all (a cell
    // with no group yet stays).
    if (load->isMultiPixel()) {
        if (MPObject* group = load->getGroup())
            group->moveBy(direction, ty - load->y, true);
        return;
    }
    if (load->getType() == TypeId::OutsideWall)
        return;
    world().moveParticle(load, tx, ty);
}

template class Belt<kConveyorBeltLInfo, -1>;
template class Belt<kConveyorBeltRInfo, 1>;

void registerConveyorBelts()
{
    registerElements<ConveyorBeltLeft, ConveyorBeltRight>();
}
