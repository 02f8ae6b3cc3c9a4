// A day's settings: which elements, tools and options the running day
// offers, which withheld elements its world has the player make, and the
// unlocks that add to them until the next day loads.
#include "goals/DayItem.h"

#include <set>
#include <string>

#include "base/Logger.h"
#include "hud/GUI.h"
#include "hud/GUITopBar.h"
#include "scene/GameLayer.h"

USING_NS_CC;

namespace {

// A plist boolean reads back as "1" or "0"; the words are accepted too.
bool readFlag(CCObject* value, bool& flag)
{
    auto* text = dynamic_cast<CCString*>(value);
    if (!text)
        return false;
    const std::string& s = text->getString();
    if (s == "1" || s == "true") {
        flag = true;
        return true;
    }
    if (s == "0" || s == "false") {
        flag = false;
        return true;
    }
    return false;
}

// Adds the names of the list under key; false when the key holds anything
// but an array. Entries that are not names of the list's kind are logged and
// skipped.
bool readList(CCDictionary* settings, const char* key, DayItem kind, std::set<std::string>& into)
{
    CCObject* value = settings->objectForKey(key);
    if (!value)
        return true;
    auto* list = dynamic_cast<CCArray*>(value);
    if (!list)
        return false;
    for (CCObject* o : *list) {
        auto* s = dynamic_cast<CCString*>(o);
        if (!s)
            LOG << "day settings: an entry of" << key << "is not a name, skipped";
        else if (!isKnownDayItem(kind, s->getString()))
            LOG << "day settings: unknown name" << s->getString() << "in" << key << ", skipped";
        else
            into.insert(s->getString());
    }
    return true;
}

// Only a plain base name: no folders, nothing hidden, nothing outside
// universes/Missions/.
bool isPlainName(const std::string& name)
{
    return !name.empty() && name[0] != '.' && name.find('/') == std::string::npos &&
        name.find('\\') == std::string::npos;
}

}  // namespace

bool GUI::loadDaySettings(const std::string& worldName)
{
    if (!isPlainName(worldName)) {
        LOG << "day settings: refused the name" << worldName << "(the previous restrictions stay)";
        return false;
    }
    const std::string path = "universes/Missions/" + worldName + ".plist";
    if (!CCFileUtils::sharedFileUtils()->isFileExist(path)) {
        LOG << "day settings: no file" << path << "(the previous restrictions stay)";
        return false;
    }
    if (!applyDaySettings(CCDictionary::createWithContentsOfFile(path))) {
        LOG << "day settings:" << path << "is malformed (the previous restrictions stay)";
        return false;
    }
    return true;
}

bool GUI::applyDaySettings(CCDictionary* settings)
{
    bool lock = false;
    if (!settings || !readFlag(settings->objectForKey("lock"), lock))
        return false;
    std::set<std::string> listed, made;
    if (lock &&
        !(readList(settings, "elements", DayItem::Element, listed) &&
          readList(settings, "tools", DayItem::Tool, listed) &&
          readList(settings, "options", DayItem::Option, listed) && readList(settings, "made", DayItem::Element, made)))
        return false;
    bool deny = false;
    if (lock) {
        auto* mode = dynamic_cast<CCString*>(settings->objectForKey("lockMode"));
        const std::string modeName = mode ? mode->getString() : std::string();
        deny = modeName == "deny";
        if (!deny && modeName != "allow")
            LOG << "day settings: unknown lockMode" << modeName << "- the lists are what is allowed";
    }
    // A new day replaces what the last one allowed, its unlocks included.
    m_everythingAvailable = !lock;
    m_denyMode = deny;
    m_allItems.clear();
    m_deniedItems.clear();
    m_madeItems = std::move(made);
    if (lock)
        (deny ? m_deniedItems : m_allItems) = std::move(listed);
    availabilityChanged();
    return true;
}

void GUI::unlockItem(const std::string& name, std::set<std::string>& newItems)
{
    if (name.empty())
        return;
    if (!isAvailable(name))
        newItems.insert(name);
    m_allItems.insert(name);
    availabilityChanged();
}

void GUI::availabilityChanged()
{
    GameLayer* layer = GameLayer::existingInstance();
    if (!layer || layer->getGUI() != this)
        return;
    layer->setZoomEnabled(isAvailable("Zoom"));
    GUITopBar::getInstance()->showAvailableTools();
}
