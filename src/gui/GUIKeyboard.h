#pragma once
// The one text-entry window: a text field, a counter of the characters left
// and an on-screen key layout, fed also by the physical keyboard through the
// back-key adapter, which gives typed keys to the keyboard only while no box
// stands over it. Like a box it answers no press, touch or key, that goes
// down before it has been on screen a moment (GUIWindow::takesPresses).
// Enter, a typed newline or the back key accepts the text, hands it to
// ScreenUtils' keyboard binding and slides the window away; on the nickname
// keyboard the back key closes it without a text. Opened only through
// ScreenUtils' keyboard openers. Main thread only.
#include <cstdint>
#include <string>

#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUIButton;
class GUILabel;

class GUIKeyboard : public GUIWindow {
public:
    static constexpr int kZOrder = 30;
    static constexpr float kSlideSeconds = 0.1f;
    static constexpr int kShortTextLength = 15;
    // A world description's record holds 255 bytes and its terminator.
    static constexpr int kLongTextLength = 255;
    // How strongly a hint shows, against the text's own 255.
    static constexpr uint8_t kHintOpacity = 170;

    static GUIKeyboard* getInstance();
    // The keyboard if it was made, without making it.
    static GUIKeyboard* existingInstance();
    // Tests: take the keyboard out and forget it.
    static void resetInstanceForTests();

    bool initWithSize(cocos2d::CCSize size) override;
    // The keys, as the touches, count only once the opening has run.
    void onBackPressed() override;
    void onTextTyped(const char* text, int len) override;
    void onDeleteTyped() override;
    // Typed text (a newline accepts) and Backspace.
    void insertText(const char* text, int len);
    void deleteBackward();

    // A short text (15 bytes, one line).
    void show(cocos2d::CCString* text);
    // A text wrapped over up to 5 lines of the width, at most kLongTextLength
    // bytes.
    void showWithLabel(cocos2d::CCString* text, float width);
    // Right after an opening on an empty text: the field shows the hint,
    // dimmed, until the text holds something; the hint itself is never text.
    void setHint(cocos2d::CCString* hint);
    cocos2d::CCString* getHint() const { return m_hint; }
    // The hint is what the field shows now.
    bool isShowingHint() const;
    // The byte capacity of a text wrapped over 5 lines of width: the lines
    // hold width / (letter space + the width of "M") characters each; 15
    // when a font gives no width at all.
    static int32_t maxLengthFor(float width, float letterSpace, float mWidth);
    // The first edit replaces the text shown; the counter shows the capacity.
    void updateCharsLeft();
    void accept();
    // Closes without delivering the text (the back key, where the opening
    // says so).
    void dismiss();
    void onCloseFinished();
    void onKeyPressed(cocos2d::CCObject* key);
    void setShifted(bool shifted);
    // The other case's text of a key caption; unchanged when it has none.
    std::string shiftedKeyText(const std::string& caption) const;

    cocos2d::CCString* getText() const { return m_text; }
    void setText(cocos2d::CCString* text);
    float getLabelWidth() const { return m_labelWidth; }
    void setLabelWidth(float width) { m_labelWidth = width; }
    int32_t getLabelLines() const { return m_labelLines; }
    void setLabelLines(int32_t lines) { m_labelLines = lines; }
    int32_t getMaxLength() const { return m_maxLength; }
    bool isActive() const { return m_active; }
    // Once it has taken its text.
    bool isLeaving() const override { return !m_active; }
    GUIWindow* windowAfterLeaving() const override;
    bool isShifted() const { return m_shifted; }
    bool getReplaceOnFirstKey() const { return m_replaceOnFirstKey; }
    GUILabel* getTextLabel() const { return m_textLabel; }
    GUILabel* getCharsLeftLabel() const { return m_charsLeftLabel; }
    cocos2d::CCArray* getCharacterKeys() const { return m_characterKeys; }
    GUIButton* getShiftKey() const { return m_shiftKey; }
    GUIButton* getSpaceKey() const { return m_spaceKey; }
    GUIButton* getBackspaceKey() const { return m_backspaceKey; }
    GUIButton* getClearKey() const { return m_clearKey; }
    GUIButton* getResetKey() const { return m_resetKey; }
    GUIButton* getEnterKey() const { return m_enterKey; }
    // A byte the physical keyboard appends: letters, digits, the space and
    // the punctuation of the keys on screen and a few more.
    static bool isTypable(unsigned char c);
    // The character key whose caption is text, or null.
    GUIButton* keyWithCaption(const std::string& text) const;

private:
    GUIKeyboard() = default;
    ~GUIKeyboard() override;

    bool goesWithItsScene() const override { return true; }
    void leftWithScene() override;
    void open(cocos2d::CCString* text);
    void addKeyRow(cocos2d::CCArray* texts, float x, float y);
    GUIButton* createKey(const char* text, const cocos2d::CCPoint& at);
    GUIButton* specialKey(const char* frame, const char* icon, const char* captionKey, const cocos2d::CCPoint& at,
                          cocos2d::CCObject* action);
    void changeText(cocos2d::CCString* text);
    void showTextOrHint();
    // Enter's end (the text delivered) or the back key's (none).
    void leave(bool deliver);
    void replaceText(cocos2d::CCString*& field, cocos2d::CCString* value);

    cocos2d::CCArray* m_rows[8] = {};          // retained: four plain rows, then their shifted texts
    cocos2d::CCString* m_text = nullptr;       // retained
    cocos2d::CCString* m_resetText = nullptr;  // retained
    cocos2d::CCString* m_hint = nullptr;       // retained; null when there is none
    float m_labelWidth = 2500.0f;
    int32_t m_labelLines = 1;
    int32_t m_maxLength = kShortTextLength;
    bool m_replaceOnFirstKey = false;
    bool m_shifted = false;
    bool m_active = false;
    GUILabel* m_textLabel = nullptr;
    GUILabel* m_charsLeftLabel = nullptr;
    cocos2d::CCArray* m_characterKeys = nullptr;  // retained
    GUIButton* m_shiftKey = nullptr;
    GUIButton* m_spaceKey = nullptr;
    GUIButton* m_backspaceKey = nullptr;
    GUIButton* m_clearKey = nullptr;
    GUIButton* m_resetKey = nullptr;
    GUIButton* m_enterKey = nullptr;
};

// The text without its last UTF-8 character (a lone or broken trailing byte
// counts as one).
std::string withoutLastCharacter(const std::string& text);
