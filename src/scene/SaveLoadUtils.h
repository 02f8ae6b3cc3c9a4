#pragma once
// SaveLoadUtils: the free-play flag (set when the player starts free mode or
// opens a gallery world, cleared by a campaign start) and the writing of
// saved worlds: the world blob as "User/<name>.sav" in the cloud store, its
// name as typed as "User/<name>.name" (the store folds file names to lower
// case), then its one-pixel-per-cell picture as "User/<name>.png", kept also
// in the save folder as the thumbnail cache. Reading, listing and deleting
// belong to the saved-worlds screen. Main thread only.
#include <string>

#include "cocos2d.h"

class SaveLoadUtils {
public:
    enum class SaveResult { Saved, Exists, NameRefused, Failed };

    static bool isFreePlay();
    static void setFreePlay(bool freePlay);

    // Writes the running world under the game layer's universe name. Exists:
    // a save of that name is there and overwrite is false (nothing written).
    // NameRefused: the name gives no file name. Failed: the store did not
    // take the blob (its last write error says why). After either failure
    // the old save stays, no flag, no thumbnail.
    static SaveResult saveWorld(bool overwrite);
    // The store holds a save of the running world: under the name it would
    // be saved as, or under the one it was loaded or last saved as.
    static bool hasEarlierSave();
    // The world's picture under the name (nothing for a missing or empty name).
    static void saveThumbnail(cocos2d::CCString* name);
    // Renders the node at its content size into the save folder's file at the
    // path (lower-cased as the store names it), then into the store. False
    // when the picture was not stored.
    static bool saveImageToCloud(cocos2d::CCNode* node, const std::string& path);

    // The universe name as a file name: spaces become "_", so do "/", "\" and
    // control characters; a run of dots is one dot and a name never ends in
    // one. A name of dots alone gives "" and is refused (false).
    static bool worldFileName(const std::string& universeName, std::string& out);
    // The store's file of a saved world's name as typed: "User/x.sav" ->
    // "User/x.name".
    static std::string nameFileOf(const std::string& worldFile);
    // The store's file of a saved world's picture: the world file's last
    // three characters become "png" ("User/x.sav" -> "User/x.png").
    static std::string thumbnailFileOf(const std::string& worldFile);
    // The save folder's copy of a cloud file (the store's lower-case name).
    static std::string localCachePath(const std::string& cloudName);
};
