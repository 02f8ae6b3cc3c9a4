#pragma once
// Text drawn pixel by pixel for placeholders and counters: a 3 x 5 capital
// font for labels and a 3 x 7 digit font for the badge digit strip.
#include <string>

#include "Image.h"

namespace assetgen {

// The width of text in the 3 x 5 font (3 pixels a glyph, 1 between).
int smallTextWidth(const std::string& text);
// Draws text (letters are drawn as capitals; characters without a glyph as
// a gap) with its top-left corner at (x, y).
void drawSmallText(Image& image, int x, int y, const std::string& text, Rgba ink);

// A block of fill with a 1-pixel outline and the label centred on it in ink;
// a label wider than the block loses its last characters.
Image labelledBlock(int width, int height, Rgba fill, Rgba outline, const std::string& label, Rgba ink);

// The badge digit strip, 42 x 7: "9+" (a plus) at x 0..2, digit n at
// x 4n + 3 .. 4n + 5, every other column transparent.
Image digitStrip(Rgba ink);

// The label of an element placeholder, at most three characters: after a
// family's first word ("Seed", "MP", "MPLeader"), the capitals of a name
// made of words ("BuilderDust" -> "BD"), else its first three letters
// ("Tyrannosaurus" -> "TYR", "SeedPagoda" -> "PAG").
std::string placeholderLabel(const std::string& name);

}  // namespace assetgen
