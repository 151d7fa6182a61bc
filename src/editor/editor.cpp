#include "editor/editor.h"

#include <cstdio>
#include <cstring>

#include "base/registry.h"
#include "base/scene.h"
#include "base/services.h"
#include "editor/mapfile.h"
#include "editor/verdict.h"
#include "graphics/sprites.h"
#include "input/input.h"
#include "platform/platform.h"
#include "play/playstate.h"
#include "playscreen/player.h"
#include "playscreen/playfield.h"
#include "scenes/title.h"
#include "scenes/wipe.h"
#include "sound/music.h"

u8 editBoard[64];
u8 editTimeClass;
i32 editStartX = 7, editStartY = 7;
u8 selectedTile;
u8 rememberedWarp = NO_REMEMBERED_WARP;
u32 editorLoaded;
u32 mapSavedNotice;
u32 mapInvalidNotice;
i32 noticeTimer;

namespace {
const i32 CELL = 40;
const i32 BOARD_LEFT = 80;
const i32 BOARD_TOP = 80;
const i32 DEFAULT_START = 7;
const i32 TIME_CLASSES = 3;
const u32 KEY_COUNT = 4;
const u32 DIMMED = 0x64FFFFFFu;
const u32 FULL = 0xFFFFFFFFu;
const u32 NUMBER_COLOR = 0xFFFFFF00u;
const u32 NOTICE_COLOR = 0xFFFF0000u;
const int FONT_EDITOR = 1;

struct TileButton {
    RECT area;
    u8 tile;
};

const TileButton TILE_BUTTONS[] = {
    {{490, 40, 530, 80}, TILE_FLOOR},      {{530, 40, 570, 80}, TILE_WALL},
    {{570, 40, 610, 80}, TILE_TIME_BONUS}, {{490, 80, 530, 120}, TILE_TIME_PENALTY},
    {{530, 80, 570, 120}, TILE_SWITCH},    {{570, 80, 610, 120}, TILE_GATE},
    {{490, 120, 530, 160}, TILE_KEY1},     {{530, 120, 570, 160}, TILE_KEY2},
    {{570, 120, 610, 160}, TILE_KEY3},     {{490, 160, 530, 200}, TILE_KEY4},
    {{530, 160, 570, 200}, TILE_WARP},
};
const RECT TIME_BUTTONS[TIME_CLASSES] = {
    {490, 240, 530, 280}, {530, 240, 570, 280}, {570, 240, 610, 280}};
const RECT SAVE_BUTTON = {490, 320, 610, 360};
const RECT CLEAR_BUTTON = {490, 360, 610, 400};
const RECT SAVE_PICTURE = {0, 40, 120, 80};
const RECT CLEAR_PICTURE = {0, 80, 120, 120};

// The lines where two cells or buttons meet belong to neither.
bool StrictlyInside(const RECT& r, POINT p) {
    return r.left < p.x && p.x < r.right && r.top < p.y && p.y < r.bottom;
}

// The board cell strictly containing p, as x + 8*y; -1 for none.
int CellAt(POINT p) {
    const i32 side = CELL * BOARD_SIZE;
    if (p.x <= BOARD_LEFT || p.y <= BOARD_TOP) return -1;
    if (p.x >= BOARD_LEFT + side || p.y >= BOARD_TOP + side) return -1;
    i32 dx = p.x - BOARD_LEFT;
    i32 dy = p.y - BOARD_TOP;
    if (dx % CELL == 0 || dy % CELL == 0) return -1;
    return dx / CELL + BOARD_SIZE * (dy / CELL);
}

bool IsUniqueTile(u8 tile) {
    switch (tile) {
        case TILE_FLOOR:
        case TILE_WALKED:
        case TILE_WALL:
        case TILE_GATE: return false;
        default: return tile <= TILE_WARP;
    }
}

i32 GetI32(const u8* in) {
    return (i32)((u32)in[0] | (u32)in[1] << 8 | (u32)in[2] << 16 | (u32)in[3] << 24);
}

void PutI32(u8* out, i32 value) {
    for (int i = 0; i < 4; i++) out[i] = (u8)((u32)value >> (8 * i));
}

// A short file fills what it holds; the rest keeps what was on screen.
void ReadEditMap(int file) {
    ReadGameFile(file, editBoard, sizeof editBoard);
    ReadGameFile(file, &editTimeClass, 1);
    u8 start[8];
    PutI32(start, editStartX);
    PutI32(start + 4, editStartY);
    ReadGameFile(file, start, sizeof start);
    editStartX = GetI32(start);
    editStartY = GetI32(start + 4);
}

void LoadEditMap(void) {
    char name[64];
    MapFileName(stageNumber, name, sizeof name);
    int file = OpenGameFile(name, FILE_MODE_PROBE);
    if (file != INVALID_FILE) {
        ReadEditMap(file);
        CloseGameFile(file);
    } else {
        memset(editBoard, TILE_FLOOR, sizeof editBoard);
        editTimeClass = 0;
        editStartX = editStartY = DEFAULT_START;
    }
    noticeTimer = 0;
    selectedTile = TILE_FLOOR;
    rememberedWarp = NO_REMEMBERED_WARP;
    mapSavedNotice = 0;
    mapInvalidNotice = 0;
    editorLoaded = 1;
}

void PlaceTile(int cell) {
    if (cell < 0 || editBoard[cell] == selectedTile) return;
    if (IsUniqueTile(selectedTile)) KeepTileUnique(editBoard, selectedTile, &rememberedWarp);
    // A remembered warp painted over is forgotten, so a later third warp
    // never wipes out the tile that now stands there.
    if (cell == rememberedWarp && selectedTile != TILE_WARP) rememberedWarp = NO_REMEMBERED_WARP;
    editBoard[cell] = selectedTile;
}

void CheckAndSave(void) {
    u32 keys = 0, warps = 0;
    for (u8 code : editBoard) {
        if (code >= TILE_KEY1 && code <= TILE_KEY4) keys++;
        if (code == TILE_WARP) warps++;
    }
    noticeTimer = NOTICE_FRAMES;
    if (keys == KEY_COUNT && (warps == 0 || warps == 2)) {
        SaveMap(editBoard, editTimeClass, editStartX, editStartY);
        mapSavedNotice = 1;
    } else {
        mapInvalidNotice = 1;
    }
}

void ClickLeft(void) {
    PlaceTile(CellAt(mousePos));
    for (const TileButton& b : TILE_BUTTONS) {
        if (StrictlyInside(b.area, mousePos)) selectedTile = b.tile;
    }
    for (i32 i = 0; i < TIME_CLASSES; i++) {
        if (StrictlyInside(TIME_BUTTONS[i], mousePos)) editTimeClass = (u8)i;
    }
    if (StrictlyInside(SAVE_BUTTON, mousePos)) CheckAndSave();
    // The remembered warp stays: it only ever clears a cell that is floor now,
    // or is forgotten when something else is painted there.
    if (StrictlyInside(CLEAR_BUTTON, mousePos)) memset(editBoard, TILE_FLOOR, sizeof editBoard);
}

void ClickRight(void) {
    int cell = CellAt(mousePos);
    if (cell < 0) return;
    editStartX = cell % BOARD_SIZE;
    editStartY = cell / BOARD_SIZE;
}

// Right needs the current number's file, so maps stay numbered without gaps;
// Left onto a number without a file keeps the board to be saved there.
void StepMapNumber(void) {
    if (inputA == BUTTON_OFF && inputRight == BUTTON_PRESSED) {
        if (MapFileExists()) {
            stageNumber++;
            editorLoaded = 0;
        }
    }
    if (inputA == BUTTON_HELD && inputRight == BUTTON_PRESSED) {
        stageNumber += 10;
        while (!MapFileExists() && stageNumber > 0) stageNumber--;
        editorLoaded = 0;
    }
    if (inputA == BUTTON_OFF && inputLeft == BUTTON_PRESSED) {
        if (stageNumber > 0) stageNumber--;
        if (MapFileExists()) editorLoaded = 0;
    }
    if (inputA == BUTTON_HELD && inputLeft == BUTTON_PRESSED) {
        stageNumber = stageNumber > 10 ? stageNumber - 10 : 0;
        if (MapFileExists()) editorLoaded = 0;
    }
}

void DrawNotice(void) {
    u32* shown = mapSavedNotice ? &mapSavedNotice : mapInvalidNotice ? &mapInvalidNotice : nullptr;
    if (!shown) return;
    const char* text =
        mapSavedNotice ? Sjis("マップをセーブしました") : Sjis("不正なマップデータです");
    DrawString(text, 80, 20, NOTICE_COLOR, FONT_EDITOR);
    if (noticeTimer < 1) {
        *shown = 0;
    } else {
        noticeTimer--;
    }
}

// The fastest solution walked on the board as a hint: Z alone starts it
// while the verdict line is shown; a step every 17 frames, then a pause.
i32 hintFrames = -1;  // frames since the hint began; -1: none
const i32 HINT_PAUSE = 60;

// The map last handed to the solver, and the verdict the title shows.
solver::Stage askedMap;
bool mapAsked;
u32 titledSerial;
u32 titledNumber;
MapVerdict shownVerdict;

// Any change to the map (a tile, the start, the time class, CLEAR, another
// map loaded) asks for a new verdict; the window title follows it.
void WatchVerdict(void) {
    solver::Stage now;
    memset(&now, 0, sizeof now);
    memcpy(now.cells, editBoard, sizeof now.cells);
    now.timeClass = editTimeClass;
    now.startX = editStartX;
    now.startY = editStartY;
    if (!mapAsked || memcmp(&now, &askedMap, sizeof now) != 0) {
        hintFrames = -1;
        AskVerdict(now);
        askedMap = now;
        mapAsked = true;
    }
    u32 serial = ReadVerdict(&shownVerdict);
    if (serial == titledSerial && stageNumber == titledNumber) return;
    titledSerial = serial;
    titledNumber = stageNumber;
    char text[160], title[192];
    DescribeVerdict(shownVerdict, stageNumber, text, sizeof text);
    snprintf(title, sizeof title, "Ossmire \u2014 %s", text);
    PlatformSetWindowTitle(title);
}

void StepHint(void) {
    bool zAlone = inputA == BUTTON_PRESSED && inputLeft == BUTTON_OFF && inputRight == BUTTON_OFF;
    if (!editorSolverShown) {
        hintFrames = -1;
    } else if (zAlone && shownVerdict.state == VERDICT_CLEARABLE) {
        hintFrames = 0;
    } else if (hintFrames >= 0) {
        hintFrames++;
    }
}

// Where the hint has walked to by now; false once it is over.
bool HintPlace(i32* x, i32* y, u8* facing) {
    if (hintFrames < 0) return false;
    *x = editStartX;
    *y = editStartY;
    *facing = DIRECTION_UP;
    i32 steps = hintFrames / STEP_REPEAT_FRAMES, taken = 0, total = 0;
    for (const char* m = shownVerdict.moves; *m; m++) {
        int d = solver::DirectionOfLetter(*m);
        if (d < 0) continue;  // a wait shows as nothing
        total++;
        if (taken >= steps || !OnBoard((int64_t)*x + STEP_DX[d], (int64_t)*y + STEP_DY[d])) {
            continue;
        }
        *x += STEP_DX[d];
        *y += STEP_DY[d];
        *facing = (u8)d;
        taken++;
        int cell = *x + BOARD_SIZE * *y;
        if (editBoard[cell] == TILE_WARP) {
            *x = WarpLanding(editBoard, cell) % BOARD_SIZE;
            *y = WarpLanding(editBoard, cell) / BOARD_SIZE;
        }
    }
    if (hintFrames <= total * STEP_REPEAT_FRAMES + HINT_PAUSE) return true;
    hintFrames = -1;
    return false;
}

void DrawVerdict(void) {
    if (!editorSolverShown) return;
    char text[160];
    DescribeVerdict(shownVerdict, stageNumber, text, sizeof text);
    const char* verdict = strstr(text, ": ");
    DrawString(verdict ? verdict + 2 : text, BOARD_LEFT, 448, NUMBER_COLOR, FONT_EDITOR);
}

void DrawEditor(void) {
    DrawFullScreen(TEXTURE_PLAY_BACKGROUND);
    DrawBoard(editBoard, cellRects);
    i32 x, y;
    u8 facing;
    if (HintPlace(&x, &y, &facing)) {
        DrawPlayer(x, y, facing, 0);
    } else {
        DrawPlayer(editStartX, editStartY, DIRECTION_UP, 0);
    }
    char number[32];
    snprintf(number, sizeof number, Sjis("マップ:%02d"), (int)stageNumber);
    DrawString(number, 320, 420, NUMBER_COLOR, FONT_EDITOR);
    DrawNotice();
    DrawVerdict();
    DrawPalette(cellRects, selectedTile, editTimeClass);
    DrawFps(10, 10);
}
}  // namespace

u8 InitEditor(void) {
    LoadSceneMusic(EDITOR_MUSIC);
    PlaySceneMusic();
    return SCENE_PHASE_RUN;
}

u8 RunEditor(void) {
    if (!editorLoaded) LoadEditMap();
    if (mouseLeft == BUTTON_PRESSED) ClickLeft();
    if (mouseRight == BUTTON_PRESSED) ClickRight();
    StepMapNumber();
    WatchVerdict();
    StepHint();
    if (inputB == BUTTON_PRESSED) quitToTitle = 1;
    if (quitToTitle) {
        wipeActive = 1;
        if (wipeCovered) {
            editChosen = 0;
            editorLoaded = 0;
            return SCENE_PHASE_EXIT;
        }
    }
    DrawEditor();
    StepSceneWipe(nullptr);
    return SCENE_PHASE_RUN;
}

u8 ExitEditor(void) {
    ReleaseSceneMusic();
    mapAsked = false;
    titledSerial = 0;
    PlatformSetWindowTitle("Ossmire");
    quitToTitle = 0;
    wipeCovered = 0;
    wipeActive = 0;
    wipeX = -640;
    sceneId = SCENE_TITLE;
    return SCENE_PHASE_INIT;
}

void KeepTileUnique(u8* cells, u8 tile, u8* remembered) {
    if (tile != TILE_WARP) {
        for (int i = 0; i < BOARD_CELL_COUNT; i++) {
            if (cells[i] == tile) cells[i] = TILE_FLOOR;
        }
        return;
    }
    // Each restart clears a cell, so the scan ends once one warp is left.
    int count = 0;
    for (int i = 0; i < BOARD_CELL_COUNT; i++) {
        if (cells[i] != TILE_WARP) continue;
        count++;
        if (count == 1 && *remembered == NO_REMEMBERED_WARP) *remembered = (u8)i;
        if (count == 2) {
            if (*remembered < BOARD_CELL_COUNT) cells[*remembered] = TILE_FLOOR;
            *remembered = NO_REMEMBERED_WARP;
            count = 0;
            i = -1;
        }
    }
}

void DrawPalette(const RECT* rects, u8 selected, u8 timeClass) {
    for (const TileButton& b : TILE_BUTTONS) {
        SetSpriteColor(b.tile == selected ? FULL : DIMMED, 0);
        DrawSprite(TEXTURE_PLAY_CHIP, (f32)b.area.left, (f32)b.area.top, rects[b.tile]);
    }
    for (i32 i = 0; i < TIME_CLASSES; i++) {
        SetSpriteColor(i == timeClass ? FULL : DIMMED, 0);
        DrawSprite(TEXTURE_EDIT, (f32)TIME_BUTTONS[i].left, (f32)TIME_BUTTONS[i].top,
                   RECT{CELL * i, 0, CELL * (i + 1), CELL});
    }
    DrawSprite(TEXTURE_EDIT, (f32)SAVE_BUTTON.left, (f32)SAVE_BUTTON.top, SAVE_PICTURE);
    DrawSprite(TEXTURE_EDIT, (f32)CLEAR_BUTTON.left, (f32)CLEAR_BUTTON.top, CLEAR_PICTURE);
}

void RegisterEditorGlobals(void) {
    REG_ARRAY(editBoard, GLOBAL_U8);
    REG_U8(editTimeClass);
    REG_I32(editStartX);
    REG_I32(editStartY);
    REG_U8(selectedTile);
    REG_U8(rememberedWarp);
    REG_U32(editorLoaded);
    REG_U32(mapSavedNotice);
    REG_U32(mapInvalidNotice);
    REG_I32(noticeTimer);
    REG_U32(editorSolverShown);
}
