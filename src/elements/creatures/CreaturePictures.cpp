#include "elements/creatures/CreaturePictures.h"

#include <map>
#include <memory>

#include "base/Logger.h"

USING_NS_CC;

namespace {

// Null entries remember a picture that could not be read.
std::map<std::string, std::unique_ptr<CreaturePicture>>& cache()
{
    static std::map<std::string, std::unique_ptr<CreaturePicture>> pictures;
    return pictures;
}

std::unique_ptr<CreaturePicture> decode(const std::string& path)
{
    CCImage image;
    if (!CCFileUtils::sharedFileUtils()->isFileExist(path) || !image.initWithImageFile(path.c_str()))
        return nullptr;
    const int w = image.getWidth();
    const int h = image.getHeight();
    const unsigned char* data = image.getData();
    if (w <= 0 || h <= 0 || !data)
        return nullptr;
    const int bpp = image.getBytesPerPixel();
    auto picture = std::make_unique<CreaturePicture>();
    picture->width = w;
    picture->height = h;
    picture->pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (size_t i = 0; i < picture->pixels.size(); ++i) {
        const unsigned char* p = data + i * static_cast<size_t>(bpp);
        picture->pixels[i] = ccColor4B{p[0], p[1], p[2], bpp == 4 ? p[3] : static_cast<unsigned char>(255)};
    }
    return picture;
}

}  // namespace

const CreaturePicture* creaturePicture(const std::string& path)
{
    auto& pictures = cache();
    auto it = pictures.find(path);
    if (it == pictures.end()) {
        std::unique_ptr<CreaturePicture> decoded = decode(path);
        if (!decoded)
            LOG_ERROR << "Creature picture cannot be read: " << path;
        it = pictures.emplace(path, std::move(decoded)).first;
    }
    return it->second.get();
}

void setCreaturePicture(const std::string& path, const CreaturePicture* picture)
{
    auto& pictures = cache();
    if (!picture)
        pictures.erase(path);
    else
        pictures[path] = std::make_unique<CreaturePicture>(*picture);
}
