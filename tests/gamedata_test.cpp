// "data.vrk" byte for byte: the nine tables at their offsets, short, missing,
// oversized and unopenable files.
#include "play/gamedata.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/headless.h"

namespace {
struct Table {
    const char* name;
    void* address;
    size_t size;
    size_t offset;
};

std::vector<Table> Tables() {
    return {
        {"courseStarts", courseStarts, sizeof courseStarts, 0},
        {"courseMaps", courseMaps, sizeof courseMaps, 240},
        {"courseTimeClasses", courseTimeClasses, sizeof courseTimeClasses, 2160},
        {"storyMessageCounts", storyMessageCounts, sizeof storyMessageCounts, 2190},
        {"storyMessages", storyMessages, sizeof storyMessages, 2242},
        {"undergroundStarts", undergroundStarts, sizeof undergroundStarts, 43348},
        {"undergroundMaps", undergroundMaps, sizeof undergroundMaps, 43748},
        {"undergroundTimeClasses", undergroundTimeClasses, sizeof undergroundTimeClasses, 46948},
        {"ruleMaps", ruleMaps, sizeof ruleMaps, 46998},
    };
}

void FillTables(u8 value) {
    for (const Table& t : Tables()) memset(t.address, value, t.size);
}

// Every byte different from its neighbours, so a shifted table shows.
std::vector<u8> Pattern(size_t size) {
    std::vector<u8> bytes(size);
    for (size_t i = 0; i < size; i++) bytes[i] = (u8)(i * 7 + i / 251 + 1);
    return bytes;
}

void WriteFile(const char* path, const std::vector<u8>& bytes) {
    FILE* f = fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

class GameData : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(getcwd(oldDir, sizeof oldDir), nullptr);
        snprintf(dir, sizeof dir, "/tmp/ossmire-data-XXXXXX");
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_EQ(chdir(dir), 0);
        HeadlessReset(1000000);
        messagesBefore = HeadlessMessageCount();
    }

    void TearDown() override {
        FillTables(0);
        if (chdir(oldDir) != 0) ADD_FAILURE() << "cannot return to " << oldDir;
        std::string command = std::string("rm -rf ") + dir;
        if (system(command.c_str()) != 0) ADD_FAILURE() << "cannot remove " << dir;
    }

    int NewMessages() { return HeadlessMessageCount() - messagesBefore; }

    char oldDir[4096];
    char dir[64];
    int messagesBefore = 0;
};
}  // namespace

TEST_F(GameData, TablesFollowEachOtherWithoutGapsAndExtraBytesAreIgnored) {
    size_t total = 0;
    for (const Table& t : Tables()) {
        EXPECT_EQ(t.offset, total) << t.name;
        total += t.size;
    }
    EXPECT_EQ(total, (size_t)GAME_DATA_BYTES);

    std::vector<u8> file = Pattern(GAME_DATA_BYTES + 100);
    WriteFile("data.vrk", file);
    LoadGameData();
    EXPECT_EQ(NewMessages(), 0);
    for (const Table& t : Tables()) {
        EXPECT_EQ(memcmp(t.address, file.data() + t.offset, t.size), 0) << t.name;
    }
    // Message 0 of chapter 1 is bytes 5404..5505; integers are little-endian.
    EXPECT_EQ(memcmp(&storyMessages[1][0], file.data() + 5404, 102), 0);
    EXPECT_EQ(storyMessages[1][0].speaker, file[5404]);
    EXPECT_EQ(storyMessages[0][30].text[99], (char)file[5403]);
    EXPECT_EQ(courseStarts[0].y, (i32)(file[4] | file[5] << 8 | file[6] << 16 | file[7] << 24));
    EXPECT_EQ(ruleMaps[2][63], file[47189]);
}

TEST_F(GameData, ShortFileFillsWhatItCoversAndLeavesTheRest) {
    FillTables(0x5A);
    std::vector<u8> file = Pattern(2160);
    WriteFile("data.vrk", file);
    LoadGameData();
    EXPECT_EQ(memcmp(courseStarts, file.data(), 240), 0);
    EXPECT_EQ(memcmp(courseMaps, file.data() + 240, 1920), 0);
    for (u8 c : courseTimeClasses) EXPECT_EQ(c, 0x5A);
    EXPECT_EQ(ruleMaps[0][0], 0x5A);

    // A file that ends inside a table fills that table's first bytes only.
    FillTables(0x5A);
    file = Pattern(2242 + 150);
    WriteFile("data.vrk", file);
    LoadGameData();
    EXPECT_EQ(memcmp(storyMessages, file.data() + 2242, 150), 0);
    EXPECT_EQ(((u8*)storyMessages)[150], 0x5A);
    EXPECT_EQ(undergroundStarts[0].x, 0x5A5A5A5A);
    EXPECT_EQ(NewMessages(), 0);
}

TEST_F(GameData, MissingFileIsLeftBehindEmptyWithoutAMessage) {
    FillTables(0x11);
    LoadGameData();
    struct stat st;
    ASSERT_EQ(stat("data.vrk", &st), 0);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_EQ(NewMessages(), 0);
    EXPECT_EQ(courseMaps[29][63], 0x11);
    EXPECT_EQ(storyMessageCounts[12], 0x11111111u);
}

TEST_F(GameData, UnopenableFileReportsLoadFailureAndKeepsTheTables) {
    ASSERT_EQ(mkdir("data.vrk", 0755), 0);
    FillTables(0x22);
    LoadGameData();
    EXPECT_EQ(NewMessages(), 1);
    EXPECT_STREQ(HeadlessLastMessage(), "ロード失敗");
    EXPECT_EQ(courseStarts[0].x, 0x22222222);
    EXPECT_EQ(ruleMaps[2][63], 0x22);
}
