#pragma once
// ParticleEditor: the base of every element editor window. It holds the
// edited particle and is that particle's `editor` while open; one editor per
// particle. Closing clears the link, slides the window out and takes it out of
// the game layer. When the particle dies first, the window goes at once and
// never touches the particle again.
//
// A subclass builds its content in its own initialisation (on the panel that
// `buildPanel` makes) and offers a static `open(particle)` that creates it and
// hands it to `present`.
#include <string>

#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUIButton;
class GUILabel;
class Particle;

class ParticleEditor : public GUIWindow {
public:
    ~ParticleEditor() override;

    // The edited particle; null once it has gone.
    Particle* particle = nullptr;
    Particle* getParticle() const { return particle; }

    // The particle forgets the window, which slides out and leaves the scene.
    virtual void close();
    // The edited particle is being destroyed: forget it and take the window
    // out now (no slide: nothing may reach the particle any more).
    virtual void particleDestroyed();
    void onBackPressed() override { close(); }
    // A touch beside the panel closes the window, as its close button does.
    void onTouchOutside() override { close(); }

    cocos2d::CCSprite* getPanel() const { return m_panel; }
    GUIButton* getCloseButton() const { return m_closeButton; }

protected:
    // Puts a built editor over the game: centred, in the game layer, linked
    // to the particle, the current window, sliding in. False (and the editor
    // is dropped) when the particle already has an editor or is null.
    static bool present(ParticleEditor* editor, Particle* particle);

    // A full-screen window holding a centred panel of the given frame, with
    // its close button in the top right corner.
    bool initEditor(const char* panelFrame);
    // A button on the panel that calls `selector` with a CCInteger of value.
    GUIButton* addChoiceButton(const char* frame, cocos2d::CCString* caption, cocos2d::CCPoint position,
                               cocos2d::SEL_CallFuncO selector, int value);
    GUILabel* addLabel(cocos2d::CCString* text, cocos2d::CCPoint position, float size);
    static int valueOf(cocos2d::CCObject* boxed);

    cocos2d::CCSprite* m_panel = nullptr;  // a child of the batch node
    GUIButton* m_closeButton = nullptr;    // a child of the panel

private:
    void onClosePressed(cocos2d::CCObject*) { close(); }
};
