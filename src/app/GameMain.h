#pragma once
// The process's own sequence around the engine: the platform services, the
// application delegate, the view, the loop and the shut-down. The entry point
// runs it with the engine's loop; tests run it with a loop of their own.
#include <functional>

// Runs the engine once the delegate and view exist; returns the exit code.
using GameLoop = std::function<int()>;

// 1 when the platform services cannot start (after a message box), else the
// loop's result.
int runGame(const GameLoop& loop);
// With the engine's own loop (CCApplication::run).
int runGame();
