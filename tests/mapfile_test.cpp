// Own map files byte for byte, their refusal of short and garbage files, the
// free-mode loader's three sources, and the free-mode selection.
#include "editor/mapfile.h"

#include <sys/stat.h>

#include "play/menus.h"
#include "play_fixture.h"

using namespace playtest;

namespace {
class MapFiles : public PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        ASSERT_EQ(mkdir("EditMap", 0755), 0);
    }

    // A map file of number n whose board is all `code`.
    void MakeMap(u32 n, u8 code) {
        u32 saved = stageNumber;
        stageNumber = n;
        u8 cells[64];
        memset(cells, code, sizeof cells);
        SaveMap(cells, 1, 3, 4);
        stageNumber = saved;
    }

    void Load(u32 source = FREE_SOURCE_OWN_MAPS) {
        LoadFreeMap(board, wallMask, trail, &timeClass, playerPosition, source);
    }

    void SelectFrame(const Buttons& held) {
        Press(held);
        RunFreeModeEntry();
        RunFreeSelectInput();
    }

    // Taps `held` `times` times, each followed by a frame let go.
    void Tap(const Buttons& held, int times = 1) {
        for (int i = 0; i < times; i++) {
            SelectFrame(held);
            SelectFrame(NONE);
        }
    }
};

TEST_F(MapFiles, SavedMapIsSeventyThreeBytesInThreeParts) {
    u8 cells[64];
    for (int i = 0; i < 64; i++) cells[i] = (u8)(i % 13);
    stageNumber = 3;
    SaveMap(cells, 0, -2, 0x01020304);
    std::vector<u8> expected(cells, cells + 64);
    for (u8 b : {0, 0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1}) expected.push_back(b);
    EXPECT_EQ(ReadAll("EditMap/map_03.map"), expected);

    char name[64];
    MapFileName(123, name, sizeof name);
    EXPECT_STREQ(name, "EditMap\\map_123.map");
    stageNumber = 4;
    EXPECT_EQ(MapFileExists() + MapFileExists(), 0u) << "the probe must leave no file behind";
    stageNumber = 3;
    EXPECT_EQ(MapFileExists(), 1u);
    EXPECT_EQ(NewMessages(), 0);
}

TEST_F(MapFiles, LoadingReadsTheFileAndRebuildsTheLayersAMissingOneChangesNothing) {
    u8 cells[64] = {};
    cells[10] = cells[20] = TILE_GATE;
    cells[40] = 77;  // loaded as it is
    stageNumber = 5;
    SaveMap(cells, 9, -3, 12);
    memset(trail, TRAIL_HORIZONTAL, sizeof trail);
    Load();
    EXPECT_EQ(std::vector<u8>(board, board + 64), std::vector<u8>(cells, cells + 64));
    EXPECT_EQ(timeClass, 9);
    EXPECT_EQ(playerX, -3);
    EXPECT_EQ(playerY, 12);
    for (int i = 0; i < 64; i++) {
        EXPECT_EQ(wallMask[i], i == 10 || i == 20) << i;
        EXPECT_EQ(trail[i], TRAIL_NONE) << i;
    }

    stageNumber = 42;
    trail[1] = TRAIL_VERTICAL;
    Load();
    EXPECT_EQ(trail[1], TRAIL_NONE);
    EXPECT_EQ(NewMessages(), 1);
    EXPECT_STREQ(HeadlessLastMessage(), "ファイルロード失敗");
    EXPECT_EQ(board[40], 77);
    EXPECT_EQ(playerX, -3);
    EXPECT_EQ(timeClass, 9);
    trail[1] = TRAIL_VERTICAL;
    struct stat st;
    EXPECT_NE(stat("EditMap/map_42.map", &st), 0) << "loading creates no file";

    // An unknown source, or a number past the table, leaves everything alone.
    Load(3);
    EXPECT_EQ(trail[1], TRAIL_VERTICAL);
    stageNumber = 60;
    Load(FREE_SOURCE_UNDERGROUND);
    EXPECT_EQ(board[40], 77);
}

TEST_F(MapFiles, ShortFilesFillWhatTheyCoverAndLongOnesStopAtSeventyThree) {
    memset(board, TILE_WALL, sizeof board);
    timeClass = 2;
    playerX = 0x11223344;
    playerY = 6;
    std::vector<u8> partial(67, TILE_FLOOR);
    partial[64] = 1;
    partial[65] = 5;
    partial[66] = 0;
    WriteAll("EditMap/map_00.map", partial);
    Load();
    EXPECT_EQ(board[63], TILE_FLOOR);
    EXPECT_EQ(timeClass, 1);
    EXPECT_EQ(playerX, 0x11220005) << "two of x's four bytes were present";
    EXPECT_EQ(playerY, 6);

    WriteAll("EditMap/map_00.map", std::vector<u8>(4096, 0xEE));
    Load();
    EXPECT_EQ(board[0], 0xEE);
    EXPECT_EQ(timeClass, 0xEE);
    EXPECT_EQ(playerX, (i32)0xEEEEEEEEu);
    EXPECT_EQ(NewMessages(), 0);
}

TEST_F(MapFiles, SelectionCyclesSourcesOnlyWithExtrasAndKeepsToEachSourcesBounds) {
    freeMode = 1;
    SelectFrame(NONE);
    EXPECT_EQ(freeSelecting, 1u);
    EXPECT_EQ(freeBoardLoaded, 1u);
    Tap(UP);
    Tap(DOWN);
    EXPECT_EQ(freeSource, FREE_SOURCE_COURSE) << "locked without extras";
    EXPECT_TRUE(TakeSounds().empty());

    extrasUnlocked = 1;
    stageNumber = 12;
    Tap(UP);  // no map 00: course -> underground
    EXPECT_EQ(freeSource, FREE_SOURCE_UNDERGROUND);
    EXPECT_EQ(stageNumber, 0u);
    Tap(DOWN);
    EXPECT_EQ(freeSource, FREE_SOURCE_COURSE);

    MakeMap(0, TILE_WALL);
    Tap(UP);
    EXPECT_EQ(freeSource, FREE_SOURCE_OWN_MAPS);
    EXPECT_EQ(board[0], TILE_WALL) << "the preview follows the choice";
    Tap(UP);
    EXPECT_EQ(freeSource, FREE_SOURCE_UNDERGROUND);
    Tap(DOWN, 2);
    EXPECT_EQ(freeSource, FREE_SOURCE_COURSE);
    EXPECT_EQ(TakeSounds(), std::vector<int>(6, PLAY_WAVE_CURSOR));

    // The bounds of each source.
    Tap(RIGHT, 40);
    EXPECT_EQ(stageNumber, 29u);
    Tap(LEFT, 40);
    EXPECT_EQ(stageNumber, 0u);

    freeSource = FREE_SOURCE_UNDERGROUND;
    undergroundBest = 0;
    Tap(RIGHT);
    EXPECT_EQ(stageNumber, 0u);
    undergroundBest = 2;
    Tap(RIGHT, 5);
    EXPECT_EQ(stageNumber, 2u);

    MakeMap(0, TILE_WALL);
    MakeMap(1, TILE_GATE);
    MakeMap(3, TILE_SWITCH);
    freeSource = FREE_SOURCE_OWN_MAPS;
    stageNumber = 0;
    Tap(RIGHT, 3);
    EXPECT_EQ(stageNumber, 1u) << "the gap at 02 stops the count";
    EXPECT_EQ(board[0], TILE_GATE);
    EXPECT_EQ(NewMessages(), 0);
}

}  // namespace
