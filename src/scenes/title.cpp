#include "scenes/title.h"

#include <cstdio>
#include <cstdlib>

#include "base/registry.h"
#include "base/scene.h"
#include "base/services.h"
#include "graphics/sprites.h"
#include "graphics/trig.h"
#include "input/input.h"
#include "play/gamedata.h"
#include "play/playstate.h"
#include "playscreen/playfield.h"
#include "save/save.h"
#include "scenes/wipe.h"
#include "sound/effects.h"
#include "sound/music.h"

u8 titleCursor;
u32 titleDataLoaded;
u32 titleStartPressed;
u32 titleOpeningTimer;
u32 titleDoorsOpening;
u32 titleMenuActive;
i32 doorOffset;
u32 promptFrameTimer;
u8 promptFrameStep;
u32 continueChosen;
u32 editChosen;
u8 promptFrameSequence[5] = {0, 1, 2, 1, 3};


namespace {
const u32 COLOR_SELECTED = 0xFFFFFF00u;
const u32 COLOR_MENU = 0xFF00FFFFu;
const u32 COLOR_LOCKED = 0xFF808080u;
const u32 COLOR_BEST = 0xFFFFFF00u;
const int MENU_X = 80;
const int MENU_FONT = 2;
const int BEST_FONT = 3;

// The opening counts frames from the press of A (the press frame is 1).
const u32 DOORS_OPEN_AFTER = 80;
const u32 MENU_ACTIVE_AFTER = 113;

void PlayTitleWave(u8 slot) { PlayWave(&waveBuffers[slot], 0); }

void LoadTitleFiles(void) {
    if (titleDataLoaded) return;
    LoadGameData();
    LoadProgress();
    if (courseCleared) LoadBestTimes();
    titleDataLoaded = 1;
}

void MoveCursorUp(void) {
    if (extrasUnlocked) {
        if (titleCursor > TITLE_RULE) {
            titleCursor--;
            PlayTitleWave(TITLE_WAVE_CURSOR);
        }
    } else if (titleCursor == TITLE_FREEMODE) {
        // UNDERGROUND is still locked: FREEMODE sits right below CONTINUE.
        titleCursor = TITLE_CONTINUE;
        PlayTitleWave(TITLE_WAVE_CURSOR);
    } else if (titleCursor != TITLE_RULE) {
        titleCursor--;
        PlayTitleWave(TITLE_WAVE_CURSOR);
    }
}

void MoveCursorDown(void) {
    if (extrasUnlocked) {
        if (titleCursor < TITLE_MAPEDIT) {
            titleCursor++;
            PlayTitleWave(TITLE_WAVE_CURSOR);
        }
        return;
    }
    if (courseCleared && titleCursor == TITLE_CONTINUE) {
        titleCursor = TITLE_FREEMODE;
        PlayTitleWave(TITLE_WAVE_CURSOR);
    }
    if (titleCursor < TITLE_CONTINUE) {
        titleCursor++;
        PlayTitleWave(TITLE_WAVE_CURSOR);
    }
}

void SetModes(u32 rule, u32 underground, u32 free, u32 continued) {
    ruleMode = rule;
    undergroundMode = underground;
    freeMode = free;
    continueChosen = continued;
}

void ChooseEntry(void) {
    switch (titleCursor) {
        case TITLE_RULE:
            stageNumber = 0;
            storyChapter = 0;
            SetModes(1, 0, 0, 0);
            break;
        case TITLE_NEWGAME:
            stageNumber = 0;
            storyChapter = 4;
            courseSeconds = 0;
            SetModes(0, 0, 0, 0);
            break;
        case TITLE_CONTINUE: SetModes(0, 0, 0, 1); break;
        case TITLE_UNDERGROUND:
            stageNumber = 0;
            storyChapter = 10;
            undergroundSeconds = 0;
            SetModes(0, 1, 0, 0);
            break;
        case TITLE_FREEMODE:
            LoadUndergroundBest();
            stageNumber = 0;
            storyChapter = 10;
            SetModes(0, 0, 1, 0);
            break;
        case TITLE_MAPEDIT:
            stageNumber = 0;
            editChosen = 1;
            SetModes(0, 0, 0, 0);
            break;
        default: break;
    }
    wipeActive = 1;
}

void ReadMenuInput(void) {
    if (!titleMenuActive || wipeActive || wipeCovered) return;
    if (inputUp == BUTTON_PRESSED) MoveCursorUp();
    if (inputDown == BUTTON_PRESSED) MoveCursorDown();
    if (inputA == BUTTON_PRESSED) {
        PlayTitleWave(TITLE_WAVE_ENTER);
        ChooseEntry();
    }
}

u32 EntryColor(u8 entry) { return entry == titleCursor ? COLOR_SELECTED : COLOR_MENU; }

void DrawBestTime(const char* label, const BestTime& best, int y) {
    char text[64];
    snprintf(text, sizeof text, Sjis("%02d時間%02d分%02d秒"), (int)best.hours, (int)best.minutes,
             (int)best.seconds);
    DrawString(label, 400, y, COLOR_BEST, BEST_FONT);
    DrawString(text, 400, y + 20, COLOR_BEST, BEST_FONT);
}

void DrawMenu(void) {
    DrawString("RULE", MENU_X, 100, EntryColor(TITLE_RULE), MENU_FONT);
    DrawString("NEWGAME", MENU_X, 150, EntryColor(TITLE_NEWGAME), MENU_FONT);
    DrawString("CONTINUE", MENU_X, 200, EntryColor(TITLE_CONTINUE), MENU_FONT);
    const char* locked = Sjis("？？？");
    if (!courseCleared) {
        DrawString(locked, MENU_X, 250, COLOR_LOCKED, MENU_FONT);
        DrawString(locked, MENU_X, 300, COLOR_LOCKED, MENU_FONT);
        DrawString(locked, MENU_X, 350, COLOR_LOCKED, MENU_FONT);
        return;
    }
    if (extrasUnlocked) {
        DrawString("UNDERGROUND", MENU_X, 250, EntryColor(TITLE_UNDERGROUND), MENU_FONT);
        DrawString("MAPEDIT", MENU_X, 350, EntryColor(TITLE_MAPEDIT), MENU_FONT);
    } else {
        DrawString(locked, MENU_X, 250, COLOR_LOCKED, MENU_FONT);
        DrawString(locked, MENU_X, 350, COLOR_LOCKED, MENU_FONT);
    }
    DrawString("FREEMODE", MENU_X, 300, EntryColor(TITLE_FREEMODE), MENU_FONT);
    DrawBestTime("BEST TIME", bestCourse, 260);
    if (extrasUnlocked) DrawBestTime("BEST TIME(UNDER)", bestUnderground, 370);
}

void DrawRatings(void) {
    if (!courseCleared) return;
    DrawStarRating(bestCourse.totalSeconds, 390, 310, 30, 0);
    if (extrasUnlocked) DrawStarRating(bestUnderground.totalSeconds, 390, 420, 100, 1);
}

void RunOpening(void) {
    if (titleMenuActive) return;
    if (!titleStartPressed && inputA == BUTTON_PRESSED) {
        PlayTitleWave(TITLE_WAVE_ENTER);
        titleStartPressed = 1;
    }
    DrawTitleDoors(titleStartPressed, titleDoorsOpening);
    if (!titleStartPressed) return;
    titleOpeningTimer++;
    if (titleOpeningTimer > DOORS_OPEN_AFTER) titleDoorsOpening = 1;
    if (titleOpeningTimer > MENU_ACTIVE_AFTER) {
        titleOpeningTimer = 0;
        titleMenuActive = 1;
    }
}
}  // namespace

u8 InitTitle(void) {
    LoadSceneWaves(TITLE_WAVES);
    LoadSceneMusic(TITLE_MUSIC);
    srand(timeGetTime());
    BuildTrigTables();
    TurnDownSceneWaves();
    PlaySceneMusic();
    return SCENE_PHASE_RUN;
}

u8 RunTitle(void) {
    LoadTitleFiles();
    ReadMenuInput();
    DrawFullScreen(TEXTURE_OPENING_BACKGROUND01);
    DrawTitleCursor(titleCursor);
    DrawRatings();
    DrawMenu();
    RunOpening();
    DrawFps(10, 10);
    StepSceneWipe(nullptr);
    if (wipeCovered == 1) {
        titleDataLoaded = 0;
        return SCENE_PHASE_EXIT;
    }
    return SCENE_PHASE_RUN;
}

u8 ExitTitle(void) {
    ReleaseSceneWaves();
    ReleaseSceneMusic();
    if (continueChosen && stageNumber > 4) {
        storyChapter = 6;
        sceneId = SCENE_PLAY;
        continueChosen = 0;
    } else if (freeMode) {
        sceneId = SCENE_PLAY;
    } else if (editChosen) {
        sceneId = SCENE_EDITOR;
    } else {
        if (!undergroundMode && !ruleMode) storyChapter = 4;
        sceneId = SCENE_STORY;
    }
    // The wipe stays up: the next scene uncovers itself.
    return SCENE_PHASE_INIT;
}

void DrawTitleDoors(u32 startPressed, u32 opening) {
    if (opening) doorOffset += 10;
    DrawSprite(TEXTURE_OPENING_BACKGROUND02, (f32)-doorOffset, 0.0f, RECT{0, 0, 320, 480});
    DrawSprite(TEXTURE_OPENING_BACKGROUND02, (f32)(320 + doorOffset), 0.0f, RECT{320, 0, 640, 480});
    // A step set from outside the sequence would index past it.
    if (promptFrameStep >= 4) promptFrameStep = 0;
    promptFrameTimer++;
    if (promptFrameTimer > (startPressed ? 3u : 10u)) {
        promptFrameStep++;
        if (promptFrameSequence[promptFrameStep] == 3) promptFrameStep = 0;
        promptFrameTimer = 0;
    }
    if (opening) return;
    i32 top = 40 * promptFrameSequence[promptFrameStep];
    DrawSprite(TEXTURE_OPENING_ST, 160.0f, 340.0f, RECT{80, top, 400, top + 40});
}

void DrawTitleCursor(u8 cursor) {
    DrawSprite(TEXTURE_OPENING_ST, 0.0f, (f32)(97 + 50 * cursor), RECT{0, 120, 400, 160});
}

void DrawStarRating(u32 seconds, int x, int y, u32 stageCount, u8 underground) {
    for (u32 i = 0; i < 5; i++) {
        u32 threshold = stageCount * (underground ? 28 : 21) + (4 - i) * 100;
        i32 top = seconds < threshold ? 0 : 40;
        DrawSprite(TEXTURE_ENDING_ST, (f32)(x + 50 * (int)i), (f32)y, RECT{0, top, 40, top + 40});
    }
}

void RegisterTitleGlobals(void) {
    REG_U8(titleCursor);
    REG_U32(titleDataLoaded);
    REG_U32(titleStartPressed);
    REG_U32(titleOpeningTimer);
    REG_U32(titleDoorsOpening);
    REG_U32(titleMenuActive);
    REG_I32(doorOffset);
    REG_U32(promptFrameTimer);
    REG_U8(promptFrameStep);
    REG_ARRAY(promptFrameSequence, GLOBAL_U8);
    REG_U32(continueChosen);
    REG_U32(editChosen);
    REG_ARRAY(sinTable, GLOBAL_I32);
    REG_ARRAY(cosTable, GLOBAL_I32);
}
