#pragma once
// The human editor: one window for the whole program, opened by a long press
// on a human. It shows the colony's Food, Stone and Wood with their icons and
// closes with its button or the back key, or when the last human is gone.
#include "cocos2d.h"
#include "hud/ParticleEditor.h"

class GUIButton;
class GUILabel;

class HumanEditor : public ParticleEditor {
public:
    static constexpr int kResources = 3;
    static const char* const kResourceNames[kResources];

    // Opens the window for a human over the game; a second open while one is
    // open does nothing. Returns the open window (null when none could open).
    static HumanEditor* open(Particle* human);
    // The open window, or null.
    static HumanEditor* openEditor();
    // Refreshes the open window's counts (nothing when none is open).
    static void updateResourceIcons();
    // The human is going: the window stays while other humans live.
    static void humanLeaving(Particle* human);
    // Clears the link and takes the window out at once.
    static void closeOpen();

    ~HumanEditor() override;
    void close() override;
    void particleDestroyed() override;

    // The count shown for resource i.
    int32_t shownCount(int i) const { return m_counts[i]; }

protected:
    void handOverClosedWindow() override;

private:
    bool initWithHuman(Particle* human);
    // No longer the program's open window.
    void forget();

    GUILabel* m_labels[kResources] = {};
    int32_t m_counts[kResources] = {};
};
