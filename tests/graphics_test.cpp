// Texture loading and display bring-up as the game relies on them.
#include <string>

#include "graphics/display.h"
#include "graphics/sprites.h"
#include "play_fixture.h"
#include "shell/shell.h"

using playtest::Traced;

TEST(Display, FailuresReportTheirMessagesAndEndStartUp) {
    const struct {
        int failure;
        const char* trace;
    } cases[] = {
        {HEADLESS_FAIL_DEVICE,
         "f=0 msgbox owner=none caption=- \"DIRECT3Dデバイスの作成に失敗\"\n"},
        {HEADLESS_FAIL_GRAPHICS,
         "f=0 msgbox owner=none caption=\"\" \"Direct3Dの作成に失敗しました\"\n"},
        {HEADLESS_FAIL_SPRITE,
         "f=0 msgbox owner=none caption=\"\" \"スプライトの作成に失敗しました\"\n"},
    };
    for (const auto& c : cases) {
        HeadlessReset(0);
        HeadlessSetFailures(c.failure);
        EXPECT_EQ(Traced([] { EXPECT_EQ(WinMain(), 0); }, TRACE_MSGBOX), c.trace);
        EXPECT_EQ(device, 0u);
    }
    EXPECT_EQ(direct3D, 0u);
    HeadlessSetFailures(0);
}

TEST(Textures, MissingBitmapsShowTheMessageAndStayEmptyAndKeysMatchTheBitmaps) {
    HeadlessReset(0);
    ASSERT_EQ(InitDisplay(1), 0u);
    EXPECT_EQ(LoadTexture(5, "no\\such\\file.bmp", 160, 200, 0xFF000000u), 0u);
    EXPECT_EQ(textures[5], 0u);
    EXPECT_EQ(HeadlessMessageCount(), 1);
    EXPECT_STREQ(HeadlessLastMessage(), "テクスチャの作成に失敗しました");
    ReleaseGraphics();
    // The colour keys are the exact backgrounds the bitmaps are drawn on.
    EXPECT_EQ(textureCatalogue[TEXTURE_PLAY_CHIP].colorKey, 0u);
    EXPECT_EQ(textureCatalogue[TEXTURE_PLAY_CHAR].colorKey, 0xFF000000u);
    EXPECT_EQ(textureCatalogue[TEXTURE_GAMEADV_CHARACTER_3].colorKey, 0xFF00FF00u);
}
