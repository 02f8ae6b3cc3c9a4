#pragma once
// The one installed implementation of a seam's interface (WorldHost, GuiHost,
// SceneHud, FrontEnd): the interface's own do-nothing defaults stand in
// until the game installs its own, and again after it takes it back.
template <class Interface> class Installed {
public:
    static Interface& get() { return *s_current; }
    // The caller keeps the implementation alive; null puts the plain one back.
    static void set(Interface* implementation) { s_current = implementation ? implementation : &s_plain; }

private:
    static inline Interface s_plain;
    static inline Interface* s_current = &s_plain;
};
