#include "playscreen/panels.h"

#include "base/registry.h"
#include "base/services.h"
#include "graphics/sprites.h"
#include "play/playstate.h"

namespace {
const i32 PANEL_OPEN = 480;
const u32 SELECTED_COLOR = 0xFFFF0000u;
const u32 ITEM_COLOR = 0xFF000000u;
const int ITEM_FONT = 1;
const u8 SEQUENCE_END = 3;
const u32 CURSOR_FRAME_HOLD = 30;  // a frame changes once the timer exceeds this
const RECT CURSOR_FRAMES[3] = {{0, 160, 40, 200}, {40, 160, 80, 200}, {80, 160, 120, 200}};
const POINT ITEM_POSITIONS[4] = {{130, 300}, {330, 300}, {190, 370}, {190, 230}};
const RECT SOURCE_LABELS[3] = {{200, 40, 320, 80}, {200, 80, 320, 120}, {200, 120, 320, 160}};

u8 cursorFrameSequence[5] = {0, 1, 2, 1, SEQUENCE_END};
u8 pauseCursorStep;
u32 pauseCursorTimer;

// Runs on every call, sliding or not, so the panel may open on any frame.
void AdvanceCursorFrame(void) {
    pauseCursorTimer++;
    if (pauseCursorTimer <= CURSOR_FRAME_HOLD) return;
    pauseCursorTimer = 0;
    pauseCursorStep++;
    if (pauseCursorStep >= sizeof cursorFrameSequence ||
        cursorFrameSequence[pauseCursorStep] == SEQUENCE_END) {
        pauseCursorStep = 0;
    }
}

void DrawCursor(u8 item) {
    if (pauseCursorStep >= sizeof cursorFrameSequence) pauseCursorStep = 0;
    // A table set from outside may hold anything: only frames 0..2 exist.
    u8 frame = cursorFrameSequence[pauseCursorStep];
    if (frame >= SEQUENCE_END) frame = 0;
    // Beside the text: 40 pixels to its left and 10 higher.
    DrawSprite(TEXTURE_PLAY_CHAR, (f32)(ITEM_POSITIONS[item].x - 40),
               (f32)(ITEM_POSITIONS[item].y - 10), CURSOR_FRAMES[frame]);
}

void DrawItem(u8 item, u8 cursor) {
    static const char* const texts[4] = {Sjis("リトライ"), Sjis("ゲームに戻る"),
                                         Sjis("タイトルに戻る"), Sjis("ステージ選択")};
    DrawString(texts[item], ITEM_POSITIONS[item].x, ITEM_POSITIONS[item].y,
               item == cursor ? SELECTED_COLOR : ITEM_COLOR, ITEM_FONT);
}
}  // namespace

void DrawPauseMenu(i32 slide, u8 cursor, u32 freeMode) {
    AdvanceCursorFrame();
    DrawSprite(TEXTURE_PLAY_RETRAY, 0.0f, (f32)((int64_t)slide - PANEL_OPEN), RECT{0, 0, 640, 480});
    if (slide < PANEL_OPEN) return;
    if (cursor <= PAUSE_STAGE_SELECT) DrawCursor(cursor);
    for (u8 item = PAUSE_RETRY; item <= PAUSE_TO_TITLE; item++) DrawItem(item, cursor);
    if (freeMode) DrawItem(PAUSE_STAGE_SELECT, cursor);
}

void DrawFreeSelectPanel(u8 source) {
    DrawSprite(TEXTURE_PLAY_SELECT, 80.0f, 20.0f, RECT{0, 0, 320, 40});
    DrawSprite(TEXTURE_PLAY_SELECT, 40.0f, 420.0f, RECT{0, 40, 200, 80});
    DrawSprite(TEXTURE_PLAY_SELECT, 240.0f, 420.0f, RECT{0, 80, 200, 120});
    if (source < 3) DrawSprite(TEXTURE_PLAY_SELECT, 180.0f, 220.0f, SOURCE_LABELS[source]);
}

void RegisterPanelsGlobals(void) {
    REG_ARRAY(cursorFrameSequence, GLOBAL_U8);
    REG_U8(pauseCursorStep);
    REG_U32(pauseCursorTimer);
}
