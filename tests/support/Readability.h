#pragma once
// Is the text on screen readable? Draws the running scene with and without
// the labels of a window and measures, label by label, the contrast of the
// ink against what lies under it (the WCAG ratio, 1 to 21). Also: does every
// button's caption stay inside its button.
#include <string>
#include <vector>

#include "cocos2d.h"

class GUILabel;

namespace testsupport {

// On screen: a node's box, and the box of a label's shown glyphs.
cocos2d::CCRect screenBox(cocos2d::CCNode* node);
cocos2d::CCRect textBox(GUILabel* label);
// On screen: where a sprite's picture is opaque (a frame may leave rows or
// columns clear).
cocos2d::CCRect drawnBox(cocos2d::CCSprite* sprite);
// Two boxes on screen share more than half a pixel each way (a rounding's
// touch is no overlap).
bool overlapOnScreen(const cocos2d::CCRect& a, const cocos2d::CCRect& b);

// The WCAG contrast ratio of two colours (alpha ignored).
double contrastRatio(const cocos2d::ccColor4B& a, const cocos2d::ccColor4B& b);

struct LabelContrast {
    std::string text;
    double ratio = 1.0;
    int inkPixels = 0;
    cocos2d::CCRect box;  // on screen, GL y
};

// Every shown, non-empty label below root (root included) that lies on the
// screen and is not wholly covered. The scene is drawn twice in frames of no time.
std::vector<LabelContrast> measureLabelContrast(cocos2d::CCNode* root);

// Adds a test failure for every label below root under the ratio, naming
// the screen, the label's text and where it is.
void expectReadable(cocos2d::CCNode* root, const std::string& screen, double minimum = 4.5);

struct CaptionFit {
    std::string caption;
    cocos2d::CCRect button;    // on screen
    cocos2d::CCRect caption_;  // on screen: the letters' ink
    bool fits = true;
};

// Every button below root (sliders aside) with a shown, non-empty caption
// label: do the caption's letters, as drawn, lie within the button's
// picture, clear of its outline and of its icons? The scene is drawn three
// times in frames of no time.
std::vector<CaptionFit> captionFits(cocos2d::CCNode* root);

// Adds a test failure for every caption below root that overflows; returns
// how many captions it looked at.
int expectCaptionsFit(cocos2d::CCNode* root, const std::string& where);

// Adds a test failure when a caption below root is drawn larger than most
// of them (by more than a tenth): one caption set larger than its
// neighbours. One set smaller to fit its button is no failure.
void expectOneCaptionSize(cocos2d::CCNode* root, const std::string& where);

// With TESMORA_TEST_FRAMES set, draws the running scene in a frame of no
// time and saves it there as name.png.
void saveTestFrame(const std::string& name);

}  // namespace testsupport

namespace testsupport {

// Makes localization/<code>.plist the language table for its lifetime.
class LanguageTable {
public:
    explicit LanguageTable(const std::string& code);
    ~LanguageTable();
    LanguageTable(const LanguageTable&) = delete;
    LanguageTable& operator=(const LanguageTable&) = delete;

private:
    cocos2d::CCDictionary* m_previous = nullptr;
};

// The three languages the game ships.
inline const char* const kLanguages[] = {"en", "fr", "es"};

}  // namespace testsupport
