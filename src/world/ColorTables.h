#pragma once
// The shared colour table every element draws from (200 rows of a base colour
// and five darker variants), the RGB/HSV conversions the light code shades
// with, and the 72 explosion-ray directions. Built once at start-up.
#include <cstdint>

#include "cocos2d.h"

constexpr int kColorTableRows = 200;
constexpr int kColorsPerRow = 6;
// Rows 0 .. kFilledColorRows - 1 hold colours; the rest stay zero.
constexpr int kFilledColorRows = 159;

struct HsvColor {
    int hue = 0;             // degrees, 0 .. 359
    uint8_t saturation = 0;  // 0 .. 255
    uint8_t value = 0;       // 0 .. 255
};

HsvColor rgbToHsv(cocos2d::ccColor4B colour);
// Alpha of the result is 255: the conversion works on r, g and b only.
cocos2d::ccColor4B hsvToRgb(int hue, uint8_t saturation, uint8_t value);
// Scales the HSV value by max(1 - 0.08 * steps, 0.4); keeps the colour's alpha.
cocos2d::ccColor4B darkenColor(cocos2d::ccColor4B colour, uint16_t steps);

// table points at kColorTableRows * kColorsPerRow colours.
void setColorRow(cocos2d::ccColor4B* table, int row, cocos2d::ccColor4B base);

// The process-wide table, created zeroed on first use (never freed).
cocos2d::ccColor4B* colorTable();
// Colour 0 of a row; rows outside the table give (0, 0, 0, 0).
cocos2d::ccColor4B colorOfRow(int row);
// Fills rows 0 .. 158 (logs its progress as it goes).
void initColorsAndShadows();

// Sines and cosines of the 72 ray directions, 5 degrees apart; ray 0 points
// right, ray 18 straight up.
class SinCosTable {
public:
    static constexpr int kDirections = 72;
    static void generateIfNecessary();
    static bool isBuilt() { return s_built; }
    static float sine(int i) { return s_sines[i]; }
    static float cosine(int i) { return s_cosines[i]; }

private:
    static bool s_built;
    static float* s_sines;
    static float* s_cosines;
};
