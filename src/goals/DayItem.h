#pragma once
// What a day may offer: the element, tool and option names its settings
// file lists and the goals unlock (GUI::loadDaySettings reads the file).
#include <string>

enum class DayItem { Element, Tool, Option };

// Elements are the factory's type names; tools "Draw", "Line", "Fill",
// "Replace", "Miner", "Clear" (the eraser) and "Zoom"; options "Sun",
// "Weather", "Temperature", "Light", "Background" and the five temperature
// presets.
bool isKnownDayItem(DayItem kind, const std::string& name);
