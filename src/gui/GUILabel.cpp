#include "gui/GUILabel.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <cstdio>
#include <cstring>

#include "base/Logger.h"
#include "base/Utf8.h"

USING_NS_CC;

CCString* GUILabel::currentFontName = nullptr;
std::unordered_map<std::string, CCRect> GUILabel::fontFrames;
std::unordered_map<std::string, GUILabel::InkRows> GUILabel::fontInk;
float GUILabel::fontSize = 10.0f;
float GUILabel::letterSpace = 0.0f;
float GUILabel::baseLine = 0.0f;
float GUILabel::lineSpacing = 0.0f;
int GUILabel::lowercase = 0;
int GUILabel::uppercase = 0;
std::vector<std::string> GUILabel::fontSheetPrefixes;

namespace {

// The glyph drawn for a byte that is no character (U+FFFD).
const char* const kReplacementKey = "\xEF\xBF\xBD";

// A character the font lacks is drawn as a block with its code point cut out
// in hex, two rows of digits, from pieces every font holds in the Private Use
// Area: a digit in the upper half, one in the lower half, a column of block.
constexpr long kBoxUpper = 0xE000;
constexpr long kBoxLower = 0xE010;
constexpr long kBoxColumn = 0xE020;

std::string encodeUtf8(long code)
{
    std::string out;
    appendUtf8(static_cast<uint32_t>(code), out);
    return out;
}

// The code point of one whole UTF-8 sequence; -1 for bytes that are no
// character.
long codeOfSequence(const std::string& key)
{
    uint32_t code = 0;
    return decodeUtf8(key, 0, code) == key.size() ? static_cast<long>(code) : -1;
}

// The size used when a font gives none, so that size / fontSize stays finite.
constexpr float kFallbackFontSize = 10.0f;

// A font as its file gave it.
struct FontFile {
    std::unordered_map<std::string, CCRect> frames;
    std::unordered_map<std::string, GUILabel::InkRows> ink;
    float fontSize = kFallbackFontSize;
    float letterSpace = 0.0f;
    float baseLine = 0.0f;
    int lowercase = 0;
    int uppercase = 0;
};

// Every font read so far, by name: a label whose font is no longer current
// lays out with its own font from here.
std::unordered_map<std::string, FontFile>& fontsRead()
{
    static std::unordered_map<std::string, FontFile> fonts;
    return fonts;
}

FontFile readFontFile(const std::string& path)
{
    FontFile font;
    CCDictionary* file =
        CCDictionary::createWithContentsOfFile(CCFileUtils::sharedFileUtils()->fullPathForFilename(path));
    const float size = static_cast<float>(file->valueForKey("fontSize")->intValue());
    if (file->count() == 0 || size <= 0.0f) {
        // Unreadable, or no size to divide by: no glyphs, a usable size.
        LOG_ERROR << "font file unreadable or without a positive fontSize:" << path;
        font.lowercase = file->valueForKey("lowercase")->intValue();
        font.uppercase = file->valueForKey("uppercase")->intValue();
        return font;
    }
    font.fontSize = size;
    font.letterSpace = static_cast<float>(file->valueForKey("letterSpace")->intValue());
    font.baseLine = static_cast<float>(file->valueForKey("baseLine")->intValue());
    font.lowercase = file->valueForKey("lowercase")->intValue();
    font.uppercase = file->valueForKey("uppercase")->intValue();
    auto* glyphs = dynamic_cast<CCDictionary*>(file->objectForKey("font"));
    if (!glyphs)
        return font;
    CCDictElement* element = nullptr;
    int refused = 0;
    CCDICT_FOREACH(glyphs, element)
    {
        auto* text = dynamic_cast<CCString*>(element->getObject());
        const CCRect rect = CCRectFromString(text ? text->getCString() : "");
        // A glyph the font file gives as "nan" or a negative size would make
        // every width measured with it meaningless: it is left out.
        if (!std::isfinite(rect.origin.x) || !std::isfinite(rect.origin.y) || !std::isfinite(rect.size.width) ||
            !std::isfinite(rect.size.height) || rect.size.width < 0 || rect.size.height < 0) {
            ++refused;
            continue;
        }
        font.frames[element->getStrKeyString()] = rect;
    }
    if (refused > 0)
        LOG_ERROR << "font file" << path << "has" << refused << "glyphs with a broken rectangle; left out";
    // The rows each glyph inks; a font without them lays its lines out at
    // the plain line step.
    if (auto* ink = dynamic_cast<CCDictionary*>(file->objectForKey("ink"))) {
        CCDICT_FOREACH(ink, element)
        {
            auto* text = dynamic_cast<CCString*>(element->getObject());
            const CCPoint rows = CCPointFromString(text ? text->getCString() : "");
            // Only rows inside the glyph's own rectangle.
            auto glyph = font.frames.find(element->getStrKeyString());
            if (glyph != font.frames.end() && rows.x >= 0 && rows.y >= rows.x && rows.y < glyph->second.size.height)
                font.ink[element->getStrKeyString()] = {rows.x, rows.y};
        }
    }
    return font;
}

// The font of that name, read from its file the first time it is asked for.
const FontFile& fontNamed(const std::string& name)
{
    auto found = fontsRead().find(name);
    if (found == fontsRead().end())
        found = fontsRead().emplace(name, readFontFile(GUILabel::fontFilePath(name))).first;
    return found->second;
}

// Bytes of the UTF-8 sequence that starts with lead (1 for a stray byte).
size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

// Leading blanks, an optional sign, digits. overflow is set when the value
// does not fit an int.
long readInteger(const std::string& buffer, bool& overflow)
{
    overflow = false;
    size_t i = 0;
    while (i < buffer.size() && (buffer[i] == ' ' || buffer[i] == '\t' || buffer[i] == '\n' || buffer[i] == '\r'))
        ++i;
    bool negative = false;
    if (i < buffer.size() && (buffer[i] == '+' || buffer[i] == '-')) {
        negative = buffer[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < buffer.size() && buffer[i] >= '0' && buffer[i] <= '9'; ++i) {
        value = value * 10 + (buffer[i] - '0');
        if (value > INT_MAX) {
            overflow = true;
            return negative ? INT_MIN : INT_MAX;
        }
    }
    return negative ? -value : value;
}

std::vector<std::string> splitWords(const std::string& text)
{
    std::vector<std::string> words;
    size_t start = 0;
    for (;;) {
        size_t space = text.find(' ', start);
        if (space == std::string::npos) {
            words.push_back(text.substr(start));
            return words;
        }
        words.push_back(text.substr(start, space - start));
        start = space + 1;
    }
}

}  // namespace

// --- registry ----------------------------------------------------------------

std::string GUILabel::fontFilePath(const std::string& name)
{
    size_t underscore = name.find('_');
    std::string file = underscore == std::string::npos ? name : name.substr(underscore + 1);
    return "fonts/" + file + ".plist";
}

void GUILabel::setFontName(const char* name)
{
    setFont(CCString::create(name ? name : ""));
}

void GUILabel::setFont(CCString* name)
{
    if (fontSheetPrefixes.empty())
        fontSheetPrefixes = {"achgui_",         "popups_",        "pixelmarket_", "achievements_",
                             "options_",        "elementpedia_",  "intro_",       "campaignmenu_",
                             "gamemenus_",      "onlinegallery_", "GUIRate_",     "campaignselection_",
                             "levelselection_", "iapmarket_"};
    if (name)
        name->retain();
    if (currentFontName)
        currentFontName->release();
    currentFontName = name;
    lineSpacing = 0.0f;

    const std::string fontName = name ? name->getString() : std::string();
    const FontFile& font = fontNamed(fontName);
    fontFrames = font.frames;
    fontInk = font.ink;
    fontSize = font.fontSize;
    letterSpace = font.letterSpace;
    baseLine = font.baseLine;
    lowercase = font.lowercase;
    uppercase = font.uppercase;
}

void GUILabel::resetRegistryForTests()
{
    if (currentFontName)
        currentFontName->release();
    currentFontName = nullptr;
    fontFrames.clear();
    fontInk.clear();
    fontsRead().clear();
    fontSize = kFallbackFontSize;
    letterSpace = baseLine = lineSpacing = 0.0f;
    lowercase = uppercase = 0;
}

// --- label -------------------------------------------------------------------

GUILabel* GUILabel::create()
{
    auto* label = new GUILabel();
    label->autorelease();
    return label;
}

GUILabel::GUILabel()
{
    CCSprite::init();
    initWithCurrentFont();
}

GUILabel::~GUILabel()
{
    if (m_text)
        m_text->release();
}

void GUILabel::initWithCurrentFont()
{
    if (!currentFontName)
        return;
    const std::string frameName = currentFontName->getString() + ".png";
    CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frameName.c_str());
    if (!frame || !initWithSpriteFrame(frame))
        return;
    // Glyphs are one-bit pixel art with one-pixel marks and strokes: sampled
    // between their pixels at a size between whole ones (a caption shrunk to
    // its button, the palette's names), an accent fades to a grey smudge.
    // Their sheet is sampled at its pixels, as all the game's art is meant to be.
    if (CCTexture2D* texture = getTexture())
        texture->setAliasTexParameters();
    m_hasFontFrame = true;
    if (m_text)
        m_text->release();
    m_text = nullptr;
    m_fontName = currentFontName->getString();
    setAnchorPoint(CCPointZero);
    setPosition(CCPointZero);
    const CCRect rect = frame->getRect();
    setTextureRect(CCRect(rect.origin.x, rect.origin.y, 0, 0));
}

void GUILabel::scaleToSize(float size)
{
    setScale(size / metrics().fontSize);
}

GUILabel::Metrics GUILabel::metrics() const
{
    if (!m_fontName.empty() && !(currentFontName && currentFontName->getString() == m_fontName)) {
        const FontFile& own = fontNamed(m_fontName);
        return {&own.frames, &own.ink, own.fontSize, own.letterSpace, own.baseLine, own.uppercase};
    }
    return {&fontFrames, &fontInk, fontSize, letterSpace, baseLine, uppercase};
}

void GUILabel::setColor(const ccColor3B& color)
{
    for (CCObject* child : *getChildren())
        if (auto* rgba = dynamic_cast<CCRGBAProtocol*>(child))
            rgba->setColor(color);
    CCSprite::setColor(color);
}

void GUILabel::setOpacity(uint8_t opacity)
{
    for (CCObject* child : *getChildren())
        if (auto* rgba = dynamic_cast<CCRGBAProtocol*>(child))
            rgba->setOpacity(opacity);
    CCSprite::setOpacity(opacity);
}

void GUILabel::onEnter()
{
    CCSprite::onEnter();
    snapScale();
}

void GUILabel::onEnterTransitionDidFinish()
{
    CCSprite::onEnterTransitionDidFinish();
    snapScale();
}

float GUILabel::getCumulativeScale()
{
    float scale = getScale();
    CCNode* top = this;
    for (CCNode* node = getParent(); node; node = node->getParent()) {
        scale *= node->getScale();
        top = node;
    }
    if (!dynamic_cast<CCScene*>(top))
        LOG_ERROR << "Warning!!! Root node type is not CCScene!";
    return scale;
}

void GUILabel::snapScale()
{
    bool listed = false;
    for (const std::string& prefix : fontSheetPrefixes)
        if (m_fontName.find(prefix) != std::string::npos) {
            listed = true;
            break;
        }
    if (!listed)
        return;
    const float s = getCumulativeScale();
    const float n = std::trunc(s);
    if (n + 0.2f < s && s < n + 0.8f)
        return;
    const float target = s <= n + 0.2f ? n : n + 1.0f;
    // A label held to its room is not snapped wider than the room.
    if (target > s && m_room > 0.0f && m_fittedWidth * getScale() * target / s > m_room)
        return;
    float factor = 1.0f;
    if (target > 0.0f) {
        const float q = target / s;
        if (!std::isnan(q) && !std::isinf(q))
            factor = q;
    }
    setScale(getScale() * factor);
}

// --- layouts -----------------------------------------------------------------

float GUILabel::boxWidth(const Metrics& font, const std::string& digits)
{
    float width = 0.0f;
    const size_t columns = digits.size() / 2;
    for (size_t c = 0; c <= columns; ++c) {
        auto column = font.frames->find(encodeUtf8(kBoxColumn));
        if (column == font.frames->end())
            return 0.0f;
        width += column->second.size.width;
        if (c == columns)
            break;
        const auto digit = [&digits](size_t k) { return std::strtol(digits.substr(k, 1).c_str(), nullptr, 16); };
        auto upper = font.frames->find(encodeUtf8(kBoxUpper + digit(c)));
        auto lower = font.frames->find(encodeUtf8(kBoxLower + digit(columns + c)));
        if (upper == font.frames->end() || lower == font.frames->end())
            return 0.0f;
        width += std::max(upper->second.size.width, lower->second.size.width);
    }
    return width;
}

GUILabel::Lookup GUILabel::lookupGlyph(const Metrics& font, const std::string& s, size_t& i, CCRect& glyph, bool markup,
                                       InkRows* ink, std::string* box)
{
    if (ink)
        *ink = {};
    if (box)
        box->clear();
    const size_t length = std::min(sequenceLength(static_cast<unsigned char>(s[i])), s.size() - i);
    std::string key = s.substr(i, length);
    if (markup && key == "_")
        key[0] = ' ';  // in the game's own texts "_" draws as a space
    if (font.uppercase == 0 && key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z')
        key[0] = static_cast<char>(key[0] - 'A' + 'a');
    i += length;
    auto found = font.frames->find(key);
    if (found != font.frames->end()) {
        glyph = found->second;
        if (auto rows = font.ink->find(key); ink && rows != font.ink->end())
            *ink = rows->second;
        return Lookup::Glyph;
    }
    LOG_ERROR << "fontFrames doesn't contain key " << key;
    // A character of another script, an accent on its own, a zero-width
    // sign: its code point in a box, so that no name looks like one without
    // it or like another name, and none is blank. Control characters stay
    // blank; bytes that are no character take the replacement mark.
    const auto lead = static_cast<unsigned char>(key[0]);
    if (const long code = codeOfSequence(key); code >= 0x20 && code != 0x7F) {
        char digits[8];
        std::snprintf(digits, sizeof digits, code > 0xFFFF ? "%06lX" : "%04lX", code);
        if (const float width = boxWidth(font, digits); width > 0.0f) {
            glyph = CCRect(0, 0, width, font.frames->at(encodeUtf8(kBoxColumn)).size.height);
            if (auto rows = font.ink->find(encodeUtf8(kBoxColumn)); ink && rows != font.ink->end())
                *ink = rows->second;
            if (box)
                *box = digits;
            return Lookup::Glyph;
        }
    }
    if (lead >= 0x20 && lead != 0x7F) {
        found = font.frames->find(kReplacementKey);
        if (found != font.frames->end()) {
            glyph = found->second;
            if (auto rows = font.ink->find(kReplacementKey); ink && rows != font.ink->end())
                *ink = rows->second;
            return Lookup::Glyph;
        }
    }
    found = font.frames->find(" ");
    if (found == font.frames->end())
        return Lookup::End;
    glyph = found->second;
    return Lookup::Space;
}

void GUILabel::prepare(CCString* text)
{
    CCString* copy = CCString::create(text ? text->getString() : std::string());
    copy->retain();
    if (m_text)
        m_text->release();
    m_text = copy;
    m_font = metrics();
    removeAllChildrenWithCleanup(true);
    m_penX = 0.0f;
    m_width = 0.0f;
    m_addedLineRoom = 0.0f;
    m_height = m_font.fontSize - m_font.baseLine;
    const ccColor3B own = getColor();
    setOpacityModifyRGB(getTexture() && getTexture()->hasPremultipliedAlpha());
    setOpacity(255);
    setColor(own);
    m_coloured = false;
    m_chosenColor = own;
}

CCSprite* GUILabel::placeGlyph(const CCRect& g, float x, float y, bool dropTopRow)
{
    const CCPoint origin = getTextureRect().origin;
    CCRect rect(origin.x + g.origin.x, origin.y + g.origin.y, g.size.width, g.size.height);
    if (dropTopRow) {
        rect.origin.y += 1;
        rect.size.height -= 1;
    }
    CCSprite* sprite = CCSprite::createWithTexture(getTexture(), rect);
    sprite->setAnchorPoint(CCPointZero);
    sprite->setPosition(ccp(x, y));
    sprite->setOpacityModifyRGB(isOpacityModifyRGB());
    sprite->setColor(m_coloured ? m_chosenColor : getColor());
    addChild(sprite);
    m_penX += g.size.width + m_font.letterSpace;
    m_width += g.size.width + m_font.letterSpace;
    return sprite;
}

std::vector<GUILabel::LineGlyph> GUILabel::placeBox(const std::string& digits, float x, float y, bool dropTopRow)
{
    std::vector<LineGlyph> pieces;
    const float penX = m_penX, width = m_width;
    const auto put = [&](long code, float at) {
        const std::string key = encodeUtf8(code);
        const CCRect& glyph = m_font.frames->at(key);
        InkRows ink;
        if (auto rows = m_font.ink->find(key); rows != m_font.ink->end())
            ink = rows->second;
        pieces.push_back({placeGlyph(glyph, at, y, dropTopRow), at, glyph.size.width, glyph.size.height, ink});
        return glyph.size.width;
    };
    const size_t columns = digits.size() / 2;
    float at = x;
    for (size_t c = 0; c <= columns; ++c) {
        at += put(kBoxColumn, at);
        if (c == columns)
            break;
        const auto digit = [&digits](size_t k) { return std::strtol(digits.substr(k, 1).c_str(), nullptr, 16); };
        at += std::max(put(kBoxUpper + digit(c), at), put(kBoxLower + digit(columns + c), at));
    }
    // The pieces touch; the box as a whole takes one letter space, as a glyph does.
    m_penX = penX + (at - x) + m_font.letterSpace;
    m_width = width + (at - x) + m_font.letterSpace;
    return pieces;
}

void GUILabel::setText(CCString* text)
{
    prepare(text);
    const std::string s = m_text->getString();
    if (m_hasFontFrame) {
        size_t i = 0;
        while (i < s.size()) {
            if (m_markup && s[i] == '[') {
                ccColor3B colour = m_chosenColor;
                if (auto after = parseColorMarkup(s, i, colour)) {
                    m_chosenColor = colour;
                    m_coloured = true;
                    i = *after;
                } else {
                    LOG_ERROR << ">>>> Failed to parse color!!!";
                    ++i;
                }
                continue;
            }
            if (m_markup && s[i] == '|') {
                m_coloured = false;
                ++i;
                continue;
            }
            CCRect glyph;
            std::string box;
            if (lookupGlyph(m_font, s, i, glyph, m_markup, nullptr, &box) == Lookup::End)
                break;
            if (!box.empty())
                placeBox(box, m_penX, -m_font.baseLine, true);
            else
                placeGlyph(glyph, m_penX, -m_font.baseLine, true);
        }
    }
    setContentSize(CCSize(m_width, m_height));
}

void GUILabel::setColoredText(CCString* text, float maxWidth)
{
    wrap(text, maxWidth, 0, false);
}

void GUILabel::setMultilineText(CCString* text, float maxWidth, int maxLines)
{
    wrap(text, maxWidth, maxLines, true);
}

void GUILabel::fitColoredText(CCString* text, float maxWidth, float maxHeight)
{
    const std::string whole = text ? text->getString() : std::string();
    const float full = getScale();
    const auto fits = [&](const std::string& shown) {
        setColoredText(CCString::create(shown), maxWidth / getScale());
        // The last line's letters hang below it by the font's base line.
        return (getContentSize().height + m_font.baseLine) * getScale() <= maxHeight;
    };
    std::string shown = whole;
    while (!fits(shown) && getScale() > full / 2)
        setScale(std::fmax(full / 2, getScale() - full / 8));
    for (size_t end = whole.size(); !fits(shown);) {
        end = end > 0 ? whole.find_last_of(' ', end - 1) : std::string::npos;
        if (end == std::string::npos || end == 0)
            break;
        shown = whole.substr(0, end) + "...";
    }
}

void GUILabel::shrinkToWidth(float maxWidth)
{
    shrinkFrom(m_width, maxWidth);
}

void GUILabel::shrinkToWidestWord(CCString* text, float maxWidth)
{
    float widest = 0;
    for (const std::string& word : splitWords(text ? text->getString() : std::string())) {
        wrap(CCString::create(word), std::numeric_limits<float>::max(), 1, true);
        widest = std::max(widest, m_width);
    }
    shrinkFrom(widest, maxWidth);
}

void GUILabel::shrinkFrom(float width, float maxWidth)
{
    m_fittedWidth = width;
    m_room = std::fmax(maxWidth, 0.0f);
    const float scaled = width * getScale();
    if (scaled > maxWidth && maxWidth > 0)
        setScale(getScale() * maxWidth / scaled);
}

void GUILabel::wrap(CCString* text, float maxWidth, int maxLines, bool multiline)
{
    prepare(text);
    if (!multiline)
        m_lineCount = 1;
    if (!m_hasFontFrame) {
        if (!multiline)
            setContentSize(CCSize(0, m_height));
        return;
    }
    float lineY = 0.0f;
    float totalHeight = m_height;
    float widest = 0.0f;
    int breaks = 0;
    // Inline markup state of the multi-line layout, carried over words.
    bool inMarkup = false;
    int component = 0;
    std::string buffer;
    const float perGlyph = multiline ? m_font.letterSpace : 2.0f;

    // The glyphs drawn on each line, to keep the lines' ink apart afterwards.
    std::vector<std::vector<LineGlyph>> lines(1);

    std::vector<std::string> words = splitWords(m_text->getString());
    // Pieces of a word cut at the line's end: each starts a line of its own,
    // with no space the word lacks.
    std::vector<bool> continued(words.size(), false);
    for (size_t w = 0; w < words.size(); ++w) {
        const std::string& word = words[w];
        // Measure, cutting a word wider than the line.
        float m = 0.0f;
        bool measuringMarkup = false;
        std::vector<size_t> starts, ends;
        bool cut = false;
        for (size_t j = 0; j < word.size() && m_hasFontFrame;) {
            const char c = word[j];
            if (m_markup && c == '|') {
                ++j;
                continue;
            }
            if (m_markup && c == '[') {
                measuringMarkup = true;
                ++j;
                continue;
            }
            if (measuringMarkup) {
                if (c == ']')
                    measuringMarkup = false;
                ++j;
                continue;
            }
            const size_t start = j;
            CCRect glyph;
            if (lookupGlyph(m_font, word, j, glyph, m_markup) == Lookup::End)
                break;
            starts.push_back(start);
            ends.push_back(j);
            m += glyph.size.width + perGlyph;
            if (m > maxWidth) {
                // Cut before the character that holds the byte before this
                // glyph's last byte; the head always keeps at least one glyph.
                const size_t last = j - 1;
                size_t at = start;
                if (last >= 1) {
                    for (size_t k = 0; k < starts.size(); ++k)
                        if (starts[k] <= last - 1)
                            at = starts[k];
                }
                if (at <= starts.front())
                    at = ends.front();
                // A path or a name breaks after the last of its own
                // separators that still fits the line, where it has one.
                for (size_t k = 1; k + 1 < starts.size(); ++k)
                    if (word[starts[k]] != '\0' && std::strchr("/\\-_.", word[starts[k]]))
                        at = ends[k];
                if (at > 0 && at < word.size()) {
                    std::string head = word.substr(0, at);
                    std::string tail = word.substr(at);
                    words[w] = head;
                    words.insert(words.begin() + static_cast<long>(w) + 1, tail);
                    continued.insert(continued.begin() + static_cast<long>(w) + 1, true);
                    cut = true;
                }
                break;
            }
        }
        if (cut) {
            --w;
            continue;
        }
        // Line break.
        if (m_width + m > maxWidth || (continued[w] && m_width > 0.0f)) {
            m_penX = 0.0f;
            const float step = m_height + 2.0f + lineSpacing;
            lineY -= step;
            totalHeight += step;
            widest = std::max(widest, m_width - m_font.letterSpace);
            m_width = 0.0f;
            if (multiline)
                m_lineCount = ++breaks;
            else
                m_lineCount += 1;
            lines.emplace_back();
        }
        const bool draw = m_hasFontFrame && (!multiline || breaks < maxLines);
        for (size_t j = 0; j < word.size();) {
            const char c = word[j];
            if (m_markup && multiline) {
                if (inMarkup) {
                    if (c == ',' || c == ']') {
                        bool overflow = false;
                        long value = readInteger(buffer, overflow);
                        const uint8_t byte = overflow ? 255 : static_cast<uint8_t>(value & 0xFF);
                        if (c == ',' && component == 0)
                            m_chosenColor.r = byte;
                        else if (c == ',' && component == 1)
                            m_chosenColor.g = byte;
                        else if (c == ']' && component == 2)
                            m_chosenColor.b = byte;
                        buffer.clear();
                        if (c == ']') {
                            inMarkup = false;
                            m_coloured = true;
                        } else {
                            ++component;
                        }
                    } else {
                        buffer += c;
                    }
                    ++j;
                    continue;
                }
                if (c == '[') {
                    inMarkup = true;
                    component = 0;
                    buffer.clear();
                    ++j;
                    continue;
                }
            } else if (m_markup && c == '[') {
                ccColor3B colour = m_chosenColor;
                auto after = parseColorMarkup(word, j, colour);
                m_chosenColor = colour;
                char line[96];
                std::snprintf(line, sizeof line, "choosenColor.r %hhu choosenColor.g %hhu choosenColor.b %hhu",
                              m_chosenColor.r, m_chosenColor.g, m_chosenColor.b);
                LOG << line;
                if (after) {
                    m_coloured = true;
                    j = *after;
                } else {
                    LOG_ERROR << ">>>> Failed to parse color!!!";
                    ++j;
                }
                continue;
            }
            if (m_markup && c == '|') {
                m_coloured = false;
                ++j;
                continue;
            }
            if (!draw) {
                ++j;
                continue;
            }
            CCRect glyph;
            InkRows ink;
            std::string box;
            if (lookupGlyph(m_font, word, j, glyph, m_markup, &ink, &box) == Lookup::End)
                break;
            if (!box.empty()) {
                for (const LineGlyph& piece : placeBox(box, m_penX, lineY, false))
                    if (piece.ink.any())
                        lines.back().push_back(piece);
                continue;
            }
            const float x = m_penX;
            CCSprite* sprite = placeGlyph(glyph, x, lineY, false);
            if (ink.any())
                lines.back().push_back({sprite, x, glyph.size.width, glyph.size.height, ink});
        }
        m_penX += m_font.letterSpace + 3.0f;
        m_width += m_font.letterSpace + 3.0f;
    }
    widest = std::max(widest, m_width - m_font.letterSpace);
    m_addedLineRoom = separateLines(lines);
    totalHeight += m_addedLineRoom;
    // The multi-line layout leaves the content size alone: its callers place
    // it by anchor (0, 0) and scale.
    if (!multiline)
        setContentSize(CCSize(widest, totalHeight));
}

float GUILabel::separateLines(const std::vector<std::vector<LineGlyph>>& lines)
{
    // A line whose ink would touch the ink of the line above (an accented
    // capital under any letter, an accent under a "j") moves down until one
    // clear row lies between them, and every line below it with it; lines
    // that stand clear keep the plain step.
    const float step = m_height + 2.0f + lineSpacing;
    float moved = 0.0f;
    for (size_t i = 1; i < lines.size(); ++i) {
        float needed = 0.0f;
        for (const LineGlyph& below : lines[i])
            for (const LineGlyph& above : lines[i - 1]) {
                if (above.x >= below.x + below.width || below.x >= above.x + above.width)
                    continue;
                // Rows counted from each glyph's top; its rectangle's foot
                // stands on its line.
                needed = std::max(needed, above.ink.bottom - below.ink.top + below.height - above.height + 2.0f);
            }
        moved += std::max(0.0f, needed - step);
        if (moved > 0.0f)
            for (const LineGlyph& glyph : lines[i])
                glyph.sprite->setPosition(ccpSub(glyph.sprite->getPosition(), ccp(0, moved)));
    }
    return moved;
}

std::optional<size_t> parseColorMarkup(const std::string& text, size_t open, ccColor3B& colour)
{
    int component = 0;
    std::string buffer;
    for (size_t i = open + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c != ',' && c != ']') {
            buffer += c;
            continue;
        }
        bool overflow = false;
        long value = readInteger(buffer, overflow);
        // Read as unsigned: a negative number wraps to a huge one.
        if (overflow || value < 0 || value > 255) {
            LOG_ERROR << "Bad buffer cast!!!";
            value = 255;
        }
        const auto byte = static_cast<uint8_t>(value);
        if (component == 0)
            colour.r = byte;
        else if (component == 1)
            colour.g = byte;
        else if (component == 2)
            colour.b = byte;
        ++component;
        buffer.clear();
        if (c == ']')
            return i + 1;
    }
    return std::nullopt;
}
