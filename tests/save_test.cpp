// The three save files byte for byte, short and missing files, failures, the
// checkpoint rule and the saves made by setting up a stage.
#include <sys/stat.h>

#include "play_fixture.h"

using namespace playtest;

namespace {
bool Exists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0;
}

std::vector<u8> LittleEndian(std::initializer_list<u32> values) {
    std::vector<u8> bytes;
    for (u32 v : values) {
        for (int i = 0; i < 4; i++) bytes.push_back((u8)(v >> (8 * i)));
    }
    return bytes;
}

using Saves = PlayTest;

TEST_F(Saves, FilesAreLittleEndianValuesInOrderAndAFirstRunCreatesThemEmpty) {
    stageNumber = 3;
    LoadProgress();
    LoadBestTimes();
    LoadUndergroundBest();
    for (const char* name : {"sav_1.vrk", "sav_2.vrk", "sav_3.vrk"}) {
        EXPECT_TRUE(Exists(name) && ReadAll(name).empty()) << name;
    }
    EXPECT_EQ(stageNumber, 3u);
    EXPECT_EQ(bestCourse.totalSeconds, 356400u);
    EXPECT_EQ(NewMessages(), 0);

    u32* progress[] = {&stageNumber,   &storyChapter,   &courseSeconds,     &undergroundSeconds,
                       &courseCleared, &extrasUnlocked, &undergroundCleared};
    const u32 values[] = {7, 0x0A0B0C0D, 631, 0x01020304, 1, 1, 0};
    for (int i = 0; i < 7; i++) *progress[i] = values[i];
    SaveProgress();
    EXPECT_EQ(ReadAll("sav_1.vrk"), LittleEndian({7, 0x0A0B0C0D, 631, 0x01020304, 1, 1, 0}));
    ResetPlayState();
    LoadProgress();
    for (int i = 0; i < 7; i++) EXPECT_EQ(*progress[i], values[i]) << i;

    bestCourse = BestTime{512, 0, 8, 32};
    SaveBestTimes();
    EXPECT_EQ(ReadAll("sav_2.vrk"), LittleEndian({512, 0, 8, 32, 356400, 99, 60, 60}));
    bestCourse = bestUnderground = BestTime{1, 2, 3, 4};
    LoadBestTimes();
    EXPECT_EQ(bestCourse.seconds, 32u);
    EXPECT_EQ(bestUnderground.totalSeconds, 356400u);

    undergroundBest = 0x31;
    SaveUndergroundBest();
    EXPECT_EQ(ReadAll("sav_3.vrk"), LittleEndian({0x31}));
}

TEST_F(Saves, ShortFilesReplaceOnlyTheBytesTheyCoverAndLongOnesAreCutOff) {
    stageNumber = 0x11111111;
    storyChapter = 0x22222222;
    courseSeconds = 0x33333333;
    WriteAll("sav_1.vrk", {5, 0, 0, 0, 0xAA, 0xBB});
    LoadProgress();
    EXPECT_EQ(stageNumber, 5u);
    EXPECT_EQ(storyChapter, 0x2222BBAAu) << "only the low-order bytes are replaced";
    EXPECT_EQ(courseSeconds, 0x33333333u);

    WriteAll("sav_1.vrk", LittleEndian({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    LoadProgress();
    EXPECT_EQ(undergroundCleared, 7u);

    WriteAll("sav_2.vrk", {0x10, 0x0E});
    LoadBestTimes();
    EXPECT_EQ(bestCourse.totalSeconds, 0x00050E10u);  // 356400 is 0x00057030
    EXPECT_EQ(bestCourse.hours, 99u);

    undergroundBest = 0x0102;
    WriteAll("sav_3.vrk", {0x30});
    LoadUndergroundBest();
    EXPECT_EQ(undergroundBest, 0x0130u);
}

TEST_F(Saves, FailedOpensReportAndChangeNothing) {
    ASSERT_EQ(mkdir("sav_1.vrk", 0755), 0);  // a directory cannot be opened as the file
    stageNumber = 9;
    LoadProgress();
    EXPECT_EQ(NewMessages(), 1);
    EXPECT_NE(TraceSoFar().find("msgbox owner=main caption=\"\" \"ロード失敗\""),
              std::string::npos);
    EXPECT_EQ(stageNumber, 9u);
}

TEST_F(Saves, CheckpointRoundsDownToFivesWithinTheCourseOnly) {
    for (u32 n : {0u, 4u, 5u, 9u, 24u, 28u, 29u, 30u, 39u, 0xFFFFFFFFu}) {
        stageNumber = n;
        RoundToCheckpoint();
        EXPECT_EQ(stageNumber, n <= 29 ? n / 5 * 5 : n) << n;
    }
}

TEST_F(Saves, CourseSetUpSavesAtEveryTenthStageBeforeCopying) {
    for (u32 n = 0; n < COURSE_STAGES; n++) {
        memset(courseMaps[n], TILE_WALL, 64);
        courseMaps[n][n] = TILE_GATE;
        courseStarts[n] = StartCell{(i32)(n % 8), (i32)(n / 8)};
        courseTimeClasses[n] = (u8)(n % 3);
    }
    for (u32 n : {9u, 10u, 11u, 20u, 29u}) {
        remove("sav_1.vrk");
        stageNumber = n;
        SetUpStage(board, wallMask, trail, &timeClass, playerPosition);
        std::vector<u8> saved = ReadAll("sav_1.vrk");
        EXPECT_EQ(saved.size(), n % 10 == 0 ? 28u : 0u) << n;
        if (!saved.empty()) {
            EXPECT_EQ(saved[0], n);
        }
        EXPECT_EQ(board[n], TILE_GATE);
        EXPECT_EQ(playerX, (i32)(n % 8));
        EXPECT_EQ(playerY, (i32)(n / 8));
        EXPECT_EQ(timeClass, n % 3);
        for (int i = 0; i < 64; i++) EXPECT_EQ(wallMask[i], i == (int)n ? 1 : 0);
    }
    memset(courseMaps, 0, sizeof courseMaps);
    memset(courseStarts, 0, sizeof courseStarts);
    memset(courseTimeClasses, 0, sizeof courseTimeClasses);
}

TEST_F(Saves, StageNumbersPastTheTablesChangeNothing) {
    for (u32 underground : {0u, 1u}) {
        ruleMode = 1 - underground;
        undergroundMode = underground;
        stageNumber = 60;
        board[0] = TILE_SWITCH;
        SetUpStage(board, wallMask, trail, &timeClass, playerPosition);
        EXPECT_EQ(board[0], TILE_SWITCH) << underground;
    }
    EXPECT_FALSE(Exists("sav_1.vrk"));
}
}  // namespace
