#include "icons/ElementIcons.h"

#include <algorithm>
#include <memory>
#include <set>

#include "Blueprints.h"
#include "Manifest.h"
#include "PixelMap.h"
#include "base/Logger.h"
#include "platform/GameRandom.h"
#include "world/ColorTables.h"
#include "world/ParticleCreator.h"
#include "world/World.h"

namespace assetgen {

namespace {

constexpr int kInner = ElementIcons::kInner;
const Rgba kOutline{18, 20, 26, 255};
const Rgba kMagenta{255, 0, 255, 255};
const Rgba kDarkMagenta{128, 0, 128, 255};
const Rgba kLightMagenta{255, 128, 255, 255};
const Rgba kCyan{0, 255, 255, 255};

Rgba opaque(cocos2d::ccColor4B c)
{
    return Rgba{c.r, c.g, c.b, 255};
}

Rgba shaded(Rgba c, double by)
{
    auto ch = [by](uint8_t v) {
        const double t = by >= 0 ? v + (255 - v) * by : v * (1 + by);
        return static_cast<uint8_t>(std::clamp(t + 0.5, 0.0, 255.0));
    };
    return Rgba{ch(c.r), ch(c.g), ch(c.b), 255};
}

// Seeds the game's random function from the name, so an icon does not depend
// on which icons were drawn before it.
void seedFor(const std::string& name)
{
    platform::seedGameRand(hashString(name) ^ 0x5eedu);
}

// A fresh particle's colour (its start row and variant), or the first row's
// colour when the factory makes nothing of the name.
Rgba freshColour(const std::string& name)
{
    if (Particle* p = ParticleCreator::createByName(name.c_str())) {
        const Rgba c = opaque(p->color);
        delete p;
        return c;
    }
    return Rgba{128, 128, 128, 255};
}

// The colour of the element's last colour row (a lamp's lit colour).
Rgba lastRowColour(const std::string& name)
{
    Particle* p = ParticleCreator::createByName(name.c_str());
    if (!p)
        return Rgba{128, 128, 128, 255};
    cocos2d::CCArray* rows = p->getColors();
    Rgba c = opaque(p->color);
    if (rows && rows->count() > 0) {
        auto* row = dynamic_cast<cocos2d::CCInteger*>(rows->objectAtIndex(rows->count() - 1));
        if (row)
            c = opaque(colorOfRow(row->getValue()));
    }
    delete p;
    return c;
}

// A small world of the game's own: the element is put in a 12 x 12 stage on
// the floor of a small world, between two walls just outside the stage.
class Stage {
public:
    static constexpr int kLeft = 50;
    static constexpr int kBottom = 1;

    Stage() : world(std::make_unique<World>())
    {
        gWorld = world.get();
        world->setBigWorld(false);
        world->placeBorderWalls();
    }
    ~Stage()
    {
        world.reset();
        gWorld = nullptr;
    }
    // (x, y) in stage cells, y up from the floor; false when the cell is taken.
    bool put(int x, int y, const std::string& name)
    {
        if (world->at(kLeft + x, kBottom + y))
            return false;
        return world->addParticle(kLeft + x, kBottom + y, hashString(name), false) != nullptr;
    }
    void walls(int height)
    {
        for (int y = 0; y < height; ++y) {
            put(-1, y, "Wall");
            put(kInner, y, "Wall");
        }
    }
    void step(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            world->step();
    }
    Image picture() const
    {
        Image out(kInner, kInner);
        for (int y = 0; y < kInner; ++y)
            for (int x = 0; x < kInner; ++x)
                if (Particle* p = world->at(kLeft + x, kBottom + y))
                    out.set(x, kInner - 1 - y, opaque(p->color));
        return out;
    }

private:
    std::unique_ptr<World> world;
};

int argOr(const IconRecipe& r, size_t i, int fallback)
{
    int v = fallback;
    return i < r.args.size() && parseInt(r.args[i], v) ? v : fallback;
}

// Fits a picture into the 12 x 12 stage: whole-number enlargement when it is
// small, nearest sampling when it is large; bottom-centred.
Image fitted(const Image& src)
{
    if (src.empty())
        return Image(kInner, kInner);
    Image scaled = src;
    const int factor = std::min(kInner / src.width(), kInner / src.height());
    if (factor >= 2) {
        scaled = src.scaled(factor);
    } else if (src.width() > kInner || src.height() > kInner) {
        const double s = std::max(double(src.width()) / kInner, double(src.height()) / kInner);
        const int w = std::max(1, static_cast<int>(src.width() / s + 0.5));
        const int h = std::max(1, static_cast<int>(src.height() / s + 0.5));
        scaled = Image(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                // The opaque pixel nearest the sample point, so thin parts survive.
                const int sx = std::min(src.width() - 1, static_cast<int>((x + 0.5) * s));
                const int sy = std::min(src.height() - 1, static_cast<int>((y + 0.5) * s));
                Rgba c = src.at(sx, sy);
                for (int r = 0; c.a == 0 && r <= static_cast<int>(s / 2); ++r)
                    for (int dy = -r; dy <= r && c.a == 0; ++dy)
                        for (int dx = -r; dx <= r && c.a == 0; ++dx)
                            c = src.at(sx + dx, sy + dy);
                scaled.set(x, y, c);
            }
    }
    Image out(kInner, kInner);
    out.blit(scaled, (kInner - scaled.width()) / 2, kInner - scaled.height());
    return out;
}

// Whatever is not transparent becomes opaque: sheets hold alpha 0 or 255.
void solidify(Image& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            Rgba c = img.at(x, y);
            if (c.a != 0 && c.a != 255)
                img.set(x, y, Rgba{c.r, c.g, c.b, 255});
        }
}

}  // namespace

ElementIcons::ElementIcons(std::string assets) : m_assets(std::move(assets)) { }

ElementIcons::~ElementIcons()
{
    if (m_gameReady) {
        ParticleCreator::clearRegistrations();
        platform::clearGameRandScript();
    }
}

bool ElementIcons::load(std::string& error)
{
    std::vector<ManifestLine> lines;
    if (!readManifest(m_assets + "/icons/elements.icons", lines, error))
        return false;
    static const std::set<std::string> kinds = {"heap",    "pool",      "puff", "flame", "art",
                                                "picture", "blueprint", "dust", "same"};
    for (const ManifestLine& line : lines) {
        if (line.words.size() < 2 || !kinds.count(line.words[1])) {
            error = line.where() +
                ": expected NAME KIND ARGS (kinds: heap pool puff flame art picture blueprint "
                "dust same)";
            return false;
        }
        IconRecipe r{line.words[0], line.words[1], {line.words.begin() + 2, line.words.end()}, line.where()};
        if (m_recipes.count(r.element)) {
            error = line.where() + ": " + r.element + " has a recipe already";
            return false;
        }
        m_names.push_back(r.element);
        m_recipes[r.element] = r;
    }
    for (const auto& [name, r] : m_recipes)
        if (r.kind == "same" &&
            (r.args.size() != 1 || !m_recipes.count(r.args[0]) || m_recipes[r.args[0]].kind == "same")) {
            error = r.where + ": 'same' names one other element that has a recipe of its own";
            return false;
        }
    return true;
}

bool ElementIcons::icon(const std::string& name, Image& out, std::string& error)
{
    if (auto it = m_done.find(name); it != m_done.end()) {
        out = it->second;
        return true;
    }
    auto it = m_recipes.find(name);
    if (it == m_recipes.end()) {
        error = "no icon recipe for " + name;
        return false;
    }
    if (it->second.kind == "same")
        return icon(it->second.args[0], out, error) && (m_done[name] = out, true);
    if (!m_gameReady) {
        // The game's element library, quietly: its log is not the build's.
        Logger::setMuted(true);
        cocos2d::CCEGLView::setRunMode(cocos2d::kCCRunModeHeadless);
        initColorsAndShadows();
        registerAllElements();
        m_gameReady = true;
    }
    Image inner;
    if (!draw(it->second, inner, error))
        return false;
    solidify(inner);
    // The dark outline round every opaque pixel.
    Image icon(kSize, kSize);
    icon.blit(inner, 1, 1);
    Image outlined = icon;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            if (icon.at(x, y).a != 0)
                continue;
            bool touches = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    touches = touches || icon.at(x + dx, y + dy).a != 0;
            if (touches)
                outlined.set(x, y, kOutline);
        }
    m_done[name] = outlined;
    out = outlined;
    return true;
}

bool ElementIcons::draw(const IconRecipe& r, Image& inner, std::string& error)
{
    const std::string& name = r.element;
    const bool runsTheElement =
        r.kind == "heap" || r.kind == "pool" || r.kind == "puff" || r.kind == "flame" || r.kind == "dust";
    if (runsTheElement && !ParticleCreator::isAccepted(hashString(name))) {
        error = r.where + ": the game makes no element named " + name;
        return false;
    }
    seedFor(name);
    if (r.kind == "heap") {
        Stage stage;
        const int grains = argOr(r, 0, 40);
        for (int i = 0, poured = 0; poured < grains && i < grains * 4; ++i) {
            poured += stage.put(5, kInner - 1, name);
            poured += stage.put(6, kInner - 1, name);
            stage.step();
        }
        stage.step(30);
        inner = stage.picture();
        return true;
    }
    if (r.kind == "pool") {
        Stage stage;
        stage.walls(kInner);
        const int drops = argOr(r, 0, 36);
        for (int i = 0; i < drops; ++i) {
            stage.put(4, kInner - 1, name);
            stage.put(5, kInner - 1, name);
            stage.step();
        }
        inner = stage.picture();
        return true;
    }
    if (r.kind == "puff") {
        Stage stage;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < kInner; ++x)
                if ((x - 5.5) * (x - 5.5) + (y - 3.0) * (y - 3.0) * 1.6 <= 16.0)
                    stage.put(x, y + 1, name);
        stage.step(argOr(r, 0, 3));
        inner = stage.picture();
        return true;
    }
    if (r.kind == "flame") {
        if (r.args.empty() || !ParticleCreator::isAccepted(hashString(r.args[0]))) {
            error = r.where + ": flame wants the element of its bed";
            return false;
        }
        Stage stage;
        stage.walls(3);
        for (int x = 0; x < kInner; ++x)
            for (int y = 0; y < 2; ++y)
                stage.put(x, y, r.args[0]);
        for (int x = 2; x < kInner - 2; ++x)
            for (int y = 2; y < 6 - std::abs(2 * x - 11) / 4; ++y)
                stage.put(x, y, name);
        stage.step(argOr(r, 1, 3));
        inner = stage.picture();
        return true;
    }
    if (r.kind == "art") {
        if (r.args.empty()) {
            error = r.where + ": art wants one pixel map or more";
            return false;
        }
        Image layers(kInner, kInner);
        for (const std::string& file : r.args) {
            Image layer;
            if (!readPixelMap(m_assets + "/art/" + file, layer, error)) {
                error = r.where + ": " + error;
                return false;
            }
            if (layer.width() != kInner || layer.height() != kInner) {
                error = r.where + ": " + file + " is not 12 x 12";
                return false;
            }
            for (int y = 0; y < kInner; ++y)
                for (int x = 0; x < kInner; ++x)
                    if (layer.at(x, y).a != 0)
                        layers.set(x, y, layer.at(x, y));
        }
        // The element's own colours: its particles put where the map is
        // magenta, as the world colours them (a cloud shades its members),
        // lit and shadowed faces shaded from them, and its last colour row.
        const bool placed = ParticleCreator::isAccepted(hashString(name));
        Stage stage;
        if (placed)
            for (int y = 0; y < kInner; ++y)
                for (int x = 0; x < kInner; ++x) {
                    const Rgba c = layers.at(x, y);
                    if (c == kMagenta || c == kDarkMagenta || c == kLightMagenta)
                        stage.put(x, kInner - 1 - y, name);
                }
        const Image own = stage.picture();
        const Rgba last = lastRowColour(name);
        inner = Image(kInner, kInner);
        for (int y = 0; y < kInner; ++y)
            for (int x = 0; x < kInner; ++x) {
                Rgba c = layers.at(x, y);
                if (c.a == 0)
                    continue;
                const Rgba base = own.at(x, y).a != 0 ? own.at(x, y) : freshColour(name);
                if (c == kMagenta)
                    c = base;
                else if (c == kDarkMagenta)
                    c = shaded(base, -0.35);
                else if (c == kLightMagenta)
                    c = shaded(base, 0.35);
                else if (c == kCyan)
                    c = last;
                inner.set(x, y, c);
            }
        return true;
    }
    if (r.kind == "picture" || r.kind == "dust") {
        if (r.args.size() != 1 && !(r.kind == "dust" && r.args.size() == 2)) {
            error = r.where + ": " + r.kind +
                (r.kind == "dust" ? " wants a pixel map and maybe a badge" : " wants one pixel map");
            return false;
        }
        Image picture;
        if (!readPixelMap(m_assets + "/art/" + r.args[0], picture, error)) {
            error = r.where + ": " + error;
            return false;
        }
        if (r.kind == "picture") {
            inner = fitted(picture);
            return true;
        }
        // The creature the dust makes, standing beside a heap of the dust.
        inner = Image(kInner, kInner);
        const int factor = std::max(1, std::min(5 / picture.width(), kInner / picture.height()));
        const Image creature = picture.scaled(factor);
        inner.blit(creature, 0, kInner - creature.height());
        for (int y = 0; y < 5; ++y)
            for (int x = creature.width() + 1; x < kInner; ++x) {
                const int mid = (creature.width() + 1 + kInner) / 2;
                if (std::abs(x - mid) <= 5 - y)
                    inner.set(x, kInner - 1 - y, freshColour(name));
            }
        // The job's badge above the heap.
        if (r.args.size() == 2) {
            Image badge;
            if (!readPixelMap(m_assets + "/art/" + r.args[1], badge, error)) {
                error = r.where + ": " + error;
                return false;
            }
            inner.blit(badge, kInner - badge.width(), 0);
        }
        return true;
    }
    if (r.kind == "blueprint") {
        BlueprintSource source;
        if (r.args.size() != 1 || !readBlueprintSource(m_assets + "/blueprints/" + r.args[0], source, error)) {
            error = r.where + ": " + (error.empty() ? "blueprint wants one source" : error);
            return false;
        }
        Image grown(source.width, source.height);
        for (const Image& stageImage : blueprintStageImages(source, 0))
            for (int y = 0; y < grown.height(); ++y)
                for (int x = 0; x < grown.width(); ++x)
                    if (stageImage.at(x, y).a != 0)
                        grown.set(x, y, stageImage.at(x, y));
        inner = fitted(grown);
        return true;
    }
    error = r.where + ": unknown recipe " + r.kind;
    return false;
}

}  // namespace assetgen
