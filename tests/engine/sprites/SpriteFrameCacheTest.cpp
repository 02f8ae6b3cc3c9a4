#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cocos2d/CCDictionary.h"
#include "cocos2d/CCFileUtils.h"
#include "cocos2d/CCMenuItemSprite.h"
#include "cocos2d/CCSprite.h"
#include "cocos2d/CCSpriteBatchNode.h"
#include "cocos2d/CCSpriteFrame.h"
#include "cocos2d/CCSpriteFrameCache.h"
#include "cocos2d/CCString.h"
#include "cocos2d/CCTexture2D.h"
#include "cocos2d/CCTextureCache.h"
#include "engine/render/EngineTestSupport.h"

using namespace cocos2d;
using enginetest::TempDir;

namespace {

class SpriteFrames : public ::testing::Test {
protected:
    void TearDown() override
    {
        frames->removeSpriteFrames();
        CCTextureCache::sharedTextureCache()->removeAllTextures();
    }
    // A sheet plist beside the generated atlas, with the given frame entries.
    std::string writeSheet(const TempDir& dir, const std::string& name, const std::string& entries)
    {
        const std::string atlas = CCFileUtils::sharedFileUtils()->fullPathForFilename("pvr/enginetest.png");
        const std::string path = dir.file(name);
        FILE* f = std::fopen(path.c_str(), "w");
        std::fprintf(f,
                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                     "<key>frames</key><dict>%s</dict>"
                     "<key>metadata</key><dict><key>format</key><integer>2</integer>"
                     "<key>textureFileName</key><string>%s</string></dict></dict></plist>\n",
                     entries.c_str(), atlas.c_str());
        std::fclose(f);
        return path;
    }
    static std::string entry(const std::string& name, const std::string& rect, bool rotated = false,
                             const std::string& offset = "{0,0}")
    {
        return "<key>" + name + "</key><dict><key>frame</key><string>" + rect + "</string><key>offset</key><string>" +
            offset + "</string><key>rotated</key>" + (rotated ? "<true/>" : "<false/>") + "</dict>";
    }
    CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
};

TEST_F(SpriteFrames, GeneratedSheetLoadsOnceAndSharesTheBatchNodesTexture)
{
    frames->addSpriteFramesWithFile("pvr/enginetest.plist");
    const unsigned count = frames->frameCount();
    ASSERT_GE(count, 5u);
    frames->addSpriteFramesWithFile("pvr/enginetest.plist");
    EXPECT_EQ(frames->frameCount(), count);

    CCSpriteFrame* quad = frames->spriteFrameByName("enginetest_quad.png");
    ASSERT_NE(quad, nullptr);
    EXPECT_EQ(quad->getRect().size.width, 8);
    EXPECT_EQ(quad->getOriginalSize().height, 8);

    CCSpriteBatchNode* batch = CCSpriteBatchNode::create("pvr/enginetest.pvr.ccz", 10);
    ASSERT_NE(batch, nullptr);
    EXPECT_EQ(batch->getTexture(), quad->getTexture());
    EXPECT_EQ(batch->getAnchorPoint().x, 0);
    CCSprite* sprite = CCSprite::createWithSpriteFrameName("enginetest_quad.png");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getTexture(), batch->getTexture());
    EXPECT_EQ(sprite->getContentSize().width, 8);
    EXPECT_EQ(sprite->getAnchorPoint().x, 0.5f);
}

TEST_F(SpriteFrames, FirstDefinitionWinsAndBadFramesAreRefused)
{
    TempDir dir;
    frames->addSpriteFramesWithFile("pvr/enginetest.plist");
    const CCRect original = frames->spriteFrameByName("enginetest_red.png")->getRect();
    const std::string other =
        writeSheet(dir, "other.plist",
                   entry("enginetest_red.png", "{{0,0},{2,2}}") + entry("rotated.png", "{{0,0},{2,2}}", true) +
                       entry("trimmed.png", "{{0,0},{2,2}}", false, "{1,0}") +
                       entry("outside.png", "{{250,120},{10,10}}") + entry("fresh.png", "{{1, 2}, {3, 4}}"));
    frames->addSpriteFramesWithFile(other.c_str());
    EXPECT_TRUE(frames->spriteFrameByName("enginetest_red.png")->getRect().equals(original));
    EXPECT_EQ(frames->spriteFrameByName("rotated.png"), nullptr);
    EXPECT_EQ(frames->spriteFrameByName("trimmed.png"), nullptr);
    EXPECT_EQ(frames->spriteFrameByName("outside.png"), nullptr);
    ASSERT_NE(frames->spriteFrameByName("fresh.png"), nullptr);
    EXPECT_TRUE(frames->spriteFrameByName("fresh.png")->getRect().equals(CCRect(1, 2, 3, 4)));

    frames->removeSpriteFrameByName("fresh.png");
    frames->removeSpriteFrameByName("fresh.png");
    EXPECT_EQ(frames->spriteFrameByName("fresh.png"), nullptr);
    EXPECT_EQ(CCSprite::createWithSpriteFrameName("fresh.png"), nullptr);
    EXPECT_FALSE(CCSprite().initWithSpriteFrameName("fresh.png"));
}

TEST_F(SpriteFrames, FramesRegisteredByHandAndMissingFiles)
{
    CCTexture2D* tex = CCTextureCache::sharedTextureCache()->addSizeOnlyTexture("fixture.png", 32, 16);
    frames->addSpriteFrame(CCSpriteFrame::create(tex, CCRect(0, 0, 10, 12)), "fixture_panel.png");
    CCSprite* panel = CCSprite::createWithSpriteFrameName("fixture_panel.png");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getContentSize().height, 12);

    frames->addSpriteFramesWithFile("pvr/no_such_sheet.plist");
    EXPECT_EQ(CCSprite::create("images/no_such_picture.png"), nullptr);
    EXPECT_EQ(CCSpriteBatchNode::create("pvr/no_such_sheet.pvr.ccz", 5), nullptr);
}

TEST_F(SpriteFrames, GeneratedFontFitsItsFrame)
{
    frames->addSpriteFramesWithFile("pvr/enginetest.plist");
    CCSpriteFrame* fontFrame = frames->spriteFrameByName("enginetest_ach_fontButtons.png");
    ASSERT_NE(fontFrame, nullptr);
    CCDictionary* font = CCDictionary::createWithContentsOfFile(
        CCFileUtils::sharedFileUtils()->fullPathForFilename("fonts/ach_fontButtons.plist"));
    EXPECT_EQ(font->valueForKey("fontSize")->intValue(), 10);
    EXPECT_EQ(font->valueForKey("baseLine")->intValue(), 2);
    EXPECT_EQ(font->valueForKey("letterSpace")->intValue(), 1);
    EXPECT_EQ(font->valueForKey("uppercase")->intValue(), 1);
    CCDictionary* glyphs = dynamic_cast<CCDictionary*>(font->objectForKey("font"));
    ASSERT_NE(glyphs, nullptr);
    for (const char* key : {" ", "A", "M", "g", "[", "_", "\xC3\x89" /* É */, "\xC3\xB1" /* ñ */, "\xE2\x82\xAC"}) {
        CCString* text = glyphs->valueForKey(key);
        ASSERT_FALSE(text->getString().empty()) << "no glyph for '" << key << "'";
        CCRect r = CCRectFromString(text->getCString());
        EXPECT_EQ(r.size.height, 13) << key;
        EXPECT_GE(r.size.width, 1) << key;
        EXPECT_LE(r.getMaxX(), fontFrame->getRect().size.width) << key;
        EXPECT_LE(r.getMaxY(), fontFrame->getRect().size.height) << key;
    }
    EXPECT_EQ(CCRectFromString(glyphs->valueForKey(" ")->getCString()).size.width, 3);
    EXPECT_EQ(CCRectFromString(glyphs->valueForKey("M")->getCString()).size.width, 7);
}

class Receiver : public CCObject {
public:
    void onTap(CCObject* sender) { tapped = sender; }
    CCObject* tapped = nullptr;
};

TEST_F(SpriteFrames, MenuItemShowsItsSelectedImageAndFiresOnlyWhenEnabled)
{
    CCTexture2D* tex = CCTextureCache::sharedTextureCache()->addSizeOnlyTexture("item.png", 20, 10);
    CCSprite* normal = CCSprite::createWithTexture(tex);
    CCSprite* pressed = CCSprite::createWithTexture(tex, CCRect(0, 0, 5, 5));
    Receiver receiver;
    CCMenuItemSprite* item = CCMenuItemSprite::create(normal, pressed, &receiver, menu_selector(Receiver::onTap));
    EXPECT_EQ(item->getContentSize().width, 20);
    EXPECT_EQ(normal->getParent(), item);
    EXPECT_EQ(normal->getAnchorPoint().x, 0);
    EXPECT_TRUE(normal->isVisible());
    EXPECT_FALSE(pressed->isVisible());
    item->selected();
    EXPECT_FALSE(normal->isVisible());
    EXPECT_TRUE(pressed->isVisible());
    item->unselected();
    EXPECT_TRUE(normal->isVisible());

    item->setEnabled(false);
    item->activate();
    EXPECT_EQ(receiver.tapped, nullptr);
    item->setEnabled(true);
    item->activate();
    EXPECT_EQ(receiver.tapped, item);
}

}  // namespace
