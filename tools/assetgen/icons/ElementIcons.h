#pragma once
// Element icons drawn from the game itself: each element's recipe in
// assets/icons/elements.icons runs the element in a tiny world of the game's
// own code (a heap of a powder, a pool of a liquid, a puff of gas, a flame),
// paints it into a shape, or draws a pixel map in its colours; creatures,
// vehicles and grown structures come from their own pictures. Every icon is
// 14 x 14: a 12 x 12 picture with a one-pixel dark outline round it.
//
//   NAME heap [GRAINS]           poured from above, then settled
//   NAME pool [DROPS]            poured into a basin, caught while still pouring
//   NAME puff [STEPS]            a blob released near the floor, a few steps later
//   NAME flame FUEL [STEPS]      the element set on a bed of FUEL
//   NAME block SHAPE             the shape filled with fresh particles of the element
//   NAME art FILE...             pixel maps from assets/art/ laid over each other;
//                                magenta pixels take the element's first colour
//                                row, cyan ones its last
//   NAME picture FILE            a pixel map from assets/art/, fitted into the icon
//   NAME blueprint FILE          the grown picture of a blueprint source
//   NAME dust FILE               a heap of the dust beside the creature it makes
//   NAME same OTHER              the icon of another name (the factory's aliases)
#include <map>
#include <string>
#include <vector>

#include "Image.h"

namespace assetgen {

struct IconRecipe {
    std::string element;
    std::string kind;
    std::vector<std::string> args;
    std::string where;  // file:line, for messages
};

class ElementIcons {
public:
    static constexpr int kSize = 14;
    static constexpr int kInner = 12;

    // `assets` is the assets folder (recipes in icons/, pixel maps in art/,
    // blueprint sources in blueprints/).
    explicit ElementIcons(std::string assets);
    ~ElementIcons();
    ElementIcons(const ElementIcons&) = delete;
    ElementIcons& operator=(const ElementIcons&) = delete;

    // Reads the recipes; false with a message on a malformed line, an
    // unknown element or a name given twice.
    bool load(std::string& error);
    // Every name with a recipe, in the file's order.
    const std::vector<std::string>& names() const { return m_names; }
    // The 14 x 14 icon of a name (drawn once, then kept).
    bool icon(const std::string& name, Image& out, std::string& error);

private:
    bool draw(const IconRecipe& recipe, Image& inner, std::string& error);

    std::string m_assets;
    std::vector<std::string> m_names;
    std::map<std::string, IconRecipe> m_recipes;
    std::map<std::string, Image> m_done;
    bool m_gameReady = false;
};

}  // namespace assetgen
