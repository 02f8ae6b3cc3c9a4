#include "world/ColorTables.h"

#include <algorithm>
#include <cmath>

#include "base/Logger.h"

USING_NS_CC;

namespace {

ccColor4B* s_table = nullptr;

// Base colours of rows 0 .. 158 as RRGGBBAA.
constexpr uint32_t kBaseColours[kFilledColorRows] = {
    0xB3CE00FF, 0x9FB000FF, 0x50AA80FF, 0xB45080FF, 0x3A444EFF, 0x30443AFF, 0xFF00FFFF, 0xFFF9DEFF, 0xFFD700FF,
    0xFF00FFFF, 0x4040FFFF, 0xFFFF00FF, 0xFF4E00FF, 0xFF8A00FF, 0xFFC600FF, 0x0000FFFF, 0xFFFF00FF, 0xFF0000FF,
    0xEBF5FFFF, 0x0000C8FF, 0xC8C800FF, 0xC80000FF, 0xC8E6DCFF, 0xE6E6A0FF, 0xFFEBF550, 0xEBE1F58C, 0x4AB221FF,
    0x55AD32FF, 0x429621FF, 0xFF4040FF, 0xB4FFFFFF, 0xAAFAFAFF, 0xF57D1FFF, 0xF26522FF, 0xD7DEE1FF, 0xBECDD2FF,
    0x9C5D29FF, 0xAD692DFF, 0xFF00FFFF, 0xD44F65FF, 0x313149FF, 0x800040FF, 0x434A52FF, 0xBBBB00FF, 0xEBD56BFF,
    0xD8C25BFF, 0xA59B69FF, 0xCBB767FF, 0x009600FF, 0x3C3D3EC8, 0x505152C8, 0xC1EAF8FF, 0xD68229FF, 0xC67129FF,
    0x6EB4B4FF, 0x64AAAAFF, 0x7B757BFF, 0x8C8A8CFF, 0x006725FF, 0x009135FF, 0x007C2DFF, 0x008A32FF, 0x006725FF,
    0x009135FF, 0x007C2DFF, 0x008A32FF, 0x733705FF, 0xB65807FF, 0xCC00B2FF, 0x141618FF, 0xDE8874FF, 0xC46F5BFF,
    0x5EA5DFC8, 0x549AD3C8, 0x4A8EC6C8, 0xB7BAB8FF, 0xCBC9C9FF, 0x874711FF, 0xB65807FF, 0xFC8109FF, 0xFC8109FF,
    0x1CA12FFF, 0x28B03CFF, 0x2DB858FF, 0xF2CE46FF, 0xDDB727FF, 0xB28F0DFF, 0xF3E50DFF, 0xFFF00FFF, 0x9D13D2D7,
    0xAF21E5D7, 0xCD7FF8D7, 0xD9BB18D7, 0xEDCF30D7, 0xF7E952D7, 0xBCCBDFD7, 0xD8DFEAD7, 0xFDFAFFD7, 0x059033D7,
    0x14B148D7, 0x58D26FD7, 0x00B4C7D7, 0x01D4EBD7, 0x60F2FBD7, 0x0E1116D7, 0x1A1F27D7, 0x363E49D7, 0xC60049D7,
    0xDF0050D7, 0xFF639FD7, 0x0066A6D7, 0x0075BFD7, 0x52B5FAD7, 0xE2820FD7, 0xF69727D7, 0xFFCC6DD7, 0xF0E098FF,
    0x9E0B0BFF, 0xFF0000FF, 0x400000C8, 0xFF8A00FF, 0x402200C8, 0xFFFF00FF, 0x404000C8, 0x0000FFFF, 0x000040C8,
    0xC000FFFF, 0x340040C8, 0x00FF00FF, 0x004000C8, 0xFFFFA7FF, 0x5A96C6FF, 0x2A69B8FF, 0x408F9FFF, 0x90AC4AFF,
    0xE48E34FF, 0xF64635FF, 0x921A1AFF, 0x7A4685FF, 0xBA9049FF, 0xE61919FF, 0xEF9F7AFF, 0xCDCD7DFF, 0x371919FF,
    0x567C00FF, 0x819800FF, 0x99AC00FF, 0x2873AFFF, 0xFF4E04FF, 0xFAC81EFF, 0x1E234BFF, 0xBFB8C5FF, 0xA59FAAFF,
    0xFF6B94FF, 0xCD7DCDFF, 0xAE48B4FF, 0xDB4D65FF, 0x006400FF, 0x00FF7FFF,
};

ccColor4B fromRgba(uint32_t v)
{
    return ccc4(static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                static_cast<uint8_t>(v));
}

}  // namespace

HsvColor rgbToHsv(ccColor4B c)
{
    HsvColor hsv;
    const int r = c.r, g = c.g, b = c.b;
    const int maxC = std::max({r, g, b});
    const int minC = std::min({r, g, b});
    hsv.value = static_cast<uint8_t>(maxC);
    if (maxC == 0)
        return hsv;
    hsv.saturation = static_cast<uint8_t>((maxC - minC) * 255 / maxC);
    if (maxC == minC)
        return hsv;
    const int delta = maxC - minC;
    int hue;
    if (r == maxC)
        hue = 60 * (g - b) / delta;
    else if (g == maxC)
        hue = 120 + 60 * (b - r) / delta;
    else
        hue = 240 + 60 * (r - g) / delta;
    if (hue < 0)
        hue += 360;
    hsv.hue = hue;
    return hsv;
}

ccColor4B hsvToRgb(int hue, uint8_t saturation, uint8_t value)
{
    const float s = saturation / 255.0f;
    const float v = value;
    if (saturation == 0)
        return ccc4(value, value, value, 255);
    const float h = hue / 60.0f;
    const int i = static_cast<int>(std::floor(h));
    const float f = h - static_cast<float>(i);
    const uint8_t p = static_cast<uint8_t>(v * (1.0f - s));
    const uint8_t q = static_cast<uint8_t>(v * (1.0f - s * f));
    const uint8_t t = static_cast<uint8_t>(v * (1.0f - s * (1.0f - f)));
    switch (i) {
    case 0: return ccc4(value, t, p, 255);
    case 1: return ccc4(q, value, p, 255);
    case 2: return ccc4(p, value, t, 255);
    case 3: return ccc4(p, q, value, 255);
    case 4: return ccc4(t, p, value, 255);
    default: return ccc4(value, p, q, 255);
    }
}

ccColor4B darkenColor(ccColor4B colour, uint16_t steps)
{
    const HsvColor hsv = rgbToHsv(colour);
    const float factor = std::max(1.0f - 0.08f * static_cast<float>(steps), 0.4f);
    const uint8_t value = static_cast<uint8_t>(static_cast<float>(hsv.value) * factor);
    ccColor4B out = hsvToRgb(hsv.hue, hsv.saturation, value);
    // Translucent rows (glass, clouds) stay translucent when shaded.
    out.a = colour.a;
    return out;
}

void setColorRow(ccColor4B* table, int row, ccColor4B base)
{
    if (!table || row < 0 || row >= kColorTableRows)
        return;
    ccColor4B* entry = table + row * kColorsPerRow;
    entry[0] = base;
    for (int k = 1; k < kColorsPerRow; ++k)
        entry[k] = darkenColor(base, static_cast<uint16_t>(k));
}

ccColor4B* colorTable()
{
    if (!s_table)
        s_table = new ccColor4B[kColorTableRows * kColorsPerRow]();
    return s_table;
}

ccColor4B colorOfRow(int row)
{
    if (row < 0 || row >= kColorTableRows)
        return ccc4(0, 0, 0, 0);
    return colorTable()[row * kColorsPerRow];
}

void initColorsAndShadows()
{
    LOG << "initColorsAndShadows";
    ccColor4B* table = colorTable();
    LOG << "initColorsAndShadows2";
    for (int row = 0; row < 4; ++row)
        setColorRow(table, row, fromRgba(kBaseColours[row]));
    LOG << "initColorsAndShadows4";
    for (int row = 4; row < kFilledColorRows; ++row)
        setColorRow(table, row, fromRgba(kBaseColours[row]));
    LOG << "initColorsAndShadows Done";
}

bool SinCosTable::s_built = false;
float* SinCosTable::s_sines = nullptr;
float* SinCosTable::s_cosines = nullptr;

void SinCosTable::generateIfNecessary()
{
    if (s_built)
        return;
    s_sines = new float[kDirections];
    s_cosines = new float[kDirections];
    for (int i = 0; i < kDirections; ++i) {
        const float angle = static_cast<float>(i) * 0.08726646f;
        s_sines[i] = std::sin(angle);
        s_cosines[i] = std::cos(angle);
    }
    s_built = true;
}
