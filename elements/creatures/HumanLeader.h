#pragma once
// HumanLeader: the leader cell of a human. NOT BUILT YET beyond the one
// service the resource seeds use: taking a unit from the colony's store,
// which the world blob keeps for now.
#include <string>

class HumanLeader {
public:
    // Takes one unit of "Food", "Stone" or "Wood" from the colony: false when
    // it has none.
    static bool useResource(const std::string& resource);
};
