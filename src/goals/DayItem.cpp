#include "goals/DayItem.h"

#include <algorithm>
#include <iterator>

#include "world/ParticleCreator.h"

namespace {

const char* const kTools[] = {"Draw", "Line", "Fill", "Replace", "Miner", "Clear", "Zoom"};
const char* const kOptions[] = {"Sun",      "Weather", "Temperature", "Light", "Background",
                                "VeryCold", "Cold",    "Normal",      "Hot",   "VeryHot"};

bool inList(const char* const* first, const char* const* last, const std::string& name)
{
    return std::any_of(first, last, [&name](const char* item) { return name == item; });
}

}  // namespace

bool isKnownDayItem(DayItem kind, const std::string& name)
{
    switch (kind) {
    case DayItem::Element: return !name.empty() && ParticleCreator::isAccepted(hashString(name));
    case DayItem::Tool: return inList(std::begin(kTools), std::end(kTools), name);
    case DayItem::Option: return inList(std::begin(kOptions), std::end(kOptions), name);
    }
    return false;
}
