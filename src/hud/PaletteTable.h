#pragma once
// The element palette's data: one entry (name, group) per paintable element.
#include <string>
#include <vector>

struct PaletteEntry {
    const char* name;
    const char* group;
};

const std::vector<PaletteEntry>& paletteTable();
// A name the factory knows that no palette shows.
bool isInternalElement(const std::string& name);
