#include "elements/creatures/SkinSchemes.h"

#include <set>

#include "base/Logger.h"
#include "elements/creatures/CreaturePictures.h"
#include "elements/creatures/MPObject.h"
#include "world/Particle.h"

USING_NS_CC;

namespace {
// (file in "humans", scheme name), in load order.
const char* const kSchemes[SchemeStore::kSchemeCount][2] = {
    {"normal_male.png", "human_normal_male"},
    {"normal_female.png", "human_normal_female"},
    {"miner_male.png", "human_miner_male"},
    {"miner_female.png", "human_miner_female"},
    {"builder_male.png", "human_builder_male"},
    {"builder_female.png", "human_builder_female"},
    {"hunter_male.png", "human_hunter_male"},
    {"hunter_female.png", "human_hunter_female"},
    {"woodchopper_male.png", "human_woodchopper_male"},
    {"woodchopper_female.png", "human_woodchopper_female"},
    {"settler_male.png", "human_settler_male"},
    {"zombie_male.png", "human_zombie_male"},
    {"zombie_female.png", "human_zombie_female"},
    {"xenovinecocoon_male.png", "human_xenovinecocoon_male"},
    {"xenovinecocoon_female.png", "human_xenovinecocoon_female"},
    {"spaceman_male.png", "human_spaceman_male"},
    {"spaceman_female.png", "human_spaceman_female"},
    {"human_safari_male.png", "human_safari_male"},
    {"human_safari_female.png", "human_safari_female"},
    {"robot_hunter_laser.png", "robot_hunter_laser"},
    {"robot_hunter_missile.png", "robot_hunter_missile"},
    {"robot_guardian_laser.png", "robot_guardian_laser"},
    {"robot_guardian_missile.png", "robot_guardian_missile"},
};
}  // namespace

SchemeStore* SchemeStore::getInstance()
{
    static SchemeStore* store = [] {
        auto* s = new SchemeStore();
        s->registerAll();
        return s;
    }();
    return store;
}

void SchemeStore::registerAll()
{
    for (const auto& row : kSchemes)
        load(row[1], row[0]);
}

void SchemeStore::load(const std::string& name, const std::string& file)
{
    const CreaturePicture* picture = creaturePicture("humans/" + file);
    if (!picture) {
        LOG_ERROR << "New Scheme is invalid! " << name;
        return;
    }
    schemes[hashString(name.c_str())] = picture;
}

bool SchemeStore::has(const std::string& name) const
{
    const bool found = hasKey(hashString(name.c_str()));
    if (!found) {
        // Once per name: a painter asks at every change.
        static std::set<std::string> told;
        if (told.insert(name).second)
            LOG << "Has scheme " << name << " <----- INVALID";
    }
    return found;
}

ccColor4B SchemeStore::lookup(const CreaturePicture* picture, int dx, int dy, bool mirrored)
{
    if (!picture || dx < 0 || dy < 0 || dx >= picture->width || dy >= picture->height)
        return kOutside;
    // Picture rows count from the bottom, like body rows.
    return picture->at(mirrored ? picture->width - 1 - dx : dx, dy);
}

ccColor4B SchemeStore::colourAt(uint32_t key, int dx, int dy, bool mirrored) const
{
    auto it = schemes.find(key);
    return lookup(it == schemes.end() ? nullptr : it->second, dx, dy, mirrored);
}

void installSkinSchemes()
{
    SkinSchemeHooks hooks;
    hooks.known = [](uint32_t key) { return SchemeStore::getInstance()->hasKey(key); };
    hooks.colourAt = [](uint32_t key, int dx, int dy, int facing) {
        return SchemeStore::getInstance()->colourAt(key, dx, dy, facing < 0);
    };
    setSkinSchemeHooks(hooks);
}
