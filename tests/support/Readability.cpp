#include "support/Readability.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>

#include "base/LocalUtils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUISlider.h"

USING_NS_CC;

namespace testsupport {

CCRect screenBox(CCNode* node)
{
    const CCSize size = node->getContentSize();
    const CCAffineTransform t = node->nodeToWorldTransform();
    return CCRectApplyAffineTransform(CCRect(0, 0, size.width, size.height), t);
}

namespace {

CCRect unite(const CCRect& a, const CCRect& b)
{
    if (a.size.width <= 0 && a.size.height <= 0)
        return b;
    const float x0 = std::min(a.getMinX(), b.getMinX()), y0 = std::min(a.getMinY(), b.getMinY());
    const float x1 = std::max(a.getMaxX(), b.getMaxX()), y1 = std::max(a.getMaxY(), b.getMaxY());
    return CCRect(x0, y0, x1 - x0, y1 - y0);
}

}  // namespace

CCRect textBox(GUILabel* label)
{
    CCRect box;
    if (CCArray* glyphs = label->getChildren())
        for (CCObject* object : *glyphs) {
            auto* glyph = static_cast<CCNode*>(object);
            if (glyph->isVisible())
                box = unite(box, screenBox(glyph));
        }
    return box;
}

CCRect drawnBox(CCSprite* sprite)
{
    // The sprite's picture alone, at one pixel a unit, read back.
    const CCRect frame = sprite->getTextureRect();
    const int w = static_cast<int>(frame.size.width), h = static_cast<int>(frame.size.height);
    CCSprite* copy = CCSprite::createWithTexture(sprite->getTexture(), frame);
    CCRenderTexture* target = CCRenderTexture::create(std::max(w, 1), std::max(h, 1));
    if (!copy || !target)
        return screenBox(sprite);
    copy->setAnchorPoint(CCPointZero);
    target->beginWithClear(0, 0, 0, 0);
    copy->visit();
    target->end();
    CCImage* image = target->newCCImage(true);
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; image && y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (image->getData()[(static_cast<size_t>(y) * w + static_cast<size_t>(x)) * 4 + 3] != 0)
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    if (image)
        image->release();
    if (x1 < 0)
        return screenBox(sprite);
    // Rows of the picture go down, the sprite's y up.
    return CCRectApplyAffineTransform(CCRect(x0, h - 1 - y1, x1 - x0 + 1, y1 - y0 + 1), sprite->nodeToWorldTransform());
}

bool overlapOnScreen(const CCRect& a, const CCRect& b)
{
    return std::min(a.getMaxX(), b.getMaxX()) - std::max(a.getMinX(), b.getMinX()) > 0.5f &&
        std::min(a.getMaxY(), b.getMaxY()) - std::max(a.getMinY(), b.getMinY()) > 0.5f;
}

namespace {

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const ccColor4B& c)
{
    return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}

bool shown(CCNode* node)
{
    for (; node; node = node->getParent())
        if (!node->isVisible())
            return false;
    return true;
}

bool hasText(GUILabel* label)
{
    CCString* text = label->getText();
    if (!text)
        return false;
    const std::string& s = text->getString();
    return s.find_first_not_of(" \n") != std::string::npos && label->getChildrenCount() > 0;
}

void collectLabels(CCNode* node, std::vector<GUILabel*>& out)
{
    if (!node)
        return;
    if (auto* label = dynamic_cast<GUILabel*>(node)) {
        out.push_back(label);
        return;  // a label's children are its glyphs
    }
    if (CCArray* children = node->getChildren())
        for (CCObject* child : *children)
            collectLabels(static_cast<CCNode*>(child), out);
}

void collectButtons(CCNode* node, std::vector<GUIButton*>& out)
{
    if (!node)
        return;
    if (auto* button = dynamic_cast<GUIButton*>(node))
        out.push_back(button);
    if (CCArray* children = node->getChildren())
        for (CCObject* child : *children)
            collectButtons(static_cast<CCNode*>(child), out);
}

struct Frame {
    CCImage* image = nullptr;
    ~Frame()
    {
        if (image)
            image->release();
    }
    ccColor4B at(int x, int y) const
    {
        const int bpp = image->getBytesPerPixel();
        const int h = image->getHeight();
        const unsigned char* p =
            image->getData() + (static_cast<size_t>(h - 1 - y) * image->getWidth() + static_cast<size_t>(x)) * bpp;
        return ccc4(p[0], p[1], p[2], 255);
    }
};

std::unique_ptr<Frame> draw()
{
    // A frame of no time: drawn, nothing moves.
    CCDirector::sharedDirector()->stepFrames(1, 0.0f);
    auto frame = std::make_unique<Frame>();
    frame->image = CCEGLView::sharedOpenGLView()->captureFrame();
    return frame;
}

}  // namespace

double contrastRatio(const ccColor4B& a, const ccColor4B& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<LabelContrast> measureLabelContrast(CCNode* root)
{
    std::vector<GUILabel*> all;
    collectLabels(root, all);
    std::vector<GUILabel*> labels;
    for (GUILabel* label : all)
        if (shown(label) && label->getOpacity() > 0 && hasText(label))
            labels.push_back(label);
    std::vector<LabelContrast> out;
    if (labels.empty())
        return out;
    const std::unique_ptr<Frame> with = draw();
    for (GUILabel* label : labels)
        label->setVisible(false);
    const std::unique_ptr<Frame> without = draw();
    for (GUILabel* label : labels)
        label->setVisible(true);
    if (!with->image || !without->image) {
        ADD_FAILURE() << "no frame to measure";
        return out;
    }
    const int width = with->image->getWidth(), height = with->image->getHeight();
    for (GUILabel* label : labels) {
        const CCRect box = textBox(label);
        const int x0 = std::max(0, static_cast<int>(std::floor(box.getMinX())));
        const int y0 = std::max(0, static_cast<int>(std::floor(box.getMinY())));
        const int x1 = std::min(width - 1, static_cast<int>(std::ceil(box.getMaxX())));
        const int y1 = std::min(height - 1, static_cast<int>(std::ceil(box.getMaxY())));
        if (x0 > x1 || y0 > y1)
            continue;  // off the screen
        LabelContrast m;
        m.text = label->getText()->getString();
        m.box = box;
        // Ink: where the label changes the picture. The glyphs' cores are the
        // pixels changed at least half as much as the most changed one; the
        // ratio is the median of theirs, so that edge pixels of a scaled
        // glyph neither make nor break it.
        struct Ink {
            int change;
            double ratio;
        };
        std::vector<Ink> ink;
        int most = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const ccColor4B a = with->at(x, y), b = without->at(x, y);
                const int change = std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
                if (change < 6)
                    continue;
                ink.push_back({change, contrastRatio(a, b)});
                most = std::max(most, change);
            }
        m.inkPixels = static_cast<int>(ink.size());
        if (ink.empty())
            continue;  // covered by what is drawn over it
        std::vector<double> core;
        for (const Ink& i : ink)
            if (i.change * 2 >= most)
                core.push_back(i.ratio);
        if (!core.empty()) {
            std::nth_element(core.begin(), core.begin() + static_cast<long>(core.size() / 2), core.end());
            m.ratio = core[core.size() / 2];
        }
        out.push_back(m);
    }
    return out;
}

void expectReadable(CCNode* root, const std::string& screen, double minimum)
{
    const std::vector<LabelContrast> measured = measureLabelContrast(root);
    EXPECT_FALSE(measured.empty()) << screen << ": no label to measure";
    for (const LabelContrast& m : measured)
        EXPECT_GE(m.ratio, minimum) << screen << ": \"" << m.text << "\" at (" << m.box.origin.x << ", "
                                    << m.box.origin.y << ") " << m.box.size.width << " x " << m.box.size.height << ", "
                                    << m.inkPixels << " ink pixels";
}

std::vector<CaptionFit> captionFits(CCNode* root)
{
    std::vector<GUIButton*> buttons;
    collectButtons(root, buttons);
    struct Caption {
        GUIButton* button;
        GUILabel* label;
    };
    std::vector<Caption> captions;
    std::vector<CCNode*> icons;
    for (GUIButton* button : buttons) {
        // A slider's words stand beside it, not on it.
        if (!shown(button) || dynamic_cast<GUISlider*>(button) || !button->getChildren())
            continue;
        for (CCObject* child : *button->getChildren()) {
            auto* label = dynamic_cast<GUILabel*>(child);
            if (label && shown(label) && hasText(label))
                captions.push_back({button, label});
            else if (!label && dynamic_cast<CCSprite*>(child) && shown(static_cast<CCNode*>(child)))
                icons.push_back(static_cast<CCNode*>(child));
        }
    }
    std::vector<CaptionFit> out;
    if (captions.empty())
        return out;
    // As drawn: the frame with the captions, without them, and without the
    // icons too. Where the first two differ lie a caption's letters; where
    // the last two, an icon.
    std::unique_ptr<Frame> frames[3];
    frames[0] = draw();
    for (const Caption& c : captions)
        c.label->setVisible(false);
    frames[1] = draw();
    for (CCNode* icon : icons)
        icon->setVisible(false);
    frames[2] = draw();
    for (CCNode* icon : icons)
        icon->setVisible(true);
    for (const Caption& c : captions)
        c.label->setVisible(true);
    for (const auto& frame : frames)
        if (!frame->image) {
            ADD_FAILURE() << "no frame to measure";
            return out;
        }
    const int width = frames[0]->image->getWidth(), height = frames[0]->image->getHeight();
    // Where frames 0 and 1 differ within the box (nothing when none), and
    // at how many of those pixels frames 1 and 2 differ too.
    const auto letters = [&](const CCRect& box, int& overIcon) -> std::optional<CCRect> {
        const auto differ = [&](int f, int x, int y) {
            const ccColor4B p = frames[f]->at(x, y), q = frames[f + 1]->at(x, y);
            return std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) >= 6;
        };
        const int x0 = std::max(0, static_cast<int>(std::floor(box.getMinX())));
        const int y0 = std::max(0, static_cast<int>(std::floor(box.getMinY())));
        const int x1 = std::min(width - 1, static_cast<int>(std::ceil(box.getMaxX())) - 1);
        const int y1 = std::min(height - 1, static_cast<int>(std::ceil(box.getMaxY())) - 1);
        int inkX0 = x1 + 1, inkY0 = y1 + 1, inkX1 = x0 - 1, inkY1 = y0 - 1;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (differ(0, x, y)) {
                    inkX0 = std::min(inkX0, x), inkX1 = std::max(inkX1, x);
                    inkY0 = std::min(inkY0, y), inkY1 = std::max(inkY1, y);
                    overIcon += differ(1, x, y);
                }
        if (inkX1 < inkX0)
            return std::nullopt;
        return CCRect(inkX0, inkY0, inkX1 - inkX0 + 1, inkY1 - inkY0 + 1);
    };
    for (const Caption& c : captions) {
        CaptionFit fit;
        fit.caption = c.label->getText()->getString();
        fit.button = drawnBox(c.button);
        // One unit of the button's frame: its outline.
        const float unit = screenBox(c.button).size.width / std::max(c.button->getContentSize().width, 1.0f);
        const CCRect inside(fit.button.getMinX() + unit - 0.25f, fit.button.getMinY() + unit - 0.25f,
                            fit.button.size.width - 2 * unit + 0.5f, fit.button.size.height - 2 * unit + 0.5f);
        int overIcon = 0;
        if (std::optional<CCRect> ink = letters(textBox(c.label), overIcon)) {
            // The letters clear of the outline (letters on it read as run
            // off the button) and of the icons; a quarter pixel is rounding.
            fit.caption_ = *ink;
            fit.fits = overIcon == 0 && inside.containsPoint(ink->origin) &&
                inside.containsPoint(ccp(ink->getMaxX(), ink->getMaxY()));
        } else {
            // Not drawn (covered or cut off): across by the glyph cells, up
            // and down by their middle (a cell has blank rows above and
            // below the letters).
            fit.caption_ = textBox(c.label);
            fit.fits = fit.caption_.getMinX() >= inside.getMinX() && fit.caption_.getMaxX() <= inside.getMaxX() &&
                fit.caption_.getMidY() >= inside.getMinY() && fit.caption_.getMidY() <= inside.getMaxY();
        }
        out.push_back(fit);
    }
    return out;
}

}  // namespace testsupport

namespace testsupport {

int expectCaptionsFit(CCNode* root, const std::string& where)
{
    const std::vector<CaptionFit> fits = captionFits(root);
    for (const CaptionFit& fit : fits)
        EXPECT_TRUE(fit.fits) << where << ": \"" << fit.caption << "\" drawn over " << fit.caption_.getMinX() << ".."
                              << fit.caption_.getMaxX() << " x " << fit.caption_.getMinY() << ".."
                              << fit.caption_.getMaxY() << ", its button " << fit.button.getMinX() << ".."
                              << fit.button.getMaxX() << " x " << fit.button.getMinY() << ".." << fit.button.getMaxY();
    return static_cast<int>(fits.size());
}

void expectOneCaptionSize(CCNode* root, const std::string& where)
{
    std::vector<GUIButton*> buttons;
    collectButtons(root, buttons);
    std::vector<std::pair<float, std::string>> captions;
    for (GUIButton* button : buttons) {
        if (!shown(button) || dynamic_cast<GUISlider*>(button) || !button->getChildren())
            continue;
        for (CCObject* child : *button->getChildren()) {
            auto* label = dynamic_cast<GUILabel*>(child);
            if (label && shown(label) && hasText(label))
                captions.emplace_back(label->getCumulativeScale(), label->getText()->getString());
        }
    }
    if (captions.empty())
        return;
    std::sort(captions.begin(), captions.end());
    // The size most captions share: the middle one (the lower of two).
    const auto& usual = captions[(captions.size() - 1) / 2];
    const auto& largest = captions.back();
    EXPECT_LE(largest.first, usual.first * 1.1f) << where << ": \"" << largest.second << "\" drawn " << largest.first
                                                 << " times its font, \"" << usual.second << "\" " << usual.first;
}

void saveTestFrame(const std::string& name)
{
    const char* folder = std::getenv("TESMORA_TEST_FRAMES");
    if (!folder || !*folder)
        return;
    const std::unique_ptr<Frame> frame = draw();
    if (frame->image)
        frame->image->saveToFile((std::string(folder) + "/" + name + ".png").c_str(), false);
}

LanguageTable::LanguageTable(const std::string& code)
{
    m_previous = localizationTable;
    localizationTable = CCDictionary::createWithContentsOfFile(("localization/" + code + ".plist").c_str());
    if (localizationTable)
        localizationTable->retain();
    else
        ADD_FAILURE() << "no language table " << code;
}

LanguageTable::~LanguageTable()
{
    if (localizationTable)
        localizationTable->release();
    localizationTable = m_previous;
}

}  // namespace testsupport
