#pragma once
// The creature and vehicle kinds that material code tells apart by type id
// only, and the one thing it asks of a human cell: the job of its human.
// The job comes through a hook that the creature code fills in; until it
// does, no cell has a job, so no human counts as a zombie.
#include <cstdint>
#include <string>

#include "world/Particle.h"

namespace CreatureKind {
inline constexpr uint32_t HumanLeader = hashString("HumanLeader");
inline constexpr uint32_t HumanPart = hashString("HumanPart");
inline constexpr uint32_t RobotLeader = hashString("RobotLeader");
inline constexpr uint32_t RobotPart = hashString("RobotPart");
inline constexpr uint32_t LionLeader = hashString("LionLeader");
inline constexpr uint32_t LionPart = hashString("LionPart");
inline constexpr uint32_t MPLeaderRabbit = hashString("MPLeaderRabbit");
inline constexpr uint32_t MPRabbitBody = hashString("MPRabbitBody");
inline constexpr uint32_t MPLeaderCar = hashString("MPLeaderCar");
inline constexpr uint32_t MPLeaderTank = hashString("MPLeaderTank");
inline constexpr uint32_t MPLeaderTruck = hashString("MPLeaderTruck");
inline constexpr uint32_t MPSportCar = hashString("MPSportCar");
inline constexpr uint32_t MPBodyCar = hashString("MPBodyCar");
inline constexpr uint32_t MPLander = hashString("MPLander");
inline constexpr uint32_t Flamingo = hashString("Flamingo");

inline constexpr bool isHuman(uint32_t type)
{
    return type == HumanLeader || type == HumanPart;
}
inline constexpr bool isRobot(uint32_t type)
{
    return type == RobotLeader || type == RobotPart;
}
}  // namespace CreatureKind

// (a HumanLeader or HumanPart cell) -> the job of its human; empty for none.
using HumanJobHook = std::string (*)(const Particle* humanCell);
// Installs the hook (null takes it away again).
void setHumanJobHook(HumanJobHook hook);
// The job of the human a cell belongs to; empty for any other cell, and for
// every cell while no hook is installed.
std::string humanJobOf(const Particle* cell);
// A cell of a human whose job is "zombie".
bool isZombieCell(const Particle* cell);
