// The puzzle's rules played frame by frame: stepping, the trail, tiles, the
// clock and the ends of a stage.
#include "play_fixture.h"

using namespace playtest;

namespace {
const Buttons UP_RIGHT = {true, false, false, true, false, false};
const Buttons RIGHT_A = {false, false, false, true, true, false};
const char* OPEN = "";  // all floor

class Rules : public PlayTest {
  protected:
    void Start(const char* rows, i32 x, i32 y, u8 stageTimeClass = 0) {
        u8 cells[64] = {};
        BoardFrom(rows, cells);
        StartOn(cells, x, y, stageTimeClass);
        missed = cleared = 0;
    }

    // Holds `held` until the player moves (at most 40 frames), then lets go
    // for a frame. Returns whether a step came.
    bool Walk(const Buttons& held) {
        i32 x = playerX, y = playerY;
        for (int frame = 1; frame <= 40 && playerX == x && playerY == y; frame++) PlayFrame(held);
        PlayFrame(NONE);
        return playerX != x || playerY != y;
    }
};

TEST_F(Rules, RefusedStepsStillTurnButChordsAndHeldATurnNothing) {
    Start("........|........|...#....", 3, 3);
    facing = DIRECTION_RIGHT;
    for (int i = 0; i < 5; i++) PlayFrame(UP);
    EXPECT_EQ(facing, DIRECTION_UP);
    EXPECT_EQ(playerY, 3);
    EXPECT_EQ(repeatDelay, 0);
    PlayFrame(NONE);
    facing = DIRECTION_DOWN;
    for (int i = 0; i < 5; i++) PlayFrame(UP_RIGHT);
    PlayFrame(NONE);
    for (int i = 0; i < 5; i++) PlayFrame(RIGHT_A);
    EXPECT_EQ(facing, DIRECTION_DOWN);
    EXPECT_EQ(playerX, 3);
    EXPECT_TRUE(TakeSounds().empty());
    playerX = 7;  // the board's edge refuses the same way
    for (int i = 0; i < 5; i++) PlayFrame(RIGHT);
    EXPECT_EQ(facing, DIRECTION_RIGHT);
    EXPECT_EQ(playerX, 7);
}

TEST_F(Rules, TrailPiecesFollowTheTurnsOfThePath) {
    Start(OPEN, 0, 0);
    for (const Buttons& b : {RIGHT, DOWN, RIGHT, UP, RIGHT}) EXPECT_TRUE(Walk(b));
    EXPECT_FALSE(Walk(LEFT)) << "(2,0) is walked now";
    EXPECT_EQ(trail[0], TRAIL_HORIZONTAL);    // start cell, left by a step right
    EXPECT_EQ(trail[1], TRAIL_BOTTOM_LEFT);   // in from the left, out downwards
    EXPECT_EQ(trail[9], TRAIL_TOP_RIGHT);     // in from above, out to the right
    EXPECT_EQ(trail[10], TRAIL_TOP_LEFT);     // in from the left, out upwards
    EXPECT_EQ(trail[2], TRAIL_BOTTOM_RIGHT);  // in from below, out to the right
    EXPECT_EQ(trail[3], TRAIL_NONE);
    EXPECT_EQ(trailEntry, DIRECTION_RIGHT);
}

TEST_F(Rules, WarpsLandOnTheLastOtherWarpOfARowMajorScan) {
    u8 cells[64] = {};
    cells[5] = cells[20] = cells[40] = TILE_WARP;
    u32 seconds = 30, keys[4] = {};
    for (auto [from, to] : {std::pair{40, 20}, {5, 40}, {20, 40}}) {
        i32 xy[2] = {from % 8, from / 8};
        EXPECT_EQ(ApplyTile(xy, cells, &seconds, keys, 0, 0), TILE_EVENT_WARP);
        EXPECT_EQ(xy[0] + 8 * xy[1], to) << "from " << from;
        xy[0] = from % 8, xy[1] = from / 8;
        EXPECT_EQ(ApplyTile(xy, cells, &seconds, keys, 0, 1), TILE_EVENT_NONE);
        EXPECT_EQ(xy[0] + 8 * xy[1], from) << "arrived by warp: no second jump";
    }
    u8 lone[64] = {};
    lone[27] = TILE_WARP;
    i32 xy[2] = {3, 3};
    EXPECT_EQ(ApplyTile(xy, lone, &seconds, keys, 0, 0), TILE_EVENT_WARP);
    EXPECT_EQ(xy[0] + 8 * xy[1], 27);
}

TEST_F(Rules, WarpTripHoldsStepsAndLeavesTheWarpsUnmarked) {
    Start(".@......|........|........|........|........|........|......@.", 0, 0);
    EXPECT_TRUE(Walk(RIGHT));
    EXPECT_EQ(playerX + 8 * playerY, 6 + 8 * 6);
    EXPECT_EQ(warpArrived + warpAnimating, 2u);
    for (int i = 0; i < 40; i++) PlayFrame(DOWN);
    EXPECT_EQ(playerY, 6) << "no step while the warp animation runs";
    warpAnimating = 0;  // the warp drawer's job
    PlayFrame(NONE);
    EXPECT_EQ(playerX, 6) << "standing on the arrival warp does not warp back";
    EXPECT_TRUE(Walk(DOWN));
    EXPECT_EQ(board[6 + 8 * 6], TILE_WARP);
    EXPECT_EQ(trail[6 + 8 * 6], TRAIL_NONE);
    EXPECT_EQ(board[1], TILE_WARP);
    EXPECT_EQ(board[0], TILE_WALKED);
    EXPECT_EQ(warpArrived, 0u);
    EXPECT_EQ(trailEntry, DIRECTION_DOWN);
}

TEST_F(Rules, SwitchOpensEveryGateAndKeepsTheWallMask) {
    Start(".s....g.|gggggggg", 0, 0);
    EXPECT_TRUE(Walk(RIGHT));
    EXPECT_EQ(switchEffect, 1u);
    for (int i = 1; i < 16; i++) EXPECT_EQ(board[i], TILE_FLOOR) << i;
    for (int i = 8; i < 16; i++) EXPECT_EQ(wallMask[i], 1) << i;
    EXPECT_EQ(TakeSounds(), (std::vector<int>{PLAY_WAVE_WALK, PLAY_WAVE_DELETE}));
}

TEST_F(Rules, TimeCellsByClassIncludingClassesOutsideTheTable) {
    struct Case {
        u8 code, stageClass;
        u32 before, after;
    } cases[] = {{3, 0, 55, 60}, {3, 0, 50, 60}, {3, 0, 12, 22}, {3, 1, 56, 60}, {3, 1, 55, 60},
                 {3, 2, 41, 60}, {3, 2, 30, 50}, {4, 0, 9, 0},   {4, 0, 10, 0},  {4, 1, 4, 0},
                 {4, 1, 30, 25}, {4, 2, 19, 0},  {4, 2, 45, 25}, {3, 3, 30, 30}, {4, 200, 30, 30}};
    for (const Case& c : cases) {
        u8 cells[64] = {};
        cells[9] = c.code;
        i32 xy[2] = {1, 1};
        u32 seconds = c.before, keys[4] = {};
        u8 event = c.code == TILE_TIME_BONUS ? TILE_EVENT_BONUS : TILE_EVENT_PENALTY;
        EXPECT_EQ(ApplyTile(xy, cells, &seconds, keys, c.stageClass, 0), event);
        EXPECT_EQ(seconds, c.after)
            << (int)c.code << " class " << (int)c.stageClass << " from " << c.before;
        EXPECT_EQ(cells[9], TILE_FLOOR);
    }
}

TEST_F(Rules, PenaltyToZeroStartsTimeUpInTheSameFrame) {
    Start(".p", 0, 0, 2);
    timeLeft = 19;
    swapSeconds = 7;
    EXPECT_TRUE(Walk(RIGHT));
    EXPECT_EQ(timeLeft, 0u);
    EXPECT_EQ(timeUp + penaltyEffect, 2u);
    EXPECT_EQ(clockRunning + swapSeconds + missed, 0u);
    EXPECT_EQ(TakeSounds(), (std::vector<int>{PLAY_WAVE_WALK, PLAY_WAVE_GET2}));
}

TEST_F(Rules, BonusAndPenaltyCellsTradePlacesAfterThePeriod) {
    Start("bp", 4, 4, 0);
    for (int second = 1; second <= 10; second++) {
        EXPECT_EQ(board[0], TILE_TIME_BONUS) << second;
        HeadlessSetTime(HeadlessTime() + 1000);
        PlayFrame(NONE);
    }
    EXPECT_EQ(board[0] * 10 + board[1], TILE_TIME_PENALTY * 10 + TILE_TIME_BONUS);
    EXPECT_EQ(swapSeconds, 0u);
}

TEST_F(Rules, ClockTicksAcrossATimerWrapAndOnlyWhileRunning) {
    Start(OPEN, 4, 4);
    lastTick = 0xFFFFFE00u;
    HeadlessSetTime(0x000001E7u);  // 999 ms later, past the wrap
    TickClock();
    EXPECT_EQ(timeLeft, 60u);
    HeadlessSetTime(0x000001E8u);
    TickClock();
    EXPECT_EQ(timeLeft, 59u);
    EXPECT_EQ(lastTick, 0x000001E8u);
    EXPECT_EQ(swapSeconds + courseSeconds, 2u);
    // A stopped clock keeps its last tick; it ticks at once when it runs again.
    HeadlessSetTime(0x000001E8u + 5000);
    for (u32* stopper : {&wipeActive, &wipeCovered, &pauseClosing}) {
        *stopper = 1;
        TickClock();
        *stopper = 0;
    }
    clockRunning = 0;
    TickClock();
    EXPECT_EQ(timeLeft, 59u);
    clockRunning = 1;
    TickClock();
    TickClock();
    EXPECT_EQ(timeLeft, 58u);
}

TEST_F(Rules, ClockBeepsFromNineDownToOneAndCountsSecondsByMode) {
    Start(OPEN, 4, 4);
    timeLeft = 11;
    std::vector<int> beepsAt;
    for (int i = 0; i < 11; i++) {
        HeadlessSetTime(HeadlessTime() + 1000);
        TickClock();
        if (!TakeSounds().empty()) beepsAt.push_back((int)timeLeft);
    }
    EXPECT_EQ(beepsAt, (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
    struct Mode {
        u32 rule, underground, free, course, deep;
    } modes[] = {{1, 0, 0, 0, 0}, {0, 1, 0, 0, 1}, {0, 0, 1, 1, 0}};
    for (const Mode& m : modes) {
        ruleMode = m.rule, undergroundMode = m.underground, freeMode = m.free;
        courseSeconds = undergroundSeconds = 0;
        timeLeft = 30;
        HeadlessSetTime(HeadlessTime() + 1000);
        TickClock();
        EXPECT_EQ(courseSeconds, m.course);
        EXPECT_EQ(undergroundSeconds, m.deep);
    }
}

TEST_F(Rules, KeysOutOfOrderAndAnEarlyGoalAreMisses) {
    const struct {
        u32 keys[4], inOrder;
    } orders[] = {{{1, 1, 1, 1}, 1},
                  {{1, 0, 0, 0}, 1},
                  {{0, 1, 0, 0}, 0},
                  {{1, 0, 1, 0}, 0},
                  {{1, 1, 0, 1}, 0}};
    for (const auto& o : orders) EXPECT_EQ(KeysInOrder(o.keys), o.inOrder) << o.keys[3];
    Start(".21", 0, 0);
    EXPECT_TRUE(Walk(RIGHT));
    EXPECT_EQ(keysTaken[1] + missed, 2u);
    EXPECT_EQ(board[1], TILE_WALKED);

    Start("1234", 0, 0);
    for (int i = 0; i < 2; i++) EXPECT_TRUE(Walk(RIGHT));
    EXPECT_EQ(missed, 0u);
    EXPECT_TRUE(Walk(RIGHT));
    EXPECT_EQ(board[3], TILE_KEY4_TAKEN);
    EXPECT_EQ(missed, 1u) << "the goal with floor left is a miss";
    EXPECT_EQ(cleared, 0u);
}

TEST_F(Rules, AStageIsClearedOnlyByTheGoalWithNoFloorLeft) {
    u8 done[64];
    BoardFrom("wwwww@##|######.k|########|########|########|########|########|@#######", done);
    EXPECT_EQ(IsStageCleared(6, 1, 0, done), 0u);
    EXPECT_EQ(done[14], TILE_FLOOR) << "nothing is marked before the goal is taken";
    EXPECT_EQ(IsStageCleared(6, 1, 1, done), 1u);
    EXPECT_EQ(done[14], TILE_WALKED);
    for (u8 unfinished : {(u8)TILE_GATE, (u8)TILE_KEY4, (u8)13}) {
        done[20] = unfinished;
        EXPECT_EQ(IsStageCleared(6, 1, 1, done), 0u) << (int)unfinished;
    }
}

TEST_F(Rules, BoxedInIsAMissEvenOnTheStartCell) {
    Start("........|...#....|..#.g...|...w....", 3, 2);
    PlayFrame(NONE);
    EXPECT_EQ(missed, 1u);
    EXPECT_EQ(board[3 + 16], TILE_WALKED);
    u8 corner[64] = {};
    corner[1] = TILE_WALL;
    corner[8] = TILE_WALKED;
    EXPECT_EQ(CanMoveOn(0, 0, corner), 0u) << "off-board neighbours do not count";
}

}  // namespace
