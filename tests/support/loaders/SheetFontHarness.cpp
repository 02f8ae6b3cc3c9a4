// Sprite sheets and bitmap fonts read from a damaged plist beside a sound
// picture. The frame cache keeps only frames that lie whole inside the
// picture; the font gives a usable size and lays out text into a finite box.
#include <cmath>
#include <filesystem>
#include <fstream>

#include "cocos2d.h"
#include "gui/GUILabel.h"
#include "support/TempFolders.h"
#include "support/loaders/LoaderHarness.h"

USING_NS_CC;

namespace loaders {

namespace {

using Bytes = std::vector<uint8_t>;

bool finite(const CCRect& r)
{
    return std::isfinite(r.origin.x) && std::isfinite(r.origin.y) && std::isfinite(r.size.width) &&
        std::isfinite(r.size.height);
}

void writeBytes(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

const char* const kTexts[] = {
    "Hello, World! 0123456789",
    "[255,0,0]red| and [0,255]short| [999,-1,x]",
    "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xFF\xC0 _ |[",
    "averyveryverylongwordthatmustbecutsomewhere into pieces",
};

class SheetFontHarness : public Harness {
public:
    SheetFontHarness()
    {
        m_oldRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        m_picture = readWholeFile(m_oldRoot + "/pvr/GUIRate.png");
        std::filesystem::create_directories(m_dir.file("fonts"));
        writeBytes(m_dir.file("sheet.png"), m_picture.data(), m_picture.size());
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_dir.path());
        m_texture = CCTextureCache::sharedTextureCache()->addImage("sheet.png");
        if (m_texture)
            m_texture->retain();
    }

    ~SheetFontHarness() override
    {
        CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
        GUILabel::resetRegistryForTests();
        if (m_texture)
            m_texture->release();
        CCTextureCache::sharedTextureCache()->removeAllTextures();
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_oldRoot);
        CCPoolManager::sharedPoolManager()->drain();
    }

    const char* name() const override { return "sprite sheet and font"; }

    std::vector<Bytes> seeds() override
    {
        std::vector<Bytes> out;
        for (const char* file : {"pvr/GUIRate.plist", "fonts/ach_fontButtons.plist", "fonts/ach_colorFont.plist"}) {
            Bytes b = readWholeFile(m_oldRoot + "/" + file);
            std::string text(b.begin(), b.end());
            const std::string from = "<string>GUIRate.png</string>";
            if (size_t at = text.find(from); at != std::string::npos)
                text.replace(at, from.size(), "<string>sheet.png</string>");
            if (!text.empty())
                out.emplace_back(text.begin(), text.end());
        }
        return out;
    }

    std::string feedOnce(const uint8_t* data, size_t size) override
    {
        if (!m_texture)
            return "the sound picture did not load";
        writeBytes(m_dir.file("sheet.plist"), data, size);
        writeBytes(m_dir.file("fonts/fuzz.plist"), data, size);
        std::string why = sheet();
        if (why.empty())
            why = font();
        CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
        CCPoolManager::sharedPoolManager()->drain();
        return why;
    }

private:
    std::string sheet()
    {
        CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
        cache->removeSpriteFrames();
        cache->addSpriteFramesWithFile("sheet.plist");
        CCDictionary* dict = CCDictionary::createWithContentsOfFile(m_dir.file("sheet.plist"));
        auto* frames = dynamic_cast<CCDictionary*>(dict->objectForKey("frames"));
        unsigned listed = 0;
        CCDictElement* element = nullptr;
        if (frames) {
            CCDICT_FOREACH(frames, element)
            {
                ++listed;
                CCSpriteFrame* frame = cache->spriteFrameByName(element->getStrKeyString().c_str());
                if (!frame)
                    continue;
                const CCRect r = frame->getRect();
                CCTexture2D* t = frame->getTexture();
                if (!t)
                    return "a frame without a picture";
                if (!finite(r) || r.size.width <= 0 || r.size.height <= 0 || r.origin.x < 0 || r.origin.y < 0 ||
                    r.getMaxX() > t->getPixelsWide() || r.getMaxY() > t->getPixelsHigh())
                    return "frame " + element->getStrKeyString() + " kept with a rectangle outside its picture";
                CCSprite* sprite = CCSprite::createWithSpriteFrame(frame);
                if (!sprite)
                    return "a kept frame makes no sprite";
            }
        }
        if (cache->frameCount() > listed)
            return "more frames kept than the sheet lists";
        return "";
    }

    std::string font()
    {
        // The font's sheet frame is sound; only its glyph table is damaged.
        CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
        CCSpriteFrame* whole = new CCSpriteFrame();
        whole->initWithTexture(m_texture, CCRect(0, 0, m_texture->getPixelsWide(), m_texture->getPixelsHigh()));
        cache->addSpriteFrame(whole, "sheet_fuzz.png");
        whole->release();

        GUILabel::setFontName("sheet_fuzz");
        if (!std::isfinite(GUILabel::fontSize) || GUILabel::fontSize <= 0)
            return "font size " + std::to_string(GUILabel::fontSize);
        if (!std::isfinite(GUILabel::letterSpace) || !std::isfinite(GUILabel::baseLine))
            return "letter space or base line not finite";
        for (const auto& [key, rect] : GUILabel::fontFrames)
            if (!finite(rect) || rect.size.width < 0 || rect.size.height < 0)
                return "glyph \"" + key + "\" kept with a broken rectangle";
        for (const char* text : kTexts) {
            GUILabel* label = GUILabel::create();
            for (int layout = 0; layout < 6; ++layout) {
                label->setMarkup(layout >= 3);
                if (layout % 3 == 0)
                    label->setText(CCString::create(text));
                else if (layout % 3 == 1)
                    label->setColoredText(CCString::create(text), 60.0f);
                else
                    label->setMultilineText(CCString::create(text), 60.0f, 3);
                const CCSize size = label->getContentSize();
                if (!std::isfinite(size.width) || !std::isfinite(size.height))
                    return std::string("laid out into a box that is not finite: ") + text;
            }
        }
        return "";
    }

    testsupport::TempDir m_dir;
    std::string m_oldRoot;
    Bytes m_picture;
    CCTexture2D* m_texture = nullptr;
};

}  // namespace

std::unique_ptr<Harness> makeSheetFontHarness()
{
    return std::make_unique<SheetFontHarness>();
}

}  // namespace loaders
