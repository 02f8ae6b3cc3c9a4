#pragma once
// SaveLoadUtils: the saved-world service. Only its free-play flag exists so
// far: set when the player starts free mode, cleared by a campaign start;
// the world, the blob and the profile ask it through the world host.
class SaveLoadUtils {
public:
    static bool isFreePlay();
    static void setFreePlay(bool freePlay);
};
