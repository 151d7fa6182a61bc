// The puzzle's rules, frame by frame, for tools that must judge a stage the
// way the game plays it. Kept apart from the game's own play module so the
// tools build on their own; the names and order of the rules mirror it.
#pragma once
#include "solver/stage.h"

namespace solver {

const int FRAME_MS = 16;
const int STEP_FRAMES = 17;

enum Outcome { OUTCOME_PLAYING, OUTCOME_CLEARED, OUTCOME_MISSED, OUTCOME_TIME_UP };

// Everything a frame of play reads or writes, all for one stage attempt.
struct PlayState {
    u8 board[64];
    i32 playerX, playerY;
    u32 keysTaken[4];
    u32 timeLeft;
    u32 swapSeconds;
    u8 timeClass;
    u32 warpArrived, warpAnimating;
    u32 beamPhase;  // the warp beam's drawer state decides how long it runs
    i32 beamOffset;
    i32 repeatDelay;
    u32 frame;  // frames since the stage was set up
    u32 lastTickMs;
    u32 ticks;       // clock ticks so far: the seconds the stage costs
    u32 lowestTime;  // lowest clock reading seen
};

void StartStage(const Stage& stage, PlayState* state);

void MarkWalked(int x, int y, u8* board);
u8 ApplyTile(i32* playerXY, u8* board, u32* timeLeft, u32* keysTaken, u8 timeClass,
             u32 warpArrived);
void SwapTimeTiles(u8* board, u32* swapSeconds, u8 timeClass);
int KeysInOrder(const u32* keysTaken);
int CanMoveOn(int x, int y, const u8* board);
int IsStageCleared(int x, int y, u32 key4Taken, u8* board);

// 1 when a step in `direction` would be taken this frame (the game also asks
// that no other direction be held, which a replay never does).
int CanStepNow(const PlayState& state);
int StepBlocked(const PlayState& state, int direction);
// One frame: the held direction (or -1) steps if it may, then the clock and
// the cell rules run. Returns how the frame ended.
Outcome RunFrame(PlayState* state, int direction);

// Direction of a move letter U, D, L, R; -1 for anything else.
int DirectionOfLetter(char letter);
extern const char DIRECTION_LETTERS[4];

}  // namespace solver
