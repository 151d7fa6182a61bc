// The play state: the board being played, the player, the stage clock, the
// play scene's sequence and menu flags, and the modes and progress that the
// other scenes and the save files share.
#pragma once
#include "base/common.h"
#include "play/tiles.h"

struct StartCell;

// `pauseCursor` values.
enum : u8 {
    PAUSE_RETRY = 0,
    PAUSE_BACK_TO_GAME = 1,
    PAUSE_TO_TITLE = 2,
    PAUSE_STAGE_SELECT = 3,
};

// `freeSource` values.
enum : u8 {
    FREE_SOURCE_COURSE = 0,
    FREE_SOURCE_UNDERGROUND = 1,
    FREE_SOURCE_OWN_MAPS = 2,
};

// The play scene's effect slots (`waveBuffers` indices).
enum : u8 {
    PLAY_WAVE_WALK = 0,
    PLAY_WAVE_MISS = 1,
    PLAY_WAVE_DELETE = 2,
    PLAY_WAVE_CURSOR = 3,
    PLAY_WAVE_RETRAY = 4,
    PLAY_WAVE_GET = 5,
    PLAY_WAVE_GET2 = 6,
    PLAY_WAVE_OHMYGOD = 7,
    PLAY_WAVE_FLASH = 8,
    PLAY_WAVE_START = 9,
    PLAY_WAVE_LETSGO = 10,
    PLAY_WAVE_CHECKITOUT = 11,
    PLAY_WAVE_ALLCLEAR = 12,
    PLAY_WAVE_COUNT = 13,
};

// Board, trail and player.
extern u8 board[BOARD_CELL_COUNT];
extern u8 trail[BOARD_CELL_COUNT];
extern u8 wallMask[BOARD_CELL_COUNT];
// The player's cell as one pair, so loaders can fill x and y through one pointer.
extern i32 playerPosition[2];
extern i32& playerX;
extern i32& playerY;
extern u32 playerCell;
extern u8 facing;
extern u8 walkFrameTable[5];
extern u8 walkStep;
extern u8 trailEntry;
extern i32 repeatDelay;
extern u32 keysTaken[4];
extern u32 timeLeft;
extern u32 clockRunning;
extern u32 lastTick;
extern u32 swapSeconds;
extern u8 timeClass;
extern u8 tileEvent;
extern u32 warpArrived;
extern u32 warpAnimating;
extern u32 bonusEffect;
extern u32 penaltyEffect;
extern u32 switchEffect;

// Sequences and menus of the play scene.
extern u32 stageLoaded;
extern u32 introDone;
extern u32 missed;
extern u32 timeUp;
extern u32 cleared;
extern u32 clearExit;
extern u32 playerGone;
extern u32 finalClear;
extern u32 stageCleared;
extern i32 sequenceFrame;
extern u32 pauseOpening;
extern u32 pauseOpen;
extern u32 pauseClosing;
extern u8 pauseCursor;
extern u32 quitToTitle;
extern u32 freeSelecting;
extern u32 freePlaying;
extern u32 freeRetry;
extern u32 freeBoardLoaded;
extern u8 freeSource;

// Modes and progress.
extern u32 undergroundMode;
extern u32 ruleMode;
extern u32 freeMode;
extern u32 stageNumber;
extern u32 storyChapter;
extern u32 courseSeconds;
extern u32 undergroundSeconds;
extern u32 courseCleared;
extern u32 extrasUnlocked;
extern u32 undergroundCleared;
extern u32 undergroundBest;

// Copies the stage `stageNumber` of the current mode (course, underground or
// rule) into the targets; course stages 0, 10 and 20 save the progress first.
void SetUpStage(u8* boardOut, u8* wallMaskOut, u8* trailOut, u8* timeClassOut, i32* playerXY);
// The resets that follow SetUpStage when a stage begins; the clock starts.
void StartStage(void);
// Free mode: the chosen map into the board, with the stage-start resets; a
// retry goes straight back into play.
void LoadFreeBoard(void);
// Start cell, board and time class of entry `stageNumber` of a stage table;
// a number past the end of the table leaves the targets as they were.
void CopyTableStage(const StartCell* starts, const u8 (*maps)[64], const u8* classes, u32 count,
                    u8* boardOut, u8* timeClassOut, i32* playerXY);
// trail = 0 everywhere; wallMask marks the removable walls of the new board.
void ResetBoardLayers(const u8* boardIn, u8* wallMaskOut, u8* trailOut);

void RegisterPlayStateGlobals(void);
