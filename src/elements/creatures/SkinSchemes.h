#pragma once
// Skin schemes: the small pictures humans and robots are painted from, one
// per job and gender or per role and weapon. Body cell (dx, dy) takes the
// picture's pixel at the same place (the picture's top row is the head); a
// cell outside the picture gets magenta. The store loads every scheme once,
// on first use, and answers the group painter's lookups.
#include <cstdint>
#include <map>
#include <string>

#include "cocos2d.h"

struct CreaturePicture;

class SchemeStore {
public:
    static constexpr int kSchemeCount = 23;
    static constexpr cocos2d::ccColor4B kOutside{255, 0, 255, 255};

    // The store; created on first use, when every scheme is loaded.
    static SchemeStore* getInstance();

    void registerAll();
    // Reads "humans/<file>" and keeps it under djb2(name); an unreadable
    // picture is logged and not kept.
    void load(const std::string& name, const std::string& file);
    bool has(const std::string& name) const;
    bool hasKey(uint32_t key) const { return schemes.count(key) != 0; }
    // The colour of body cell (dx, dy), mirrored for a creature facing left.
    cocos2d::ccColor4B colourAt(uint32_t key, int dx, int dy, bool mirrored) const;
    static cocos2d::ccColor4B lookup(const CreaturePicture* picture, int dx, int dy, bool mirrored);

    int count() const { return static_cast<int>(schemes.size()); }

private:
    std::map<uint32_t, const CreaturePicture*> schemes;
};

// Installs the store as the group painter's scheme source.
void installSkinSchemes();
