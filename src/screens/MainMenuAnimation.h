#pragma once
// The title screen's backdrop: a dusk landscape from the main menu's sheet,
// drawn small and magnified whole pixels at a time, whose bands (clouds, far
// hills, dunes, sea) drift sideways at their own slow paces and wrap around.
// It covers the whole screen behind the menu and takes no touches.
#include <vector>

#include "gui/GUIBatchNodeMenu.h"

class MainMenuAnimation : public GUIBatchNodeMenu {
public:
    // On the menu's sheet ("pvr/mainmenu.png", its frames loaded); null when
    // the sheet or a frame is missing.
    static MainMenuAnimation* create();

    void onEnter() override;
    void onExit() override;
    // Moves every band by its speed; dt in seconds.
    void update(float dt) override;

    // Screen pixels per picture pixel.
    int getMagnification() const { return m_magnification; }
    // How far band i has drifted to the left, in screen pixels, within one
    // tile's width.
    float getDrift(size_t band) const { return band < m_bands.size() ? m_bands[band].drift : 0.0f; }
    size_t getBandCount() const { return m_bands.size(); }
    size_t getCloudCount() const { return m_clouds.size(); }

private:
    struct Band {
        cocos2d::CCSprite* tiles[2] = {};
        float speed = 0;  // screen pixels a second, leftwards
        float tileWidth = 0;
        float drift = 0;
        float y = 0;  // the bottom edge
    };

    struct Cloud {
        cocos2d::CCSprite* sprite = nullptr;
        float speed = 0;
        float x = 0;  // unrounded
    };

    bool build();
    // Two copies of the frame side by side at height y (screen pixels, their
    // bottom edge), drifting at speed.
    bool addBand(const char* frame, float y, float speed);
    void placeBand(Band& band);

    std::vector<Band> m_bands;
    std::vector<Cloud> m_clouds;
    int m_magnification = 1;
};
