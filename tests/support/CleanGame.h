#pragma once
// One reset for every test that needs a clean game: the game layer, the
// profile and the server client start new, the world host is the game's own
// (with the free-play flag in the test's hands) and every game service and
// stand-in is back at its default.
#include "screens/GameWiring.h"

namespace testsupport {

class TestHost : public GameHost {
public:
    bool isFreePlay() override { return freePlay; }
    bool freePlay = false;
};

// The host resetGame installs.
TestHost& testHost();

void resetGame();

}  // namespace testsupport
