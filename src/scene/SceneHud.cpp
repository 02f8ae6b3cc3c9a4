#include "scene/SceneHud.h"

namespace {
SceneHud plainHud;
}

namespace scenehud_detail {
SceneHud* current = &plainHud;
}

void setSceneHud(SceneHud* hud)
{
    scenehud_detail::current = hud ? hud : &plainHud;
}
