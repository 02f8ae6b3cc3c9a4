// Large scaled pictures take a faster way through the software renderer than
// SDL's own flipping copy; the picture must come out as that copy draws it.
#include "engine/render/SoftwareRenderFixture.h"

#include <cstdint>
#include <vector>

using namespace cocos2d;
using enginetest::SoftwareRender;

namespace {

constexpr int kFrameW = 800;
constexpr int kFrameH = 600;

// A texture of w x h texels from a pattern; alpha 0 or 255 only unless
// `partlyClear`.
SDL_Texture* patternTexture(int w, int h, bool partlyClear)
{
    SDL_Texture* t = SDL_CreateTexture(render::renderer(), SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STREAMING, w, h);
    if (!t)
        return nullptr;
    std::vector<uint8_t> texels(static_cast<size_t>(w) * h * 4);
    uint32_t seed = 7;
    for (size_t i = 0; i < texels.size(); i += 4) {
        seed = seed * 1103515245u + 12345u;
        texels[i] = static_cast<uint8_t>(seed >> 8);
        texels[i + 1] = static_cast<uint8_t>(seed >> 16);
        texels[i + 2] = static_cast<uint8_t>(seed >> 24);
        const uint8_t a = static_cast<uint8_t>(seed >> 4);
        texels[i + 3] = partlyClear ? a : (a & 1 ? 255 : 0);
    }
    SDL_UpdateTexture(t, nullptr, texels.data(), w * 4);
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
    return t;
}

struct ScaledCase {
    const char* name;
    SDL_Rect src;   // in a 256 x 256 texture
    SDL_FRect dst;  // SDL's rows (top first), in whole or quarter pixels
    bool flipV;
    SDL_Color colour;
    bool clipped;  // inside a 300 x 200 clip
};

const ScaledCase kCases[] = {
    {"world picture, flipped", {0, 0, 240, 160}, {0, 67, 800, 533}, true, {255, 255, 255, 255}, false},
    {"backdrop, upright", {0, 0, 120, 80}, {0, 67, 800, 533}, false, {255, 255, 255, 255}, false},
    {"part of a sheet", {40, 20, 50, 30}, {100, 100, 170, 100}, true, {255, 255, 255, 255}, false},
    {"zoomed past the frame", {0, 0, 240, 160}, {-100, -50, 1000, 700}, true, {255, 255, 255, 255}, false},
    {"below the frame's top only", {0, 0, 240, 160}, {0, 300, 800, 533}, false, {255, 255, 255, 255}, false},
    {"inside a clip", {0, 0, 240, 160}, {0, 67, 800, 533}, true, {255, 255, 255, 255}, true},
    {"shrunk", {0, 0, 240, 160}, {10, 10, 180, 120}, true, {255, 255, 255, 255}, false},
    {"odd scale at quarter pixels", {3, 5, 19, 16}, {23.25f, 8.75f, 63.5f, 53.25f}, false, {255, 255, 255, 255}, false},
    {"tinted and half opaque", {0, 0, 240, 160}, {0, 67, 800, 533}, true, {200, 150, 255, 128}, false},
};

class ScaledCopy : public SoftwareRender {
protected:
    void SetUp() override
    {
        SoftwareRender::SetUp();
        // Something to blend over: an unscaled picture, drawn the same either way.
        backdrop = patternTexture(kFrameW, kFrameH, false);
        ASSERT_NE(backdrop, nullptr);
        SDL_SetTextureBlendMode(backdrop, SDL_BLENDMODE_NONE);
    }
    void TearDown() override
    {
        if (backdrop)
            SDL_DestroyTexture(backdrop);
        SoftwareRender::TearDown();
    }

    // The frame after drawing the case: through the layer's drawTexture, or
    // through SDL's flipping copy as the reference.
    CCImage* drawCase(SDL_Texture* texture, const ScaledCase& c, bool reference)
    {
        render::beginFrame();
        SDL_RenderCopy(render::renderer(), backdrop, nullptr, nullptr);
        if (c.clipped)
            render::setClip(250, 150, 300, 200);
        if (reference) {
            SDL_SetTextureColorMod(texture, c.colour.r, c.colour.g, c.colour.b);
            SDL_SetTextureAlphaMod(texture, c.colour.a);
            SDL_RenderCopyExF(render::renderer(), texture, &c.src, &c.dst, 0.0, nullptr,
                              c.flipV ? SDL_FLIP_VERTICAL : SDL_FLIP_NONE);
        } else {
            // The layer's corners have y up.
            const float bottom = static_cast<float>(kFrameH) - (c.dst.y + c.dst.h);
            render::drawTexture(texture, c.src, c.dst.x, bottom, c.dst.x + c.dst.w, bottom + c.dst.h, false, c.flipV,
                                c.colour);
        }
        render::clearClip();
        return render::captureFrame();
    }

    // Pixels that differ at all, and the largest difference of a channel.
    static std::pair<int, int> difference(CCImage* a, CCImage* b)
    {
        int pixels = 0, largest = 0;
        const unsigned char* p = a->getData();
        const unsigned char* q = b->getData();
        for (int i = 0; i < kFrameW * kFrameH; ++i) {
            bool differs = false;
            for (int k = 0; k < 4; ++k) {
                const int d = p[i * 4 + k] > q[i * 4 + k] ? p[i * 4 + k] - q[i * 4 + k] : q[i * 4 + k] - p[i * 4 + k];
                differs = differs || d > 0;
                largest = d > largest ? d : largest;
            }
            pixels += differs;
        }
        return {pixels, largest};
    }

    SDL_Texture* backdrop = nullptr;
};

TEST_F(ScaledCopy, OpaqueAndClearTexelsComeOutExactlyAsSdlCopiesThem)
{
    SDL_Texture* texture = patternTexture(256, 256, false);
    ASSERT_NE(texture, nullptr);
    for (const ScaledCase& c : kCases) {
        if (c.colour.a != 255)
            continue;  // a half-opaque tint makes every texel partly clear
        CCImage* expected = drawCase(texture, c, true);
        CCImage* actual = drawCase(texture, c, false);
        ASSERT_TRUE(expected && actual);
        const auto [pixels, largest] = difference(expected, actual);
        EXPECT_EQ(pixels, 0) << c.name << ": largest difference " << largest;
        expected->release();
        actual->release();
    }
    SDL_DestroyTexture(texture);
}

TEST_F(ScaledCopy, PartlyClearTexelsBlendWithinTwoLevels)
{
    SDL_Texture* partly = patternTexture(256, 256, true);
    SDL_Texture* opaque = patternTexture(256, 256, false);
    ASSERT_TRUE(partly && opaque);
    for (const ScaledCase& c : kCases) {
        for (SDL_Texture* texture : {partly, opaque}) {
            CCImage* expected = drawCase(texture, c, true);
            CCImage* actual = drawCase(texture, c, false);
            ASSERT_TRUE(expected && actual);
            EXPECT_LE(difference(expected, actual).second, 2) << c.name;
            expected->release();
            actual->release();
        }
    }
    SDL_DestroyTexture(partly);
    SDL_DestroyTexture(opaque);
}

// The faster way switches SDL's target and the texture's blend mode: both
// must be as they were for what is drawn next.
TEST_F(ScaledCopy, LeavesTheClipAndTheTextureAsTheyWere)
{
    SDL_Texture* texture = patternTexture(256, 256, false);
    SDL_Texture* white =
        SDL_CreateTexture(render::renderer(), SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STREAMING, 4, 4);
    ASSERT_TRUE(texture && white);
    const std::vector<uint32_t> texels(16, 0xFFFFFFFFu);
    SDL_UpdateTexture(white, nullptr, texels.data(), 16);
    SDL_SetTextureBlendMode(white, SDL_BLENDMODE_BLEND);

    render::beginFrame();
    render::setClip(100, 100, 200, 200);
    render::drawTexture(texture, SDL_Rect{0, 0, 240, 160}, 0, 0, 800, 533, false, true, SDL_Color{255, 255, 255, 255});
    // Unscaled, straddling the clip's right edge: SDL's own copy, clipped.
    render::drawTexture(white, SDL_Rect{0, 0, 4, 4}, 298, 150, 302, 154, false, false, SDL_Color{255, 255, 255, 255});
    render::clearClip();
    CCImage* frame = render::captureFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_PIXEL(enginetest::pixelAt(frame, 299, 599 - 151), ccc4(255, 255, 255, 255));
    EXPECT_PIXEL(enginetest::pixelAt(frame, 300, 599 - 151), ccc4(0, 0, 0, 255)) << "outside the clip";
    EXPECT_PIXEL(enginetest::pixelAt(frame, 50, 599 - 50), ccc4(0, 0, 0, 255)) << "the big picture was clipped too";
    frame->release();

    SDL_BlendMode mode;
    ASSERT_EQ(SDL_GetTextureBlendMode(texture, &mode), 0);
    EXPECT_EQ(mode, SDL_BLENDMODE_BLEND);
    SDL_DestroyTexture(texture);
    SDL_DestroyTexture(white);
}

}  // namespace
