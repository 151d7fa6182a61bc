// The puzzle's rules played frame by frame: stepping and its timing, the
// trail, tiles, the clock, the ends of a stage, and the pause menu.
#include "play/menus.h"
#include "play_fixture.h"
#include "shell/registry.h"

using namespace playtest;

namespace {
const Buttons UP_RIGHT = {true, false, false, true, false, false};
const Buttons RIGHT_A = {false, false, false, true, true, false};

const char* OPEN_BOARD =
    "........"
    "........"
    "........"
    "........"
    "........"
    "........"
    "........"
    "........";

class Rules : public PlayTest {
  protected:
    void Start(const char* rows, i32 x, i32 y, u8 stageTimeClass = 0) {
        u8 cells[64];
        BoardFrom(rows, cells);
        StartOn(cells, x, y, stageTimeClass);
    }

    // Holds `held` until the player moves (at most 40 frames), then lets go
    // for a frame. Returns the frames it took.
    int Walk(const Buttons& held) {
        i32 x = playerX, y = playerY;
        for (int frame = 1; frame <= 40; frame++) {
            PlayFrame(held);
            if (playerX != x || playerY != y) {
                PlayFrame(NONE);
                return frame;
            }
        }
        PlayFrame(NONE);
        return 0;
    }

    // The play scene's order for the parts built here.
    void SceneFrame(const Buttons& held) {
        HeadlessSetTime(HeadlessTime() + 16);
        Press(held);
        RunStep();
        RunPauseInput();
        TickClock();
        RunCellRules();
        StepPauseSlide(RecordSlide);
    }

    static void RecordSlide(i32 slide, u8, u32) { slides.push_back(slide); }
    static std::vector<i32> slides;
};
std::vector<i32> Rules::slides;

TEST_F(Rules, StageStartResetsKeepTheClockReading) {
    keysTaken[2] = 1;
    trailEntry = DIRECTION_LEFT;
    warpArrived = timeUp = bonusEffect = penaltyEffect = switchEffect = stageCleared = 1;
    facing = DIRECTION_RIGHT;
    timeLeft = 23;
    walkStep = 2;
    swapSeconds = 4;
    StartStage();
    EXPECT_EQ(keysTaken[2], 0u);
    EXPECT_EQ(trailEntry, DIRECTION_NONE);
    EXPECT_EQ(warpArrived + timeUp + bonusEffect + penaltyEffect + switchEffect + stageCleared, 0u);
    EXPECT_EQ(facing, DIRECTION_UP);
    EXPECT_EQ(clockRunning, 1u);
    EXPECT_EQ(stageLoaded, 1u);
    EXPECT_EQ(timeLeft, 23u);
    EXPECT_EQ(walkStep, 2);
    EXPECT_EQ(swapSeconds, 4u);
}
TEST_F(Rules, HeldDirectionStepsOnSecondFrameThenEvery17) {
    Start(OPEN_BOARD, 0, 7);
    std::vector<int> stepFrames;
    std::vector<int> walkSteps;
    for (int frame = 1; frame <= 70; frame++) {
        i32 y = playerY;
        PlayFrame(UP);
        if (playerY != y) {
            stepFrames.push_back(frame);
            walkSteps.push_back(walkStep);
        }
    }
    EXPECT_EQ(stepFrames, (std::vector<int>{2, 19, 36, 53, 70}));
    EXPECT_EQ(walkSteps, (std::vector<int>{1, 2, 3, 0, 1}));
    EXPECT_EQ(TakeSounds(), std::vector<int>(5, PLAY_WAVE_WALK));
    EXPECT_EQ(playerY, 2);
    for (int y = 3; y <= 7; y++) {
        EXPECT_EQ(board[8 * y], TILE_WALKED) << "row " << y;
        EXPECT_EQ(trail[8 * y], TRAIL_VERTICAL) << "row " << y;
    }
    EXPECT_EQ(board[8 * 2], TILE_FLOOR);  // the cell stood on is not walked yet

    // Letting go stops the walk cycle once the step countdown allows a step.
    for (int i = 0; i < 16; i++) PlayFrame(NONE);
    EXPECT_EQ(walkStep, 1);
    PlayFrame(NONE);
    EXPECT_EQ(walkStep, 0);
}

TEST_F(Rules, RefusedStepsStillTurnButChordsAndHeldATurnNothing) {
    Start(
        "........"
        "........"
        "...#...."
        "........"
        "........"
        "........"
        "........"
        "........",
        3, 3);
    facing = DIRECTION_RIGHT;
    for (int i = 0; i < 5; i++) PlayFrame(UP);
    EXPECT_EQ(facing, DIRECTION_UP);
    EXPECT_EQ(playerY, 3);
    EXPECT_EQ(repeatDelay, 0);
    EXPECT_TRUE(TakeSounds().empty());

    PlayFrame(NONE);
    facing = DIRECTION_DOWN;
    for (int i = 0; i < 5; i++) PlayFrame(UP_RIGHT);
    PlayFrame(NONE);
    for (int i = 0; i < 5; i++) PlayFrame(RIGHT_A);
    EXPECT_EQ(facing, DIRECTION_DOWN);
    EXPECT_EQ(playerX, 3);
    EXPECT_TRUE(TakeSounds().empty());

    // Off the edge is refused the same way.
    playerX = 7;
    facing = DIRECTION_UP;
    for (int i = 0; i < 5; i++) PlayFrame(RIGHT);
    EXPECT_EQ(facing, DIRECTION_RIGHT);
    EXPECT_EQ(playerX, 7);
}

TEST_F(Rules, TrailPiecesFollowTheTurnsOfThePath) {
    Start(OPEN_BOARD, 0, 0);
    EXPECT_GT(Walk(RIGHT), 0);                // (0,0) -> (1,0)
    EXPECT_GT(Walk(DOWN), 0);                 // -> (1,1)
    EXPECT_GT(Walk(RIGHT), 0);                // -> (2,1)
    EXPECT_GT(Walk(UP), 0);                   // -> (2,0)
    EXPECT_GT(Walk(RIGHT), 0);                // -> (3,0)
    EXPECT_EQ(Walk(LEFT), 0);                 // (2,0) is walked now
    EXPECT_EQ(trail[0], TRAIL_HORIZONTAL);    // start cell, left by a step right
    EXPECT_EQ(trail[1], TRAIL_BOTTOM_LEFT);   // in from the left, out downwards
    EXPECT_EQ(trail[9], TRAIL_TOP_RIGHT);     // in from above, out to the right
    EXPECT_EQ(trail[10], TRAIL_TOP_LEFT);     // in from the left, out upwards
    EXPECT_EQ(trail[2], TRAIL_BOTTOM_RIGHT);  // in from below, out to the right
    EXPECT_EQ(trail[3], TRAIL_NONE);
    EXPECT_EQ(trailEntry, DIRECTION_RIGHT);

    u8 entry = 9;  // not a direction: the cell keeps its piece
    trail[20] = TRAIL_VERTICAL;
    LayTrail(trail, &entry, 4, 2, DIRECTION_LEFT);
    EXPECT_EQ(trail[20], TRAIL_VERTICAL);
    EXPECT_EQ(entry, DIRECTION_LEFT);
}

TEST_F(Rules, WarpsLandOnTheLastOtherWarpOfARowMajorScan) {
    u8 cells[64] = {};
    cells[5] = cells[20] = cells[40] = TILE_WARP;
    u32 seconds = 30;
    u32 keys[4] = {};
    struct Case {
        int from, to;
    } cases[] = {{40, 20}, {5, 40}, {20, 40}};
    for (const Case& c : cases) {
        i32 xy[2] = {c.from % 8, c.from / 8};
        EXPECT_EQ(ApplyTile(xy, cells, &seconds, keys, 0, 0), TILE_EVENT_WARP);
        EXPECT_EQ(xy[0] + 8 * xy[1], c.to) << "from " << c.from;
        xy[0] = c.from % 8;
        xy[1] = c.from / 8;
        EXPECT_EQ(ApplyTile(xy, cells, &seconds, keys, 0, 1), TILE_EVENT_NONE);
        EXPECT_EQ(xy[0] + 8 * xy[1], c.from) << "arrived by warp: no second jump";
    }
    u8 lone[64] = {};
    lone[27] = TILE_WARP;
    i32 xy[2] = {3, 3};
    EXPECT_EQ(ApplyTile(xy, lone, &seconds, keys, 0, 0), TILE_EVENT_WARP);
    EXPECT_EQ(xy[0], 3);
    EXPECT_EQ(xy[1], 3);
}

TEST_F(Rules, WarpTripHoldsStepsAndLeavesTheWarpsUnmarked) {
    Start(
        ".@......"
        "........"
        "........"
        "........"
        "........"
        "........"
        "......@."
        "........",
        0, 0);
    EXPECT_GT(Walk(RIGHT), 0);
    EXPECT_EQ(playerX, 6);
    EXPECT_EQ(playerY, 6);
    EXPECT_EQ(warpArrived, 1u);
    EXPECT_EQ(warpAnimating, 1u);
    EXPECT_EQ(tileEvent, TILE_EVENT_NONE);  // the warp frame's event is gone the frame after

    for (int i = 0; i < 40; i++) PlayFrame(DOWN);
    EXPECT_EQ(playerY, 6) << "no step while the warp animation runs";
    warpAnimating = 0;  // the warp drawer's job
    PlayFrame(NONE);
    EXPECT_EQ(playerX, 6) << "standing on the arrival warp does not warp back";
    EXPECT_GT(Walk(DOWN), 0);
    EXPECT_EQ(playerY, 7);
    EXPECT_EQ(board[6 + 8 * 6], TILE_WARP);
    EXPECT_EQ(trail[6 + 8 * 6], TRAIL_NONE);
    EXPECT_EQ(board[1], TILE_WARP);
    EXPECT_EQ(board[0], TILE_WALKED);
    EXPECT_EQ(warpArrived, 0u);
    EXPECT_EQ(trailEntry, DIRECTION_DOWN);
}

TEST_F(Rules, SwitchOpensEveryGateAndKeepsTheWallMask) {
    Start(
        ".s....g."
        "gggggggg"
        "........"
        "........"
        "........"
        "........"
        "........"
        "........",
        0, 0);
    EXPECT_EQ(wallMask[6], 1);
    EXPECT_GT(Walk(RIGHT), 0);
    EXPECT_EQ(switchEffect, 1u);
    for (int i = 0; i < 16; i++) EXPECT_EQ(board[i], i == 0 ? TILE_WALKED : TILE_FLOOR) << i;
    for (int i = 8; i < 16; i++) EXPECT_EQ(wallMask[i], 1) << i;
    EXPECT_EQ(TakeSounds(), (std::vector<int>{PLAY_WAVE_WALK, PLAY_WAVE_DELETE}));
}

TEST_F(Rules, TimeCellsByClassIncludingClassesOutsideTheTable) {
    struct Case {
        u8 code, timeClassOfStage;
        u32 before, after;
        u8 event;
    } cases[] = {
        {TILE_TIME_BONUS, 0, 55, 60, TILE_EVENT_BONUS},
        {TILE_TIME_BONUS, 0, 50, 60, TILE_EVENT_BONUS},
        {TILE_TIME_BONUS, 0, 12, 22, TILE_EVENT_BONUS},
        {TILE_TIME_BONUS, 1, 56, 60, TILE_EVENT_BONUS},
        {TILE_TIME_BONUS, 1, 55, 60, TILE_EVENT_BONUS},
        {TILE_TIME_BONUS, 2, 41, 60, TILE_EVENT_BONUS},
        {TILE_TIME_BONUS, 2, 30, 50, TILE_EVENT_BONUS},
        {TILE_TIME_PENALTY, 0, 9, 0, TILE_EVENT_PENALTY},
        {TILE_TIME_PENALTY, 0, 10, 0, TILE_EVENT_PENALTY},
        {TILE_TIME_PENALTY, 1, 4, 0, TILE_EVENT_PENALTY},
        {TILE_TIME_PENALTY, 1, 30, 25, TILE_EVENT_PENALTY},
        {TILE_TIME_PENALTY, 2, 19, 0, TILE_EVENT_PENALTY},
        {TILE_TIME_PENALTY, 2, 45, 25, TILE_EVENT_PENALTY},
        {TILE_TIME_BONUS, 3, 30, 30, TILE_EVENT_BONUS},
        {TILE_TIME_PENALTY, 200, 30, 30, TILE_EVENT_PENALTY},
    };
    for (const Case& c : cases) {
        u8 cells[64] = {};
        cells[9] = c.code;
        i32 xy[2] = {1, 1};
        u32 seconds = c.before;
        u32 keys[4] = {};
        EXPECT_EQ(ApplyTile(xy, cells, &seconds, keys, c.timeClassOfStage, 0), c.event);
        EXPECT_EQ(seconds, c.after) << "code " << (int)c.code << " class "
                                    << (int)c.timeClassOfStage << " from " << c.before;
        EXPECT_EQ(cells[9], TILE_FLOOR);
    }
}

TEST_F(Rules, PenaltyToZeroStartsTimeUpInTheSameFrame) {
    Start(
        ".p......"
        "........"
        "........"
        "........"
        "........"
        "........"
        "........"
        "........",
        0, 0, 2);
    timeLeft = 19;
    swapSeconds = 7;
    EXPECT_GT(Walk(RIGHT), 0);
    EXPECT_EQ(timeLeft, 0u);
    EXPECT_EQ(timeUp, 1u);
    EXPECT_EQ(clockRunning, 0u);
    EXPECT_EQ(swapSeconds, 0u);
    EXPECT_EQ(penaltyEffect, 1u);
    EXPECT_EQ(missed, 0u);
    EXPECT_EQ(TakeSounds(), (std::vector<int>{PLAY_WAVE_WALK, PLAY_WAVE_GET2}));
}

TEST_F(Rules, BonusAndPenaltyCellsTradePlacesAfterThePeriod) {
    Start(
        "bp......"
        "........"
        "........"
        "........"
        "........"
        "........"
        "........"
        "........",
        4, 4, 0);
    for (int second = 1; second <= 9; second++) {
        HeadlessSetTime(HeadlessTime() + 1000);
        PlayFrame(NONE);
    }
    EXPECT_EQ(board[0], TILE_TIME_BONUS);
    EXPECT_EQ(swapSeconds, 9u);
    HeadlessSetTime(HeadlessTime() + 1000);
    PlayFrame(NONE);
    EXPECT_EQ(board[0], TILE_TIME_PENALTY);
    EXPECT_EQ(board[1], TILE_TIME_BONUS);
    EXPECT_EQ(swapSeconds, 0u);

    u32 count = 0;
    SwapTimeTiles(board, &count, 9);  // no period: every call trades
    EXPECT_EQ(board[0], TILE_TIME_BONUS);
    SwapTimeTiles(board, &count, 9);
    EXPECT_EQ(board[0], TILE_TIME_PENALTY);
    count = 4;
    SwapTimeTiles(board, &count, 1);
    EXPECT_EQ(board[0], TILE_TIME_PENALTY);
    count = 5;
    SwapTimeTiles(board, &count, 1);
    EXPECT_EQ(board[0], TILE_TIME_BONUS);
}

TEST_F(Rules, ClockTicksAcrossATimerWrapAndOnlyWhileRunning) {
    Start(OPEN_BOARD, 4, 4);
    HeadlessSetTime(0xFFFFFE00u);
    lastTick = 0xFFFFFE00u;
    HeadlessSetTime(0x000001E7u);  // 999 ms later, past the wrap
    TickClock();
    EXPECT_EQ(timeLeft, 60u);
    HeadlessSetTime(0x000001E8u);
    TickClock();
    EXPECT_EQ(timeLeft, 59u);
    EXPECT_EQ(lastTick, 0x000001E8u);
    EXPECT_EQ(swapSeconds, 1u);
    EXPECT_EQ(courseSeconds, 1u);

    // A stopped clock keeps its last tick; it ticks at once when it runs again.
    HeadlessSetTime(0x000001E8u + 5000);
    u32* stoppers[] = {&wipeActive, &wipeCovered, &pauseClosing};
    for (u32* stopper : stoppers) {
        *stopper = 1;
        TickClock();
        *stopper = 0;
    }
    clockRunning = 0;
    TickClock();
    EXPECT_EQ(timeLeft, 59u);
    clockRunning = 1;
    TickClock();
    EXPECT_EQ(timeLeft, 58u);
    TickClock();
    EXPECT_EQ(timeLeft, 58u);
}

TEST_F(Rules, ClockBeepsFromNineDownToOneAndCountsSecondsByMode) {
    Start(OPEN_BOARD, 4, 4);
    timeLeft = 11;
    std::vector<int> beepsAt;
    for (int i = 0; i < 11; i++) {
        u32 shown = timeLeft;
        HeadlessSetTime(HeadlessTime() + 1000);
        TickClock();
        if (!TakeSounds().empty()) beepsAt.push_back((int)shown - 1);
    }
    EXPECT_EQ(beepsAt, (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(courseSeconds, 11u);

    struct Mode {
        u32 rule, underground, free;
        u32 course, deep;
    } modes[] = {{1, 0, 0, 0, 0}, {0, 1, 0, 0, 1}, {0, 0, 1, 1, 0}};
    for (const Mode& m : modes) {
        ruleMode = m.rule;
        undergroundMode = m.underground;
        freeMode = m.free;
        courseSeconds = undergroundSeconds = 0;
        timeLeft = 30;
        HeadlessSetTime(HeadlessTime() + 1000);
        TickClock();
        EXPECT_EQ(courseSeconds, m.course);
        EXPECT_EQ(undergroundSeconds, m.deep);
    }
}

TEST_F(Rules, KeysOutOfOrderAndAnEarlyGoalAreMisses) {
    Start(
        ".21....."
        "........"
        "........"
        "........"
        "........"
        "........"
        "........"
        "........",
        0, 0);
    EXPECT_GT(Walk(RIGHT), 0);
    EXPECT_EQ(keysTaken[1], 1u);
    EXPECT_EQ(missed, 1u);
    EXPECT_EQ(board[1], TILE_WALKED);

    Start(
        "1234...."
        "........"
        "........"
        "........"
        "........"
        "........"
        "........"
        "........",
        0, 0);
    missed = 0;
    PlayFrame(NONE);
    EXPECT_EQ(keysTaken[0], 1u);
    EXPECT_GT(Walk(RIGHT), 0);
    EXPECT_GT(Walk(RIGHT), 0);
    EXPECT_EQ(missed, 0u);
    EXPECT_GT(Walk(RIGHT), 0);
    EXPECT_EQ(board[3], TILE_KEY4_TAKEN);
    EXPECT_EQ(missed, 1u) << "the goal with floor left is a miss";
    EXPECT_EQ(cleared, 0u);

    u32 keys[4] = {1, 1, 0, 1};
    EXPECT_EQ(KeysInOrder(keys), 0u);
    u32 inOrder[4] = {1, 1, 1, 0};
    EXPECT_EQ(KeysInOrder(inOrder), 1u);
}

TEST_F(Rules, ClearTestCountsWallsWarpsAndTheTakenGoalAsFinished) {
    u8 done[64];
    BoardFrom(
        "wwwww@##"
        "######wk"
        "########"
        "########"
        "########"
        "########"
        "########"
        "@#######",
        done);
    done[14] = TILE_KEY4;
    EXPECT_EQ(IsStageCleared(6, 1, 1, done), 0u) << "an untaken goal is unfinished";
    done[14] = TILE_FLOOR;
    EXPECT_EQ(IsStageCleared(6, 1, 0, done), 0u);
    EXPECT_EQ(done[14], TILE_FLOOR) << "nothing is marked before the goal is taken";
    EXPECT_EQ(IsStageCleared(6, 1, 1, done), 1u);
    EXPECT_EQ(done[14], TILE_WALKED);
    done[20] = TILE_GATE;
    EXPECT_EQ(IsStageCleared(6, 1, 1, done), 0u) << "a gate left standing is unfinished";
    done[20] = 13;
    EXPECT_EQ(IsStageCleared(6, 1, 1, done), 0u) << "an unknown code is never finished";
}

TEST_F(Rules, WalkingAStageToItsGoalClearsAndStopsTheClock) {
    Start(
        "123....."
        "#######4"
        "########"
        "########"
        "########"
        "########"
        "########"
        "########",
        0, 0);
    for (int i = 0; i < 7; i++) EXPECT_GT(Walk(RIGHT), 0) << i;
    EXPECT_EQ(missed, 0u);
    EXPECT_EQ(cleared, 0u);
    EXPECT_GT(Walk(DOWN), 0);
    EXPECT_EQ(cleared, 1u);
    EXPECT_EQ(missed, 0u);
    EXPECT_EQ(clockRunning, 0u);
    EXPECT_EQ(board[7 + 8], TILE_KEY4_TAKEN);
    for (int i = 0; i < 20; i++) PlayFrame(DOWN);
    EXPECT_EQ(playerY, 1) << "no steps during the clear";
}

TEST_F(Rules, BoxedInIsAMissEvenOnTheStartCell) {
    Start(
        "........"
        "...#...."
        "..#.g..."
        "...w...."
        "........"
        "........"
        "........"
        "........",
        3, 2);
    PlayFrame(NONE);
    EXPECT_EQ(missed, 1u);
    EXPECT_EQ(board[3 + 16], TILE_WALKED);
    EXPECT_EQ(CanMoveOn(0, 0, board), 1u);
    u8 corner[64];
    BoardFrom(OPEN_BOARD, corner);
    corner[1] = TILE_WALL;
    corner[8] = TILE_WALKED;
    EXPECT_EQ(CanMoveOn(0, 0, corner), 0u) << "off-board neighbours do not count";
}

TEST_F(Rules, AStartOffTheBoardNeverReadsOutsideIt) {
    Start(OPEN_BOARD, 9, 3);
    PlayFrame(NONE);
    EXPECT_EQ(missed, 1u) << "no neighbour on the board";
    for (int i = 0; i < 64; i++) EXPECT_EQ(board[i], TILE_FLOOR);

    Start(OPEN_BOARD, 8, 3);
    missed = 0;
    PlayFrame(NONE);
    EXPECT_EQ(missed, 0u) << "(7,3) lies on the board";
    EXPECT_GT(Walk(LEFT), 0);
    EXPECT_EQ(playerX, 7);
    for (int i = 0; i < 64; i++) EXPECT_EQ(trail[i], TRAIL_NONE);

    Start(OPEN_BOARD, -1, -200);
    for (int i = 0; i < 3; i++) PlayFrame(UP);
    EXPECT_EQ(playerY, -200);
    EXPECT_EQ(missed, 1u);
}

TEST_F(Rules, UnknownTileCodesAreEnterableAndDoNothing) {
    Start(OPEN_BOARD, 0, 0);
    board[1] = 40;
    EXPECT_GT(Walk(RIGHT), 0);
    EXPECT_EQ(tileEvent, TILE_EVENT_NONE);
    EXPECT_EQ(missed, 0u);
    EXPECT_GT(Walk(RIGHT), 0);
    EXPECT_EQ(board[1], 40) << "an unknown code is not marked as walked";
}

TEST_F(Rules, PauseSlidesInStandsOpenAndSlidesOutWithTheClockStopped) {
    Start(OPEN_BOARD, 4, 4);
    slides.clear();
    SceneFrame(B);
    EXPECT_EQ(pauseOpening, 1u);
    for (int i = 0; i < 20; i++) SceneFrame(NONE);
    std::vector<i32> opening(slides.begin(), slides.begin() + 17);
    for (int i = 0; i < 17; i++) EXPECT_EQ(opening[i], 30 * i);
    EXPECT_EQ(pauseOpen, 1u);
    EXPECT_EQ(pauseOpening, 0u);
    EXPECT_EQ(clockRunning, 0u);
    u32 shown = timeLeft;
    HeadlessSetTime(HeadlessTime() + 5000);
    SceneFrame(NONE);
    EXPECT_EQ(timeLeft, shown);
    for (int i = 0; i < 5; i++) SceneFrame(UP);
    EXPECT_EQ(playerY, 4) << "no steps while paused";

    TakeSounds();
    SceneFrame(DOWN);
    EXPECT_EQ(pauseCursor, PAUSE_TO_TITLE);
    SceneFrame(NONE);
    SceneFrame(UP);  // stage select is offered in free mode only
    EXPECT_EQ(pauseCursor, PAUSE_TO_TITLE);
    SceneFrame(NONE);
    SceneFrame(RIGHT);
    EXPECT_EQ(pauseCursor, PAUSE_BACK_TO_GAME);
    EXPECT_EQ(TakeSounds(), (std::vector<int>{PLAY_WAVE_CURSOR, PLAY_WAVE_CURSOR}));

    slides.clear();
    SceneFrame(A);
    EXPECT_EQ(pauseClosing, 1u);
    EXPECT_EQ(pauseCursor, PAUSE_RETRY);
    int frames = 1;
    while (pauseClosing && frames < 40) {
        SceneFrame(NONE);
        frames++;
    }
    EXPECT_EQ(slides.size(), 18u);
    EXPECT_EQ(slides.front(), 480);
    EXPECT_EQ(slides.back(), -30);
    EXPECT_EQ(sequenceFrame, 0);
    EXPECT_EQ(clockRunning, 1u);
    EXPECT_EQ(timeLeft, shown);
    SceneFrame(NONE);
    EXPECT_EQ(timeLeft, shown - 1) << "the first running frame ticks at once";
}

TEST_F(Rules, PauseBWhileSlidingOnlySoundsAndBAtFullyOpenCloses) {
    Start(OPEN_BOARD, 4, 4);
    SceneFrame(B);
    for (int i = 0; i < 3; i++) SceneFrame(NONE);
    TakeSounds();
    i32 slide = sequenceFrame;
    SceneFrame(B);
    EXPECT_EQ(TakeSounds(), (std::vector<int>{PLAY_WAVE_RETRAY}));
    EXPECT_EQ(pauseOpening, 1u) << "a press during the slide changes nothing";
    EXPECT_EQ(sequenceFrame, slide + 30);
    while (!pauseOpen) SceneFrame(NONE);
    SceneFrame(NONE);
    EXPECT_EQ(sequenceFrame, 480);
    SceneFrame(B);
    EXPECT_EQ(TakeSounds(), (std::vector<int>{PLAY_WAVE_RETRAY}));
    EXPECT_EQ(pauseClosing, 1u);
    EXPECT_EQ(pauseOpen, 0u);
}

TEST_F(Rules, PauseChoicesRetryQuitAndStageSelect) {
    Start(OPEN_BOARD, 4, 4);
    timeLeft = 41;
    swapSeconds = 3;
    pauseOpen = 1;
    sequenceFrame = 480;
    pauseCursor = PAUSE_RETRY;
    SceneFrame(A);
    EXPECT_EQ(stageLoaded, 0u);
    EXPECT_EQ(pauseClosing, 1u);
    EXPECT_EQ(swapSeconds, 0u);
    EXPECT_EQ(timeLeft, 41u);

    Press(NONE);
    Start(OPEN_BOARD, 4, 4);
    pauseClosing = 0;
    pauseOpen = 1;
    sequenceFrame = 480;
    pauseCursor = PAUSE_TO_TITLE;
    bonusEffect = 1;
    timeLeft = 12;
    SceneFrame(A);
    EXPECT_EQ(quitToTitle, 1u);
    EXPECT_EQ(pauseOpen + pauseOpening + pauseClosing, 0u);
    EXPECT_EQ(timeLeft, 60u);
    EXPECT_EQ(bonusEffect, 0u);
    EXPECT_EQ(sequenceFrame, 0);

    // In free mode a retry goes back to the same map, straight into play.
    Press(NONE);
    Start(OPEN_BOARD, 4, 4);
    quitToTitle = 0;
    freeMode = freePlaying = 1;
    stageLoaded = 0;
    pauseOpen = 1;
    sequenceFrame = 480;
    pauseCursor = PAUSE_RETRY;
    SceneFrame(A);
    EXPECT_EQ(freeRetry, 1u);
    EXPECT_EQ(freePlaying, 0u);
    EXPECT_EQ(freeBoardLoaded, 0u);
}
}  // namespace

namespace {
TEST(PlayGlobals, EverySharedNameIsRegistered) {
    RegisterAllGlobals();
    const char* names[] = {"board",
                           "trail",
                           "wallMask",
                           "playerX",
                           "playerY",
                           "playerCell",
                           "facing",
                           "walkFrameTable",
                           "walkStep",
                           "trailEntry",
                           "repeatDelay",
                           "keysTaken",
                           "timeLeft",
                           "clockRunning",
                           "lastTick",
                           "swapSeconds",
                           "timeClass",
                           "tileEvent",
                           "warpArrived",
                           "warpAnimating",
                           "bonusEffect",
                           "penaltyEffect",
                           "switchEffect",
                           "stageLoaded",
                           "introDone",
                           "missed",
                           "timeUp",
                           "cleared",
                           "clearExit",
                           "playerGone",
                           "finalClear",
                           "stageCleared",
                           "sequenceFrame",
                           "pauseOpening",
                           "pauseOpen",
                           "pauseClosing",
                           "pauseCursor",
                           "quitToTitle",
                           "freeSelecting",
                           "freePlaying",
                           "freeRetry",
                           "freeBoardLoaded",
                           "freeSource",
                           "undergroundMode",
                           "ruleMode",
                           "freeMode",
                           "stageNumber",
                           "storyChapter",
                           "courseSeconds",
                           "undergroundSeconds",
                           "courseCleared",
                           "extrasUnlocked",
                           "undergroundCleared",
                           "undergroundBest",
                           "bestCourse.totalSeconds",
                           "bestCourse.hours",
                           "bestCourse.minutes",
                           "bestCourse.seconds",
                           "bestUnderground.totalSeconds",
                           "bestUnderground.seconds"};
    for (const char* name : names) {
        int element = -1;
        EXPECT_NE(FindGlobal(name, &element), nullptr) << name;
    }
    int element = -1;
    const GlobalEntry* y = FindGlobal("playerY", &element);
    ASSERT_NE(y, nullptr);
    EXPECT_EQ(y->address, (void*)&playerPosition[1]) << "y follows x in memory";
    const GlobalEntry* keys = FindGlobal("keysTaken", &element);
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->count, 4u);
}
}  // namespace

#ifdef OSSMIRE_GAME_DIR
#include <sys/stat.h>

#include "solver/solver.h"

namespace {
// The warp beam's timing as the play field's drawer keeps it: its end is the
// only drawing that gates the rules.
struct WarpBeam {
    u32 phase;
    i32 offset;
};

void StepWarpBeam(WarpBeam* beam) {
    if (!warpArrived) {
        *beam = WarpBeam{0, 0};
        return;
    }
    if (!warpAnimating) return;
    if (beam->phase == 0 && 40 * playerY + 80 - beam->offset > -150) {
        beam->offset += 30;
        return;
    }
    beam->phase = 1;
    if (beam->offset > 0) beam->offset -= 30;
    if (beam->offset == 0) warpAnimating = 0;
}

Buttons Holding(char letter) {
    Buttons held = NONE;
    held.up = letter == 'U';
    held.down = letter == 'D';
    held.left = letter == 'L';
    held.right = letter == 'R';
    return held;
}

class StageReplay : public PlayTest {
  protected:
    // Sets the stage up as the play scene does, the first direction already
    // held through the stage-start sequence, then plays `moves` holding each
    // direction until it steps. Returns a description of how it ended.
    std::string Replay(const char* moves) {
        SetUpStage(board, wallMask, trail, &timeClass, playerPosition);
        introDone = 1;
        missed = cleared = timeUp = warpAnimating = 0;
        repeatDelay = 0;
        timeLeft = STAGE_SECONDS;
        swapSeconds = 0;
        StartStage();
        lastTick = HeadlessTime() - 1000;
        Press(Holding(moves[0]));
        Press(Holding(moves[0]));
        WarpBeam beam = {0, 0};
        for (const char* move = moves; *move; move++) {
            i32 x = playerX, y = playerY;
            int frames = 0;
            while (playerX == x && playerY == y && !missed && !timeUp && frames++ < 400) {
                HeadlessSetTime(HeadlessTime() + 16);
                Press(Holding(*move));
                RunStep();
                TickClock();
                RunCellRules();
                StepWarpBeam(&beam);
            }
            if (missed || timeUp || frames >= 400) {
                char where[96];
                snprintf(where, sizeof where, "stuck at move %d (%c): missed %u timeUp %u",
                         (int)(move - moves), *move, missed, timeUp);
                return where;
            }
        }
        return cleared ? "cleared" : "moves ran out";
    }
};

TEST_F(StageReplay, EverySolverSolutionClearsItsStageThroughTheRules) {
    ASSERT_EQ(chdir(OSSMIRE_GAME_DIR), 0);
    struct stat st;
    if (stat("data.vrk", &st) != 0 || st.st_size < (off_t)GAME_DATA_BYTES) {
        ASSERT_EQ(chdir(dir), 0);
        GTEST_SKIP() << "no data.vrk built";
    }
    LoadGameData();
    ASSERT_EQ(chdir(dir), 0);
    struct Course {
        u32 underground, rule, count;
    } courses[] = {{0, 0, COURSE_STAGES}, {1, 0, UNDERGROUND_STAGES}, {0, 1, RULE_STAGES}};
    for (const Course& course : courses) {
        for (u32 n = 0; n < course.count; n++) {
            undergroundMode = course.underground;
            ruleMode = course.rule;
            stageNumber = n;
            SetUpStage(board, wallMask, trail, &timeClass, playerPosition);
            solver::Stage stage;
            memcpy(stage.cells, board, 64);
            stage.startX = playerX;
            stage.startY = playerY;
            stage.timeClass = timeClass;
            solver::SolveResult result;
            solver::SolveStage(stage, solver::DefaultSolveOptions(), &result);
            ASSERT_TRUE(result.solvable)
                << "course " << course.underground << course.rule << " stage " << n;
            EXPECT_EQ(Replay(result.moves), "cleared")
                << "course " << course.underground << course.rule << " stage " << n << " "
                << result.moves;
        }
    }
}
}  // namespace
#endif
