#pragma once
// The element palette's data: one entry (name, family) per paintable element,
// and the families the palette groups them in, one page each.
#include <string>
#include <vector>

enum class PaletteFamily : int {
    Powders,
    Liquids,
    Gases,
    Fire,     // fire and explosives
    Devices,  // energy and devices
    Life,     // plants and life
    Creatures,
    Vehicles,
    Special,
};
constexpr int kPaletteFamilies = 9;

struct PaletteEntry {
    const char* name;
    PaletteFamily family;
};

const std::vector<PaletteEntry>& paletteTable();
// A name the factory knows that no palette shows.
bool isInternalElement(const std::string& name);
// The family of a palette name; "Clear" (the eraser) is special. A name the
// palette does not show belongs to the first family.
PaletteFamily paletteFamilyOf(const std::string& name);
// The localisation key of a family's name on its tab.
const char* paletteFamilyKey(PaletteFamily family);
