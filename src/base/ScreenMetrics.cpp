#include "base/ScreenMetrics.h"

#include "base/Logger.h"

USING_NS_CC;

CCSize screenSize;
CCSize visibleSize;
double screenRatio = 0.0;
int pixelSize = 0;

namespace {
bool g_unitFixed = false;
int g_unit = 0;
}  // namespace

void computeScreenMetrics(const CCSize& windowSize)
{
    float w = windowSize.width;
    float h = windowSize.height;
    screenSize = CCSize(w, h);
    int hi = static_cast<int>(h);
    int w43 = static_cast<int>(4.0f / 3.0f * static_cast<float>(hi));
    screenRatio = hi / 768.0;
    if (w >= static_cast<float>(w43)) {
        visibleSize = CCSize(static_cast<float>(w43), static_cast<float>(hi));
    } else {
        // Narrower than 4:3: the widest 4:3 box that fits, and the ratio of its height.
        int vh = static_cast<int>(w * 3.0f / 4.0f);
        int vw = static_cast<int>(w);
        visibleSize = CCSize(static_cast<float>(vw), static_cast<float>(vh));
        screenRatio = vh / 768.0;
    }
    int topBar = static_cast<int>(screenRatio * 80);
    pixelSize = static_cast<int>(visibleSize.height - static_cast<float>(topBar)) / 160;
    if (visibleSize.width > static_cast<float>(pixelSize * 240))
        pixelSize = static_cast<int>(visibleSize.width / 240.0f);
    if (pixelSize < 1)
        pixelSize = 1;  // a tiny window still draws every cell
    Logger(46) << "swidth: " << screenSize.width;
    Logger(47) << "sheight: " << screenSize.height;
    Logger(48) << "vwidth: " << visibleSize.width;
    Logger(49) << "vheight: " << visibleSize.height;
    Logger(50) << "ratio: " << screenRatio;
    Logger(51) << "scale: " << static_cast<float>(screenRatio * 4);
    Logger(52) << "pixelSize: " << pixelSize;
}

CCSize visibleMargin()
{
    return CCSize(screenSize.width - visibleSize.width, screenSize.height - visibleSize.height);
}

CCPoint scaledPoint(float x, float y)
{
    return CCPoint(static_cast<float>(screenRatio * (2 * x + 64)), static_cast<float>(screenRatio * (2 * y + 32)));
}

float sheetScale()
{
    return static_cast<float>(4.0 * screenRatio);
}

int scaledUnit()
{
    if (!g_unitFixed) {
        g_unit = static_cast<int>(screenRatio * 64);
        g_unitFixed = true;
    }
    return g_unit;
}

void resetScreenMetricsForTests()
{
    screenSize = CCSize();
    visibleSize = CCSize();
    screenRatio = 0.0;
    pixelSize = 0;
    g_unitFixed = false;
    g_unit = 0;
}
