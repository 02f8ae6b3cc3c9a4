#include "GuidePicture.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <memory>

#include "cocos2d.h"
#include "world/Particle.h"
#include "world/ParticleCreator.h"

USING_NS_CC;

namespace levelgen {

namespace {

bool isFile(const std::string& path)
{
    struct stat st { };
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string backgroundPath(const std::string& tree, const std::string& fileName)
{
    for (const char* folder : {"/backgrounds/Rewards/", "/backgrounds/Missions/"})
        if (isFile(tree + folder + fileName))
            return tree + folder + fileName;
    return std::string();
}

bool readBackground(const std::string& path, assetgen::Image& out, std::string& error)
{
    // Relative paths would go to the engine's resource root.
    const std::string absolute = std::filesystem::absolute(path).string();
    cocos2d::CCImage image;
    if (!image.initWithImageFile(absolute.c_str())) {
        error = path + ": not a picture";
        return false;
    }
    if (image.getWidth() != levelscript::kWidth || image.getHeight() != levelscript::kHeight) {
        error = path + ": " + std::to_string(image.getWidth()) + " x " + std::to_string(image.getHeight()) +
            ", not 120 x 80";
        return false;
    }
    const int bpp = image.getBytesPerPixel();
    out = assetgen::Image(image.getWidth(), image.getHeight());
    const unsigned char* p = image.getData();
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x, p += bpp)
            out.set(x, y, assetgen::Rgba{p[0], p[1], p[2], bpp == 4 ? p[3] : uint8_t(255)});
    return true;
}

assetgen::Rgba elementColour(uint32_t type)
{
    std::unique_ptr<Particle> probe(ParticleCreator::createById(type));
    CCArray* rows = probe ? probe->getColors() : nullptr;
    if (!rows || rows->count() == 0)
        return kGuideColour;
    // The colour it is made in: the sensors and gems start on their second
    // row, which alone tells them apart.
    const ccColor4B c = probe->color.a ? probe->color : colorForIndex(static_cast<CCInteger*>(rows->objectAtIndex(0)));
    return assetgen::Rgba{c.r, c.g, c.b, 255};
}

assetgen::Image guidePicture(const assetgen::Image& background, const std::vector<Cell>& marks,
                             const std::vector<GuideCell>& guides)
{
    assetgen::Image out = background;
    for (const Cell& c : marks)
        out.set(c.x, levelscript::kHeight - 1 - c.y, kGuideColour);
    std::map<uint32_t, assetgen::Rgba> colours;
    auto blend = [](uint8_t from, uint8_t to) {
        return static_cast<uint8_t>((from * (256 - kGuideStrength) + to * kGuideStrength) >> 8);
    };
    for (const GuideCell& g : guides) {
        auto [it, fresh] = colours.try_emplace(g.type);
        if (fresh)
            it->second = g.type == 0 ? kKeepEmptyColour : elementColour(g.type);
        const int row = levelscript::kHeight - 1 - g.cell.y;
        const assetgen::Rgba under = background.at(g.cell.x, row);
        out.set(g.cell.x, row,
                assetgen::Rgba{blend(under.r, it->second.r), blend(under.g, it->second.g), blend(under.b, it->second.b),
                               255});
    }
    return out;
}

}  // namespace levelgen
