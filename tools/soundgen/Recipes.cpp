#include "Recipes.h"

#include <cstdlib>
#include <set>

#include "Manifest.h"

namespace soundgen {

bool safeName(const std::string& name)
{
    if (name.empty())
        return false;
    for (char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '#'))
            return false;
    return true;
}

bool addLayerLine(const assetgen::ManifestLine& line, EffectRecipe* recipe, std::string& error)
{
    if (!recipe) {
        error = line.where() + ": a layer needs a sound above it";
        return false;
    }
    Layer layer;
    // Every noise source has a fixed seed: the recipe's, or one from the name.
    layer.seed = hashName(recipe->name) + static_cast<uint32_t>(recipe->layers.size()) * 7919u;
    std::string why;
    if (!parseLayer(line.words, 1, layer, why)) {
        error = line.where() + ": " + why;
        return false;
    }
    recipe->layers.push_back(layer);
    return true;
}

bool readEffects(const std::string& path, std::vector<EffectRecipe>& out, std::string& error)
{
    std::vector<assetgen::ManifestLine> lines;
    if (!assetgen::readManifest(path, lines, error))
        return false;
    std::set<std::string> names;
    for (const auto& line : lines) {
        const auto& w = line.words;
        if (w[0] == "layer") {
            if (!addLayerLine(line, out.empty() ? nullptr : &out.back(), error))
                return false;
            continue;
        }
        if (w[0] != "effect" || w.size() != 5 || (w[3] != "once" && w[3] != "loop")) {
            error = line.where() + ": expected 'effect NAME SECONDS once|loop GROUP' or 'layer ...'";
            return false;
        }
        EffectRecipe recipe;
        recipe.name = w[1];
        if (!safeName(recipe.name)) {
            error = line.where() + ": an effect name is lower-case letters, digits and _";
            return false;
        }
        char* end = nullptr;
        recipe.seconds = std::strtod(w[2].c_str(), &end);
        if (!end || *end || !(recipe.seconds >= 0.02 && recipe.seconds <= 10)) {
            error = line.where() + ": a length runs from 0.02 to 10 seconds";
            return false;
        }
        recipe.loop = w[3] == "loop";
        recipe.group = w[4];
        if (!names.insert(recipe.name).second) {
            error = line.where() + ": " + recipe.name + " is listed twice";
            return false;
        }
        if (!out.empty() && out.back().layers.empty()) {
            error = line.where() + ": " + out.back().name + " has no layer";
            return false;
        }
        out.push_back(recipe);
    }
    if (!out.empty() && out.back().layers.empty()) {
        error = path + ": " + out.back().name + " has no layer";
        return false;
    }
    return true;
}

}  // namespace soundgen
