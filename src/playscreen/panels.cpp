// The panel pictures and item texts; the cursor animation comes later.
#include "playscreen/panels.h"

#include "graphics/sprites.h"
#include "play/playstate.h"
#include "shell/services.h"

namespace {
const i32 PANEL_OPEN = 480;
const u32 SELECTED_COLOR = 0xFFFF0000u;
const u32 ITEM_COLOR = 0xFF000000u;
const int ITEM_FONT = 1;
const RECT SOURCE_LABELS[3] = {{200, 40, 320, 80}, {200, 80, 320, 120}, {200, 120, 320, 160}};

void DrawItem(u8 item, u8 cursor) {
    static const char* const texts[4] = {Sjis("リトライ"), Sjis("ゲームに戻る"),
                                         Sjis("タイトルに戻る"), Sjis("ステージ選択")};
    static const POINT positions[4] = {{130, 300}, {330, 300}, {190, 370}, {190, 230}};
    DrawString(texts[item], positions[item].x, positions[item].y,
               item == cursor ? SELECTED_COLOR : ITEM_COLOR, ITEM_FONT);
}
}  // namespace

void DrawPauseMenu(i32 slide, u8 cursor, u32 freeMode) {
    DrawSprite(TEXTURE_PLAY_RETRAY, 0.0f, (f32)(slide - PANEL_OPEN), RECT{0, 0, 640, 480});
    if (slide < PANEL_OPEN) return;
    for (u8 item = PAUSE_RETRY; item <= PAUSE_TO_TITLE; item++) DrawItem(item, cursor);
    if (freeMode) DrawItem(PAUSE_STAGE_SELECT, cursor);
}

void DrawFreeSelectPanel(u8 source) {
    DrawSprite(TEXTURE_PLAY_SELECT, 80.0f, 20.0f, RECT{0, 0, 320, 40});
    DrawSprite(TEXTURE_PLAY_SELECT, 40.0f, 420.0f, RECT{0, 40, 200, 80});
    DrawSprite(TEXTURE_PLAY_SELECT, 240.0f, 420.0f, RECT{0, 80, 200, 120});
    if (source < 3) DrawSprite(TEXTURE_PLAY_SELECT, 180.0f, 220.0f, SOURCE_LABELS[source]);
}
