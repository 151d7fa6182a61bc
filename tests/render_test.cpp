// The drawing layer on a software renderer over a plain surface, as the
// simulator's screenshots use it: sprite placement under every transform,
// blending, and text layout with clipping.
#include "platform/render.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {
const uint32_t RED = 0xFFFF0000, BLUE = 0xFF0000FF, GREY = 0xFF404040;

// A 20x20 24-bit bitmap: blue, the top-left 2x2 red, the bottom row black.
void WriteTestBitmap(const char* name) {
    const int side = 20, stride = 60;
    std::vector<uint8_t> b(54 + stride * side, 0);
    b[0] = 'B', b[1] = 'M';
    b[10] = 54, b[14] = 40, b[18] = side, b[22] = side, b[26] = 1, b[28] = 24;
    for (int row = 0; row < side; row++) {
        int y = side - 1 - row;
        for (int x = 0; x < side; x++) {
            uint8_t* p = &b[54 + row * stride + 3 * x];
            uint32_t c = y == side - 1 ? 0 : (x < 2 && y < 2 ? RED : BLUE);
            p[0] = c & 0xFF, p[1] = (c >> 8) & 0xFF, p[2] = (c >> 16) & 0xFF;
        }
    }
    FILE* f = fopen(name, "wb");
    ASSERT_NE(nullptr, f);
    fwrite(b.data(), 1, b.size(), f);
    fclose(f);
}

class RenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_ARGB8888);
        ASSERT_NE(nullptr, surface);
        renderer = SDL_CreateSoftwareRenderer(surface);
        ASSERT_NE(nullptr, renderer);
        RenderAttach(renderer);
        Clear(GREY);
        WriteTestBitmap("render_test.bmp");
        texture = RenderLoadTexture(5, "render_test.bmp", 20, 20, 0xFF000000);
        ASSERT_NE(0u, texture);
    }
    void TearDown() override {
        RenderDetach();
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
        remove("render_test.bmp");
    }
    void Clear(uint32_t argb) {
        SDL_SetRenderDrawColor(renderer, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF,
                               0xFF);
        SDL_RenderClear(renderer);
    }
    uint32_t At(int x, int y) {
        SDL_RenderFlush(renderer);
        return ((uint32_t*)surface->pixels)[y * surface->pitch / 4 + x] | 0xFF000000u;
    }
    PlatformSprite Sprite(float x, float y) {
        PlatformSprite s = {};
        s.texture = texture;
        s.x = x, s.y = y;
        s.right = 20, s.bottom = 20;
        s.scaleX = s.scaleY = 1.0f;
        s.color = 0xFFFFFFFF;
        return s;
    }
    int CountNot(uint32_t colour, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; y++) {
            for (int x = x0; x < x1; x++) n += At(x, y) != colour;
        }
        return n;
    }

    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    PlatformObject texture = 0;
};
}  // namespace

TEST_F(RenderTest, PlainSourceRectangleScaledAndMirroredDrawsArePixelExact) {
    // The file is read when loaded, never again at the first draw.
    remove("render_test.bmp");
    PlatformSprite s = Sprite(10, 30);
    RenderSprite(&s);
    EXPECT_EQ(RED, At(11, 31));
    EXPECT_EQ(BLUE, At(29, 47));
    EXPECT_EQ(GREY, At(29, 49));  // the keyed black row

    s = Sprite(100, 100);
    s.left = 1, s.top = 1, s.right = 4, s.bottom = 4;
    s.scaleX = 2, s.scaleY = 3;
    RenderSprite(&s);
    EXPECT_EQ(RED, At(101, 102));
    EXPECT_EQ(BLUE, At(105, 108));
    EXPECT_EQ(0, CountNot(GREY, 106, 100, 110, 110));
    EXPECT_EQ(0, CountNot(GREY, 100, 109, 110, 110));

    // A rectangle reaching outside the bitmap draws only the part inside,
    // where it would have been.
    s = Sprite(300, 300);
    s.left = -2, s.top = -2, s.right = 4, s.bottom = 30;
    RenderSprite(&s);
    EXPECT_EQ(0, CountNot(GREY, 298, 298, 310, 302));
    EXPECT_EQ(RED, At(302, 302));
    EXPECT_EQ(BLUE, At(305, 320));
    EXPECT_EQ(0, CountNot(GREY, 300, 321, 310, 340));  // keyed row and beyond
    // A negative scale mirrors to the left of the anchor.
    s = Sprite(200, 50);
    s.bottom = 19;
    s.scaleX = -1;
    RenderSprite(&s);
    EXPECT_EQ(RED, At(199, 50));
    EXPECT_EQ(BLUE, At(185, 55));
    EXPECT_EQ(0, CountNot(GREY, 200, 50, 210, 70));
}

TEST_F(RenderTest, QuarterTurnClockwiseAboutTheScaledCentre) {
    // Scale 2 and a centre of (20, 20) bitmap pixels: the turn is about the
    // point 40 right and 40 below the top-left.
    PlatformSprite s = Sprite(100, 100);
    s.bottom = 19;  // leave the keyed row out
    s.scaleX = s.scaleY = 2;
    s.centreX = s.centreY = 40;
    s.rotation = 90 * 0.017453289f;
    RenderSprite(&s);
    // The picture now spans x 142..180, y 100..140; its top-left corner
    // (red) lies at the top-right.
    EXPECT_EQ(RED, At(178, 101));
    EXPECT_EQ(BLUE, At(150, 120));
    EXPECT_EQ(0, CountNot(GREY, 100, 100, 140, 150) + CountNot(GREY, 140, 142, 190, 150));
}

TEST_F(RenderTest, ColourModulationAndBlending) {
    PlatformSprite s = Sprite(0, 0);
    s.color = 0x80FFFFFF;  // half faded over grey
    RenderSprite(&s);
    uint32_t half = At(5, 5);
    EXPECT_NEAR(0x40 / 2, (int)((half >> 8) & 0xFF), 2);
    EXPECT_NEAR((0xFF + 0x40) / 2, (int)(half & 0xFF), 2);

    s = Sprite(50, 0);
    s.color = 0x0000FF00;  // additive ignores the colour's alpha
    s.additive = 1;
    RenderSprite(&s);
    EXPECT_EQ(GREY, At(55, 5));  // blue x green adds nothing
    s = Sprite(80, 0);
    s.color = 0x00FFFFFF;
    s.additive = 1;
    RenderSprite(&s);
    EXPECT_EQ(0xFF4040FFu, At(85, 5));
    EXPECT_EQ(GREY, At(85, 19));  // keyed texels add nothing
}

TEST_F(RenderTest, ReleasedOrUnknownTexturesDrawNothing) {
    PlatformSprite s = Sprite(0, 0);
    s.texture = 63;
    RenderSprite(&s);
    s.texture = 1000;
    RenderSprite(&s);
    RenderReleaseTexture(texture);
    s.texture = texture;
    RenderSprite(&s);
    EXPECT_EQ(0, CountNot(GREY, 0, 0, 30, 30));
    EXPECT_EQ(0u, RenderLoadTexture(5, "missing.bmp", 20, 20, 0));
    EXPECT_EQ(0u, RenderLoadTexture(5, "render_test.bmp", 100000, 20, 0));
}

TEST_F(RenderTest, TextTabsLineBreaksAndClipping) {
    // "標準明朝" in Shift-JIS.
    const char face[] = "\x95\x57\x8f\x80\x96\xbe\x92\xa9";
    PlatformObject font = RenderCreateFont(0, 16, 0, 400, face);
    ASSERT_NE(0u, font);
    RenderText(font, "\tI", 0, 0, 0xFFFFFFFF);
    EXPECT_EQ(0, CountNot(GREY, 0, 0, 16, 16));  // a tab moves past 8 widths
    EXPECT_GT(CountNot(GREY, 16, 0, 640, 16), 0);

    Clear(GREY);
    RenderText(font, "I\r\nI", 0, 0, 0xFFFFFFFF);
    EXPECT_GT(CountNot(GREY, 0, 16, 20, 40), 0);

    Clear(GREY);
    RenderText(font, "IIIIIIIIIIIIIIIIIIII", 634, 470, 0xFFFF0000);
    EXPECT_GT(CountNot(GREY, 634, 470, 640, 480), 0);
    EXPECT_EQ(0, CountNot(GREY, 0, 0, 634, 480));

    RenderReleaseFont(font);
    RenderText(font, "I", 0, 0, 0xFFFFFFFF);
    EXPECT_EQ(0, CountNot(GREY, 0, 0, 40, 40));
}
