#include "cocos2d/CCEGLView.h"
#include "cocos2d/CCImage.h"
#include "render/RenderContext.h"

NS_CC_BEGIN

CCImage* CCEGLView::captureFrame() const
{
    return render::captureFrame();
}

NS_CC_END
