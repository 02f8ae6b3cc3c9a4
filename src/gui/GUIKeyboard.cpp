#include "gui/GUIKeyboard.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "SimpleAudioEngine.h"
#include "gui/BackButton.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "base/Utils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"

USING_NS_CC;

namespace {

GUIKeyboard* g_keyboard = nullptr;
const char* const kFont = "keyboard_keyboard_fontButtons";
const char* const kSheet = "pvr/keyboard.plist";

void playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

// The character, Shift, Backspace, Clear and Reset keys leave their two
// lowest rows clear (the bottom row stands on the panel's edge): their
// captions and icons sit a unit higher, in the middle of the drawn key.
constexpr float kKeyFoot = 2;

void centreOnDrawnKey(GUIButton* key)
{
    for (CCNode* part : {static_cast<CCNode*>(key->getLabel()), static_cast<CCNode*>(key->getIcon())})
        if (part)
            part->setPosition(ccpAdd(part->getPosition(), ccp(0, kKeyFoot / 2)));
}

CCArray* texts(std::initializer_list<const char*> items)
{
    CCArray* array = CCArray::createWithCapacity(static_cast<unsigned>(items.size()));
    for (const char* item : items)
        array->addObject(CCString::create(item));
    array->retain();
    return array;
}

}  // namespace

bool GUIKeyboard::isTypable(unsigned char c)
{
    if (std::isalnum(c))
        return true;
    // Every character a key on screen types, brackets included, and a few
    // more; labels draw them all as written.
    return c != 0 && std::strchr(" !\"$&'()*+,-./:<=>?[]|", c) != nullptr;
}

std::string withoutLastCharacter(const std::string& text)
{
    if (text.empty())
        return text;
    size_t start = text.size() - 1;
    // Step back over continuation bytes to the lead byte of the character.
    size_t steps = 0;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80 && steps < 3) {
        --start;
        ++steps;
    }
    const auto lead = static_cast<unsigned char>(text[start]);
    size_t expected = 1;
    if ((lead & 0xE0) == 0xC0)
        expected = 2;
    else if ((lead & 0xF0) == 0xE0)
        expected = 3;
    else if ((lead & 0xF8) == 0xF0)
        expected = 4;
    // A broken sequence: only its last byte goes.
    if (steps > 0 && expected != steps + 1)
        return text.substr(0, text.size() - 1);
    return text.substr(0, start);
}

GUIKeyboard* GUIKeyboard::getInstance()
{
    if (!g_keyboard) {
        g_keyboard = new GUIKeyboard();
        g_keyboard->initWithSize(screenSize);
    }
    return g_keyboard;
}

GUIKeyboard* GUIKeyboard::existingInstance()
{
    return g_keyboard;
}

void GUIKeyboard::resetInstanceForTests()
{
    if (!g_keyboard)
        return;
    GUIKeyboard* keyboard = g_keyboard;
    g_keyboard = nullptr;
    keyboard->stopAllActions();
    // The keys' actions hold the keyboard: drop them so it can go.
    if (keyboard->m_buttonContainer)
        keyboard->m_buttonContainer->removeAllChildrenWithCleanup(true);
    if (keyboard->m_characterKeys)
        keyboard->m_characterKeys->removeAllObjects();
    keyboard->removeFromParentAndCleanup(true);
    keyboard->release();
}

GUIKeyboard::~GUIKeyboard()
{
    BackButtonAdapter::getInstance()->removeListener(this);
    for (CCArray*& row : m_rows)
        if (row)
            row->release();
    if (m_characterKeys)
        m_characterKeys->release();
    replaceText(m_text, nullptr);
    replaceText(m_resetText, nullptr);
    replaceText(m_hint, nullptr);
}

void GUIKeyboard::replaceText(CCString*& field, CCString* value)
{
    if (value)
        value->retain();
    if (field)
        field->release();
    field = value;
}

bool GUIKeyboard::initWithSize(CCSize size)
{
    bool done = GUIWindow::initWithSize(size);
    setPosition(CCPointZero);
    setVisible(true);
    setKeypadEnabled(true);
    m_characterKeys = CCArray::create();
    m_characterKeys->retain();
    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);
    m_batchNode = CCSpriteBatchNode::create("pvr/keyboard.pvr.ccz", 500);
    if (!m_batchNode)
        m_batchNode = CCSpriteBatchNode::create("pvr/keyboard.png", 500);
    if (getChildByTag(1))
        removeChildByTag(1, true);
    addChild(CCLayerColor::create(ccc4(0, 0, 0, 150), size.width, size.height), 0, 1);
    if (!m_batchNode)
        return false;
    if (m_batchNode->getTexture())
        m_batchNode->getTexture()->setAliasTexParameters();
    addChild(m_batchNode, 1);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheet);
    CCSprite* background = CCSprite::createWithSpriteFrameName("keyboard_background.png");
    if (!background)
        return false;
    background->setScale(sheetScale());
    background->setPosition(ccp(size.width / 2, size.height / 2));
    m_batchNode->addChild(background);
    m_buttonContainer = background;
    if (CCSprite* field = CCSprite::createWithSpriteFrameName("keyboard_textField.png")) {
        field->setAnchorPoint(CCPointZero);
        field->setPosition(ccp(35, 100));
        background->addChild(field);
    }
    GUILabel::setFontName(kFont);
    m_rows[0] = texts({"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"});
    m_rows[1] = texts({"q", "w", "e", "r", "t", "y", "u", "i", "o", "p"});
    m_rows[2] = texts({"a", "s", "d", "f", "g", "h", "j", "k", "l"});
    m_rows[3] = texts({"z", "x", "c", "v", "b", "n", "m"});
    m_rows[4] = texts({"!", "\"", "8", "<", ">", "[", "]", "(", ")", "="});
    m_rows[5] = texts({"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P"});
    m_rows[6] = texts({"A", "S", "D", "F", "G", "H", "J", "K", "L"});
    m_rows[7] = texts({"Z", "X", "C", "V", "B", "N", "M"});
    addKeyRow(m_rows[0], 2, 80);
    addKeyRow(m_rows[1], 2, 60);
    addKeyRow(m_rows[2], 14, 40);
    addKeyRow(m_rows[3], 39, 20);
    auto pressed = [] { return callfuncO_selector(GUIKeyboard::onKeyPressed); };
    // The special keys' actions carry the key itself; made first, set after.
    m_shiftKey = specialKey("keyboard_keyShift.png", "keyboard_keyShiftIcon.png", nullptr, ccp(4, 20), nullptr);
    m_backspaceKey =
        specialKey("keyboard_keyBackspace.png", "keyboard_keyBackspaceIcon.png", nullptr, ccp(207, 20), nullptr);
    createKey(".", ccp(2, 0));
    createKey(",", ccp(26, 0));
    m_spaceKey = specialKey("keyboard_keySpacebar.png", nullptr, "KeybSpaceButton", ccp(50, 2), nullptr);
    m_clearKey = specialKey("keyboard_keyShift.png", nullptr, "KeybClearButton", ccp(207, 133), nullptr);
    m_resetKey = specialKey("keyboard_keyShift.png", nullptr, "KeybResetButton", ccp(207, 108), nullptr);
    for (GUIButton* key : {m_shiftKey, m_backspaceKey, m_clearKey, m_resetKey})
        centreOnDrawnKey(key);
    for (GUIButton* key : {m_shiftKey, m_backspaceKey, m_spaceKey, m_clearKey, m_resetKey})
        key->setCallback(CCCallFuncO::create(this, pressed(),
                                             CCString::create(key == m_shiftKey           ? "shift"
                                                                  : key == m_backspaceKey ? "backspace"
                                                                  : key == m_spaceKey     ? "space"
                                                                  : key == m_clearKey     ? "clear"
                                                                                          : "reset")));
    m_enterKey = specialKey("keyboard_keyEnter.png", nullptr, "KeybEnterButton", ccp(183, 2),
                            CCCallFunc::create(this, callfunc_selector(GUIKeyboard::accept)));
    replaceText(m_text, CCString::create(""));
    replaceText(m_resetText, CCString::create(""));
    m_textLabel = GUILabel::create();
    m_textLabel->setText(m_text);
    m_textLabel->setAnchorPoint(ccp(0, 0.5f));
    m_textLabel->setPosition(ccp(50, 148));
    m_textLabel->setScale(10.0f / GUILabel::fontSize);
    background->addChild(m_textLabel);
    m_charsLeftLabel = GUILabel::create();
    m_charsLeftLabel->setText(LocalUtils::localizeWithVar("KeybCharsLeft", "220"));
    m_charsLeftLabel->setAnchorPoint(ccp(0.5f, 0));
    m_charsLeftLabel->setPosition(ccp(120, 105));
    m_charsLeftLabel->setScale(10.0f / GUILabel::fontSize);
    background->addChild(m_charsLeftLabel);
    m_shifted = false;
    return done;
}

void GUIKeyboard::addKeyRow(CCArray* row, float x, float y)
{
    for (CCObject* object : *row) {
        GUIButton* key = createKey(static_cast<CCString*>(object)->getCString(), ccp(x, y));
        x += key->getContentSize().width + 3;
    }
}

GUIButton* GUIKeyboard::createKey(const char* text, const CCPoint& at)
{
    // The action names the key by its index among the character keys: an
    // action holding the key itself would keep it alive for ever.
    CCString* index = CCString::createWithFormat("%u", m_characterKeys->count());
    GUIButton* key = GUIButton::create(CCCallFuncO::create(this, callfuncO_selector(GUIKeyboard::onKeyPressed), index),
                                       "keyboard_keySquare.png", nullptr);
    key->setText(CCString::create(text));
    centreOnDrawnKey(key);
    key->setAnchorPoint(CCPointZero);
    key->setPosition(at);
    key->setActivateDelayed(true);
    m_buttonContainer->addChild(key);
    m_characterKeys->addObject(key);
    return key;
}

GUIButton* GUIKeyboard::specialKey(const char* frame, const char* icon, const char* captionKey, const CCPoint& at,
                                   CCObject* action)
{
    GUIButton* key = GUIButton::create(action, frame, icon);
    if (captionKey)
        key->setText(toUpperCCString(LocalUtils::localize(captionKey)->getString()));
    key->setAnchorPoint(CCPointZero);
    key->setPosition(at);
    key->setActivateDelayed(true);
    m_buttonContainer->addChild(key);
    return key;
}

GUIButton* GUIKeyboard::keyWithCaption(const std::string& text) const
{
    for (CCObject* object : *m_characterKeys) {
        auto* key = static_cast<GUIButton*>(object);
        if (key->getText()->getString() == text)
            return key;
    }
    return nullptr;
}

void GUIKeyboard::open(CCString* text)
{
    BackButtonAdapter::getInstance()->addListener(this);
    playSound("sfx_gui_popup");
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheet);
    stopAllActions();
    // Opened again while still in the scene (from its own answer, or while
    // sliding away): it comes back up from where it stands, not from below.
    if (!getParent())
        setPosition(ccp(0, -m_size.height));
    runAction(CCEaseOut::create(CCMoveTo::create(kSlideSeconds, CCPointZero), 2.0f));
    // Each opening is a new question: the Return or the click that opened
    // it, or a second one, does not answer it.
    startOpening();
    replaceText(m_text, text ? text : CCString::create(""));
    replaceText(m_resetText, CCString::create(m_text->getString()));
    // A hint belongs to one opening.
    replaceText(m_hint, nullptr);
}

void GUIKeyboard::show(CCString* text)
{
    open(text);
    m_labelWidth = 2500;
    m_labelLines = 1;
    GUILabel::setFontName(kFont);
    m_maxLength = kShortTextLength;
    changeText(m_text);
    m_replaceOnFirstKey = false;
    m_active = true;
}

void GUIKeyboard::showWithLabel(CCString* text, float width)
{
    open(text);
    m_labelWidth = width;
    m_labelLines = 5;
    GUILabel::setFontName(kFont);
    GUILabel* probe = GUILabel::create();
    probe->setText(CCString::create("M"));
    m_maxLength =
        std::min<int32_t>(kLongTextLength, maxLengthFor(width, GUILabel::letterSpace, probe->getContentSize().width));
    changeText(m_text);
    m_replaceOnFirstKey = false;
    m_active = true;
}

int32_t GUIKeyboard::maxLengthFor(float width, float letterSpace, float mWidth)
{
    const float per = std::trunc(letterSpace) + mWidth;
    // A font without "M" and without letter space would divide by zero.
    if (!(per > 0))
        return kShortTextLength;
    const double length = static_cast<double>(width) / per * 5.0;
    if (!std::isfinite(length) || length < 0)
        return kShortTextLength;
    return length > 1e6 ? 1000000 : static_cast<int32_t>(length);
}

void GUIKeyboard::updateCharsLeft()
{
    m_replaceOnFirstKey = true;
    if (m_charsLeftLabel)
        m_charsLeftLabel->setText(LocalUtils::localizeWithVar("KeybCharsLeft", std::to_string(m_maxLength).c_str()));
}

void GUIKeyboard::setText(CCString* text)
{
    replaceText(m_text, text);
}

void GUIKeyboard::setHint(CCString* hint)
{
    replaceText(m_hint, hint && hint->length() > 0 ? hint : nullptr);
    showTextOrHint();
}

bool GUIKeyboard::isShowingHint() const
{
    return m_hint && (!m_text || m_text->length() == 0);
}

void GUIKeyboard::showTextOrHint()
{
    if (!m_textLabel)
        return;
    const bool hint = isShowingHint();
    GUILabel::lineSpacing = -2;
    m_textLabel->setMultilineText(hint ? m_hint : (m_text ? m_text : CCString::create("")), 146, 5);
    m_textLabel->setOpacity(hint ? kHintOpacity : 255);
}

void GUIKeyboard::changeText(CCString* text)
{
    replaceText(m_text, text ? text : CCString::create(""));
    // A text opened longer than the limit only takes deletions: never a
    // negative count.
    const int32_t left = std::max<int32_t>(0, m_maxLength - static_cast<int32_t>(m_text->length()));
    showTextOrHint();
    if (!m_charsLeftLabel)
        return;
    m_charsLeftLabel->setText(LocalUtils::localizeWithVar(LocalUtils::countedKey("KeybCharLeft", "KeybCharsLeft", left),
                                                          std::to_string(left).c_str()));
}

std::string GUIKeyboard::shiftedKeyText(const std::string& caption) const
{
    const int from = m_shifted ? 0 : 4;
    const int to = m_shifted ? 4 : 0;
    for (int row = 0; row < 4; ++row) {
        CCArray* source = m_rows[from + row];
        for (unsigned i = 0; i < source->count(); ++i)
            if (static_cast<CCString*>(source->objectAtIndex(i))->getString() == caption)
                return static_cast<CCString*>(m_rows[to + row]->objectAtIndex(i))->getString();
    }
    return caption;
}

void GUIKeyboard::setShifted(bool shifted)
{
    if (shifted == m_shifted)
        return;
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheet);
    GUILabel::setFontName(kFont);
    m_shifted = shifted;
    for (CCObject* object : *m_characterKeys) {
        auto* key = static_cast<GUIButton*>(object);
        key->setText(CCString::create(shiftedKeyText(key->getText()->getString())));
    }
}

void GUIKeyboard::onKeyPressed(CCObject* which)
{
    if (!m_active)
        return;
    auto* name = dynamic_cast<CCString*>(which);
    if (!name)
        return;
    const std::string id = name->getString();
    playSound("sfx_gui_select");
    CCString* newText = nullptr;
    if (m_replaceOnFirstKey) {
        replaceText(m_resetText, CCString::create(""));
        m_replaceOnFirstKey = false;
        replaceText(m_text, CCString::create(""));
        newText = m_text;
    }
    const int32_t left = m_maxLength - static_cast<int32_t>(m_text->length());
    if (id == "backspace") {
        playSound("sfx_gui_select");
        if (m_text->length() > 0)
            newText = CCString::create(withoutLastCharacter(m_text->getString()));
    } else if (id == "shift") {
        playSound("sfx_gui_select");
        setShifted(!m_shifted);
    } else if (id == "clear") {
        playSound("sfx_tool_eraser");
        newText = CCString::create("");
    } else if (id == "reset") {
        playSound("sfx_tool_eraser");
        newText = CCString::create(m_resetText->getString());
    } else {
        std::string character = " ";
        if (id != "space") {
            const unsigned index = static_cast<unsigned>(std::stoul(id));
            if (index >= m_characterKeys->count())
                return;
            character = static_cast<GUIButton*>(m_characterKeys->objectAtIndex(index))->getText()->getString();
        }
        if (left > 0) {
            playSound("sfx_gui_select");
            newText = CCString::create(m_text->getString() + character);
            if (m_shifted)
                setShifted(false);
        } else {
            playSound("sfx_gui_error");
        }
    }
    if (newText)
        changeText(newText);
}

void GUIKeyboard::insertText(const char* text, int len)
{
    if (!m_active || !text || len <= 0)
        return;
    const std::string bytes(text, static_cast<size_t>(len));
    LOG << "key pressed: " << bytes;
    // Enter straight away accepts what is shown, as the on-screen Enter does:
    // it is no edit, so it must not drop the name it opened on.
    if (m_replaceOnFirstKey && bytes[0] != '\n') {
        m_replaceOnFirstKey = false;
        replaceText(m_resetText, CCString::create(""));
        changeText(CCString::create(""));
    }
    for (char c : bytes) {
        if (c == '\n') {
            accept();
            return;
        }
        if (isTypable(static_cast<unsigned char>(c)) && m_maxLength - static_cast<int32_t>(m_text->length()) > 0)
            changeText(CCString::create(m_text->getString() + c));
    }
}

void GUIKeyboard::deleteBackward()
{
    if (!m_active)
        return;
    LOG << "Delete";
    if (m_replaceOnFirstKey) {
        m_replaceOnFirstKey = false;
        replaceText(m_resetText, CCString::create(""));
        changeText(CCString::create(""));
    }
    if (m_text->length() > 0)
        changeText(CCString::create(withoutLastCharacter(m_text->getString())));
}

void GUIKeyboard::accept()
{
    leave(true);
}

void GUIKeyboard::dismiss()
{
    leave(false);
}

void GUIKeyboard::leave(bool deliver)
{
    // Only once per opening: a second Enter during the slide would deliver
    // the text twice.
    if (!m_active)
        return;
    m_active = false;
    BackButtonAdapter::getInstance()->removeListener(this);
    if (deliver) {
        playSound("sfx_gui_next");
        playSound("sfx_gui_popup");
    } else {
        playSound("sfx_gui_back");
    }
    retain();
    if (deliver)
        ScreenUtils::setKeyboardText();
    else
        ScreenUtils::dismissKeyboard();
    // An answer that refuses the text opens the keyboard again: it stays up.
    // Sliding it away now would leave an open keyboard out of the scene.
    if (!m_active) {
        stopAllActions();
        runAction(CCSequence::create(CCEaseIn::create(CCMoveTo::create(kSlideSeconds, ccp(0, -m_size.height)), 2.0f),
                                     CCCallFunc::create(this, callfunc_selector(GUIKeyboard::onCloseFinished)),
                                     nullptr));
    }
    release();
}

GUIWindow* GUIKeyboard::windowAfterLeaving() const
{
    return ScreenUtils::keyboardPreviousWindow();
}

void GUIKeyboard::onCloseFinished()
{
    // Gone from the screen, it takes no more keys, whatever opened it last.
    m_active = false;
    replaceText(m_text, nullptr);
    // The window to give back, whether or not the keyboard is still in the
    // scene; never the keyboard itself, nor a window that has left. A window
    // the answer opened (a progress bar, a popup) keeps its place.
    GUIWindow* previous = ScreenUtils::keyboardPreviousWindow();
    ScreenUtils* screens = ScreenUtils::getInstance();
    if (screens->getCurrentWindow() == this || !screens->getCurrentWindow())
        screens->setCurrentWindow(previous && previous != this && previous->getParent() ? previous : nullptr);
    ScreenUtils::takeKeyboardPreviousWindow();
    if (getParent())
        removeFromParentAndCleanup(true);
}

void GUIKeyboard::leftWithScene()
{
    // Neither delivered nor dismissed: the screen that asked has gone.
    m_active = false;
    ScreenUtils::takeKeyboardPreviousWindow();
}

void GUIKeyboard::onTextTyped(const char* text, int len)
{
    if (takesPresses())
        insertText(text, len);
}

void GUIKeyboard::onDeleteTyped()
{
    if (takesPresses())
        deleteBackward();
}

void GUIKeyboard::onBackPressed()
{
    LOG << "";
    if (!takesPresses())
        return;
    if (ScreenUtils::keyboardBackDismisses())
        dismiss();
    else
        accept();
}
