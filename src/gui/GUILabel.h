#pragma once
// Bitmap-font labels. One font is current at a time (the registry below, shared
// by every screen); a label keeps the font it was made with (the sheet
// texture, the frame origin, the glyph table and the metrics) and lays its
// text out as one glyph sprite per character in that font, whatever font is
// current when its text changes. Main thread only.
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "cocos2d.h"

class GUILabel : public cocos2d::CCSprite {
public:
    // The first and last rows a glyph inks, from its rectangle's top (0);
    // top > bottom for a glyph without ink or one whose rows are not known.
    struct InkRows {
        float top = 1.0f, bottom = 0.0f;
        bool any() const { return top <= bottom; }
    };

    // --- the font registry ---------------------------------------------
    static cocos2d::CCString* currentFontName;  // retained; null before the first font
    static std::unordered_map<std::string, cocos2d::CCRect> fontFrames;
    // The rows each glyph inks, where the font file gives them.
    static std::unordered_map<std::string, InkRows> fontInk;
    static float fontSize;
    static float letterSpace;
    static float baseLine;
    static float lineSpacing;
    static int lowercase;
    static int uppercase;
    // The sheets whose labels snap their scale to whole pixels (filled once).
    static std::vector<std::string> fontSheetPrefixes;

    // "gamemenus_ach_fontButtons": the font file fonts/ach_fontButtons.plist,
    // the font image the frame gamemenus_ach_fontButtons.png.
    static void setFontName(const char* name);
    static void setFont(cocos2d::CCString* name);
    // fonts/ + the name after its first '_' (the whole name without one) + .plist.
    static std::string fontFilePath(const std::string& name);
    // Tests: forget the current font and every font read so far.
    static void resetRegistryForTests();

    // --- the label -----------------------------------------------------
    static GUILabel* create();
    GUILabel();
    ~GUILabel() override;

    void initWithCurrentFont();
    // False when the current font's image was not in the frame cache at
    // creation: such a label shows nothing and its layouts add nothing.
    bool hasFontFrame() const { return m_hasFontFrame; }

    void scaleToSize(float size);
    // Every child first, then the label itself.
    void setColor(const cocos2d::ccColor3B& color) override;
    void setOpacity(uint8_t opacity) override;
    virtual int getLineCount() const { return m_lineCount; }
    virtual float getWidth() const { return m_width; }
    virtual float getHeight() const { return m_height; }
    // What the last wrapped layout added between its lines beyond the plain
    // step (fontSize - baseLine + 2 + lineSpacing) so that no line's ink
    // touches the line above; 0 when every line stood clear.
    float getAddedLineRoom() const { return m_addedLineRoom; }
    cocos2d::CCString* getText() const { return m_text; }
    const std::string& getFontName() const { return m_fontName; }

    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    float getCumulativeScale();
    void snapScale();

    // Reads the colour markup "[r,g,b]" ... "|" in its texts. Off by default:
    // a label draws its text as written, every character visible, as it
    // must for whatever a player typed or a server sent. Only labels of the
    // game's own localised texts that colour some of their words turn it on.
    void setMarkup(bool markup) { m_markup = markup; }
    bool hasMarkup() const { return m_markup; }

    // The three layouts (one line; wrapped within a width; wrapped within a
    // width and a number of lines). A null text counts as empty.
    void setText(cocos2d::CCString* text);
    void setColoredText(cocos2d::CCString* text, float maxWidth);
    void setMultilineText(cocos2d::CCString* text, float maxWidth, int maxLines);
    // setColoredText within maxWidth and maxHeight (its parent's units, from
    // the top of the first line to the foot of the last): a text too long at
    // the label's scale is set smaller, down to half of it, and what still
    // does not fit is cut after a whole word, ending "...". The first line's
    // top then lies fontSize x scale above the label's origin.
    void fitColoredText(cocos2d::CCString* text, float maxWidth, float maxHeight);
    // Sets the label smaller when it is wider than maxWidth (in its parent's
    // units) as laid out; never larger, its scale's snap to whole pixels
    // included.
    void shrinkToWidth(float maxWidth);
    // The same for the widest word of the text, each set alone on a line: a
    // name longer than a wrapped line's room is set smaller rather than cut.
    // Leaves the text to be laid out again.
    void shrinkToWidestWord(cocos2d::CCString* text, float maxWidth);

private:
    // The glyph table and metrics a layout uses.
    struct Metrics {
        const std::unordered_map<std::string, cocos2d::CCRect>* frames;
        const std::unordered_map<std::string, InkRows>* ink;
        float fontSize;
        float letterSpace;
        float baseLine;
        int uppercase;
    };
    // The label's own font: the registry while that font is current (screens
    // and tests may adjust it there), else the font as it was read.
    Metrics metrics() const;
    enum class Lookup { Glyph, Space, End };
    // The glyph of the character at byte i of s; i moves past the character.
    // A character the font lacks is a box as wide as glyph, whose hex digits
    // go to box; bytes that are no character take the replacement mark. With
    // markup, "_" is a space.
    static Lookup lookupGlyph(const Metrics& font, const std::string& s, size_t& i, cocos2d::CCRect& glyph, bool markup,
                              InkRows* ink = nullptr, std::string* box = nullptr);
    // The width of the box showing these digits; 0 when the font has no box.
    static float boxWidth(const Metrics& font, const std::string& digits);
    void prepare(cocos2d::CCString* text);
    cocos2d::CCSprite* placeGlyph(const cocos2d::CCRect& glyph, float x, float y, bool dropTopRow);
    struct LineGlyph {
        cocos2d::CCSprite* sprite;
        float x, width, height;
        InkRows ink;
    };
    // Places the pieces of the box showing these digits; the pen moves past
    // it as past one glyph.
    std::vector<LineGlyph> placeBox(const std::string& digits, float x, float y, bool dropTopRow);
    // Moves lines down where their ink would touch the line above; returns
    // how far the last line moved.
    float separateLines(const std::vector<std::vector<LineGlyph>>& lines);
    void wrap(cocos2d::CCString* text, float maxWidth, int maxLines, bool multiline);
    // Sets the label smaller when `width` (unscaled) would be wider than maxWidth.
    void shrinkFrom(float width, float maxWidth);
    // The width a shrink measured (unscaled) and the room it was held to
    // (parent units; 0 for none).
    float m_fittedWidth = 0.0f;
    float m_room = 0.0f;

    std::string m_fontName;
    int m_lineCount = 0;
    float m_width = 0.0f;
    float m_height = 0.0f;
    float m_addedLineRoom = 0.0f;
    cocos2d::CCString* m_text = nullptr;  // retained
    bool m_hasFontFrame = false;
    bool m_markup = false;
    // State of one layout run.
    Metrics m_font{};
    float m_penX = 0.0f;
    bool m_coloured = false;
    cocos2d::ccColor3B m_chosenColor{255, 255, 255};
};

// Reads the colour markup "[r,g,b]" whose '[' is at `open` in text: fills
// colour and returns the position after the ']', or nothing when the text ends
// first. Components above 255 are logged and become 255.
std::optional<size_t> parseColorMarkup(const std::string& text, size_t open, cocos2d::ccColor3B& colour);
