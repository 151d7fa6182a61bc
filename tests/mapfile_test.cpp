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

    void SelectFrame(const Buttons& held) {
        Press(held);
        RunFreeModeEntry();
        RunFreeSelectInput();
    }
};

TEST_F(MapFiles, SavedMapIsSeventyThreeBytesInThreeParts) {
    u8 cells[64];
    for (int i = 0; i < 64; i++) cells[i] = (u8)(i % 13);
    stageNumber = 3;
    SaveMap(cells, 2, 7, 7);
    std::vector<u8> bytes = ReadAll("EditMap/map_03.map");
    ASSERT_EQ(bytes.size(), MAP_FILE_BYTES);
    EXPECT_EQ(std::vector<u8>(bytes.begin(), bytes.begin() + 64),
              std::vector<u8>(cells, cells + 64));
    EXPECT_EQ(bytes[64], 2);
    EXPECT_EQ(std::vector<u8>(bytes.begin() + 65, bytes.end()),
              (std::vector<u8>{7, 0, 0, 0, 7, 0, 0, 0}));

    SaveMap(cells, 0, -2, 0x01020304);
    bytes = ReadAll("EditMap/map_03.map");
    EXPECT_EQ(std::vector<u8>(bytes.begin() + 65, bytes.end()),
              (std::vector<u8>{0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1}));

    char name[64];
    MapFileName(123, name, sizeof name);
    EXPECT_STREQ(name, "EditMap\\map_123.map");

    stageNumber = 4;
    EXPECT_EQ(MapFileExists(), 0u);
    EXPECT_EQ(MapFileExists(), 0u) << "the probe must not leave a file behind";
    stageNumber = 3;
    EXPECT_EQ(MapFileExists(), 1u);
    EXPECT_EQ(NewMessages(), 0);
}

TEST_F(MapFiles, SavingWithoutTheDirectoryReportsAndWritesNothing) {
    ASSERT_EQ(rmdir("EditMap"), 0);
    u8 cells[64] = {};
    SaveMap(cells, 0, 0, 0);
    EXPECT_EQ(NewMessages(), 1);
    EXPECT_STREQ(HeadlessLastMessage(), "セーブ失敗");
    EXPECT_NE(TraceSoFar().find("caption=\"\""), std::string::npos);
    EXPECT_EQ(ReadAll("EditMap/map_00.map").size(), 0u);
}

TEST_F(MapFiles, LoadingReadsTheFileAndRebuildsTheLayers) {
    u8 cells[64] = {};
    cells[10] = cells[20] = cells[30] = TILE_GATE;
    cells[40] = 77;  // loaded as it is
    stageNumber = 5;
    SaveMap(cells, 9, -3, 12);
    memset(trail, TRAIL_HORIZONTAL, sizeof trail);
    LoadFreeMap(board, wallMask, trail, &timeClass, playerPosition, FREE_SOURCE_OWN_MAPS);
    EXPECT_EQ(board[40], 77);
    EXPECT_EQ(timeClass, 9);
    EXPECT_EQ(playerX, -3);
    EXPECT_EQ(playerY, 12);
    int walls = 0;
    for (int i = 0; i < 64; i++) {
        walls += wallMask[i];
        EXPECT_EQ(trail[i], TRAIL_NONE);
    }
    EXPECT_EQ(walls, 3);
    EXPECT_EQ(wallMask[10] + wallMask[20] + wallMask[30], 3);
}

TEST_F(MapFiles, AMissingFileReportsOnceAndKeepsThePreviousBoard) {
    memset(board, TILE_WALL, sizeof board);
    board[0] = TILE_GATE;
    trail[1] = TRAIL_VERTICAL;
    playerX = 2;
    timeClass = 1;
    stageNumber = 42;
    LoadFreeMap(board, wallMask, trail, &timeClass, playerPosition, FREE_SOURCE_OWN_MAPS);
    EXPECT_EQ(NewMessages(), 1);
    EXPECT_STREQ(HeadlessLastMessage(), "ファイルロード失敗");
    EXPECT_EQ(board[5], TILE_WALL);
    EXPECT_EQ(wallMask[0], 1);
    EXPECT_EQ(trail[1], TRAIL_NONE);
    EXPECT_EQ(playerX, 2);
    EXPECT_EQ(timeClass, 1);
    struct stat st;
    EXPECT_NE(stat("EditMap/map_42.map", &st), 0) << "loading creates no file";
}

TEST_F(MapFiles, ShortFilesFillWhatTheyCoverAndLongOnesStopAtSeventyThree) {
    memset(board, TILE_WALL, sizeof board);
    timeClass = 2;
    playerX = 0x11223344;
    playerY = 6;
    WriteAll("EditMap/map_00.map", std::vector<u8>(40, TILE_SWITCH));
    LoadFreeMap(board, wallMask, trail, &timeClass, playerPosition, FREE_SOURCE_OWN_MAPS);
    EXPECT_EQ(board[39], TILE_SWITCH);
    EXPECT_EQ(board[40], TILE_WALL);
    EXPECT_EQ(timeClass, 2);
    EXPECT_EQ(playerX, 0x11223344);

    std::vector<u8> partial(67, TILE_FLOOR);
    partial[64] = 1;
    partial[65] = 5;
    partial[66] = 0;
    WriteAll("EditMap/map_00.map", partial);
    LoadFreeMap(board, wallMask, trail, &timeClass, playerPosition, FREE_SOURCE_OWN_MAPS);
    EXPECT_EQ(board[63], TILE_FLOOR);
    EXPECT_EQ(timeClass, 1);
    EXPECT_EQ(playerX, 0x11220005) << "two of x's four bytes were present";
    EXPECT_EQ(playerY, 6);

    std::vector<u8> garbage(4096, 0xEE);
    WriteAll("EditMap/map_00.map", garbage);
    LoadFreeMap(board, wallMask, trail, &timeClass, playerPosition, FREE_SOURCE_OWN_MAPS);
    EXPECT_EQ(board[0], 0xEE);
    EXPECT_EQ(timeClass, 0xEE);
    EXPECT_EQ(playerX, (i32)0xEEEEEEEEu);
    EXPECT_EQ(NewMessages(), 0);

    // Garbage in play: codes, class and start as they are, nothing outside the board.
    StartStage();
    introDone = 1;
    for (int i = 0; i < 30; i++) PlayFrame(i % 2 ? UP : LEFT);
    EXPECT_EQ(missed, 1u);
}

TEST_F(MapFiles, TableSourcesAndUnknownSources) {
    courseMaps[4][9] = TILE_KEY2;
    courseStarts[4] = StartCell{1, 6};
    courseTimeClasses[4] = 2;
    undergroundMaps[4][9] = TILE_GATE;
    undergroundStarts[4] = StartCell{5, 0};
    undergroundTimeClasses[4] = 1;
    stageNumber = 4;
    LoadFreeMap(board, wallMask, trail, &timeClass, playerPosition, FREE_SOURCE_COURSE);
    EXPECT_EQ(board[9], TILE_KEY2);
    EXPECT_EQ(playerX, 1);
    EXPECT_EQ(playerY, 6);
    EXPECT_EQ(timeClass, 2);
    LoadFreeMap(board, wallMask, trail, &timeClass, playerPosition, FREE_SOURCE_UNDERGROUND);
    EXPECT_EQ(board[9], TILE_GATE);
    EXPECT_EQ(wallMask[9], 1);
    EXPECT_EQ(playerX, 5);
    EXPECT_EQ(timeClass, 1);

    trail[3] = TRAIL_VERTICAL;
    LoadFreeMap(board, wallMask, trail, &timeClass, playerPosition, 3);
    EXPECT_EQ(trail[3], TRAIL_VERTICAL) << "an unknown source does nothing at all";
    stageNumber = 60;
    LoadFreeMap(board, wallMask, trail, &timeClass, playerPosition, FREE_SOURCE_UNDERGROUND);
    EXPECT_EQ(board[9], TILE_GATE) << "past the table: the board stays";
    courseMaps[4][9] = undergroundMaps[4][9] = 0;
    courseStarts[4] = undergroundStarts[4] = StartCell{0, 0};
    courseTimeClasses[4] = undergroundTimeClasses[4] = 0;
}

TEST_F(MapFiles, SelectionCyclesSourcesOnlyWithExtrasAndRestartsAtMapZero) {
    freeMode = 1;
    SelectFrame(NONE);
    EXPECT_EQ(freeSelecting, 1u);
    EXPECT_EQ(introDone, 1u);
    EXPECT_EQ(freeBoardLoaded, 1u);

    SelectFrame(UP);
    SelectFrame(NONE);
    SelectFrame(DOWN);
    SelectFrame(NONE);
    EXPECT_EQ(freeSource, FREE_SOURCE_COURSE) << "locked without extras";
    EXPECT_TRUE(TakeSounds().empty());

    extrasUnlocked = 1;
    stageNumber = 12;
    SelectFrame(UP);  // no map 00: course -> underground
    EXPECT_EQ(freeSource, FREE_SOURCE_UNDERGROUND);
    EXPECT_EQ(stageNumber, 0u);
    SelectFrame(NONE);
    SelectFrame(DOWN);  // no map 00: underground -> course
    EXPECT_EQ(freeSource, FREE_SOURCE_COURSE);
    SelectFrame(NONE);

    MakeMap(0, TILE_WALL);
    SelectFrame(UP);
    EXPECT_EQ(freeSource, FREE_SOURCE_OWN_MAPS);
    SelectFrame(NONE);
    EXPECT_EQ(board[0], TILE_WALL) << "the preview follows the choice";
    SelectFrame(UP);
    EXPECT_EQ(freeSource, FREE_SOURCE_UNDERGROUND);
    SelectFrame(NONE);
    SelectFrame(DOWN);
    EXPECT_EQ(freeSource, FREE_SOURCE_OWN_MAPS);
    SelectFrame(NONE);
    SelectFrame(DOWN);
    EXPECT_EQ(freeSource, FREE_SOURCE_COURSE);
    EXPECT_EQ(TakeSounds(), std::vector<int>(6, PLAY_WAVE_CURSOR));
}

TEST_F(MapFiles, SelectionBoundsOfEachSource) {
    freeMode = 1;
    extrasUnlocked = 1;
    SelectFrame(NONE);
    for (int i = 0; i < 40; i++) {
        SelectFrame(RIGHT);
        SelectFrame(NONE);
    }
    EXPECT_EQ(stageNumber, 29u);
    for (int i = 0; i < 40; i++) {
        SelectFrame(LEFT);
        SelectFrame(NONE);
    }
    EXPECT_EQ(stageNumber, 0u);

    freeSource = FREE_SOURCE_UNDERGROUND;
    undergroundBest = 0;
    SelectFrame(RIGHT);
    SelectFrame(NONE);
    EXPECT_EQ(stageNumber, 0u);
    undergroundBest = 2;
    for (int i = 0; i < 5; i++) {
        SelectFrame(RIGHT);
        SelectFrame(NONE);
    }
    EXPECT_EQ(stageNumber, 2u);

    MakeMap(0, TILE_WALL);
    MakeMap(1, TILE_GATE);
    MakeMap(3, TILE_SWITCH);
    freeSource = FREE_SOURCE_OWN_MAPS;
    stageNumber = 0;
    for (int i = 0; i < 3; i++) {
        SelectFrame(RIGHT);
        SelectFrame(NONE);
    }
    EXPECT_EQ(stageNumber, 1u) << "the gap at 02 stops the count";
    EXPECT_EQ(board[0], TILE_GATE);
    EXPECT_EQ(NewMessages(), 0);
}

TEST_F(MapFiles, HeldLeftOrRightRepeatsEverySixteenFrames) {
    freeMode = 1;
    std::vector<int> moves;
    for (int frame = 1; frame <= 50; frame++) {
        u32 before = stageNumber;
        SelectFrame(RIGHT);
        if (stageNumber != before) moves.push_back(frame);
    }
    EXPECT_EQ(moves, (std::vector<int>{1, 17, 33, 49}));
    EXPECT_EQ(TakeSounds().size(), 4u);

    // A play frame in between leaves the hold count alone while selecting.
    repeatDelay = 5;
    RunStep();
    EXPECT_EQ(repeatDelay, 5);
}

TEST_F(MapFiles, RetryAfterAMissReloadsTheMapStraightIntoPlay) {
    freeMode = 1;
    freeSource = FREE_SOURCE_OWN_MAPS;
    MakeMap(0, TILE_FLOOR);
    freeRetry = 1;
    keysTaken[0] = 1;
    board[0] = TILE_WALKED;
    SelectFrame(NONE);
    EXPECT_EQ(freeSelecting, 0u) << "a retry does not go through the selection";
    EXPECT_EQ(freePlaying, 1u);
    EXPECT_EQ(freeRetry, 0u);
    EXPECT_EQ(clockRunning, 1u);
    EXPECT_EQ(board[0], TILE_FLOOR);
    EXPECT_EQ(keysTaken[0], 0u);
    EXPECT_EQ(playerX, 3);
    EXPECT_EQ(playerY, 4);
    EXPECT_EQ(stageLoaded, 0u);
}
}  // namespace
