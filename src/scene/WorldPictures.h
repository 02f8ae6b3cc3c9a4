#pragma once
// WorldPictures: the running world as a picture and the saved worlds'
// thumbnails. The toolkit's ScreenUtils hands out the same pictures through
// the game's GuiHost. Main thread only.
#include <string>

#include "cocos2d.h"

class WorldPictures {
public:
    // The world one pixel per cell (texture row 0 at the bottom): a cell's
    // own colour, else the background picture's when it is switched on, else
    // dark grey-blue. Autoreleased.
    static cocos2d::CCSprite* createWorldSnapshot();
    // A saved world's thumbnail (".sav" -> ".png"), from the save folder's
    // copy or fetched from the cloud store into it; null when there is none
    // (a file that is empty or no picture counts as none).
    static cocos2d::CCSprite* loadThumbnailSprite(cocos2d::CCString* worldName);
    // A saved world's picture drawn again from its file in the store (its
    // cells, border and background as the world shows them once loaded), and
    // kept as its thumbnail when the store takes it; null when the world
    // cannot be read. The running world is not touched. Autoreleased.
    static cocos2d::CCSprite* drawSavedWorld(const std::string& cloudName);
};
