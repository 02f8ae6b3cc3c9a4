#include "GuidePicture.h"

#include <sys/stat.h>

#include <filesystem>

#include "cocos2d.h"

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

assetgen::Image guidePicture(const assetgen::Image& background, const std::vector<Cell>& marks)
{
    assetgen::Image out = background;
    for (const Cell& c : marks)
        out.set(c.x, levelscript::kHeight - 1 - c.y, kGuideColour);
    return out;
}

}  // namespace levelgen
