#include "cocos2d/CCConfiguration.h"

#include <SDL.h>

#include "render/RenderContext.h"

NS_CC_BEGIN

CCConfiguration* CCConfiguration::sharedConfiguration()
{
    static CCConfiguration* configuration = new CCConfiguration();
    return configuration;
}

int CCConfiguration::getMaxTextureSize() const
{
    SDL_Renderer* r = render::renderer();
    if (!r)
        return 4096;
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(r, &info) != 0)
        return 8192;
    int w = info.max_texture_width, h = info.max_texture_height;
    if (w <= 0 && h <= 0)
        return 8192;
    if (w <= 0)
        return h;
    if (h <= 0)
        return w;
    return w < h ? w : h;
}

NS_CC_END
