// "data.vrk" byte for byte: the nine tables at their offsets, and short,
// missing, oversized and unopenable files.
#include "play/gamedata.h"

#include <sys/stat.h>

#include "play_fixture.h"

namespace {
struct Table {
    const char* name;
    void* address;
    size_t size;
};

const Table TABLES[] = {
    {"courseStarts", courseStarts, sizeof courseStarts},
    {"courseMaps", courseMaps, sizeof courseMaps},
    {"courseTimeClasses", courseTimeClasses, sizeof courseTimeClasses},
    {"storyMessageCounts", storyMessageCounts, sizeof storyMessageCounts},
    {"storyMessages", storyMessages, sizeof storyMessages},
    {"undergroundStarts", undergroundStarts, sizeof undergroundStarts},
    {"undergroundMaps", undergroundMaps, sizeof undergroundMaps},
    {"undergroundTimeClasses", undergroundTimeClasses, sizeof undergroundTimeClasses},
    {"ruleMaps", ruleMaps, sizeof ruleMaps},
};

void FillTables(u8 value) {
    for (const Table& t : TABLES) memset(t.address, value, t.size);
}

// Every byte different from its neighbours, so a shifted table shows.
std::vector<u8> Pattern(size_t size) {
    std::vector<u8> bytes(size);
    for (size_t i = 0; i < size; i++) bytes[i] = (u8)(i * 7 + i / 251 + 1);
    return bytes;
}

using GameData = playtest::PlayTest;
}  // namespace

TEST_F(GameData, TablesLieAtTheirOffsetsAndShortLongMissingOrUnopenableFilesLoadWhatTheyCover) {
    std::vector<u8> file = Pattern(GAME_DATA_BYTES + 100);
    playtest::WriteAll("data.vrk", file);
    LoadGameData();
    EXPECT_EQ(NewMessages(), 0);
    size_t offset = 0;
    for (const Table& t : TABLES) {
        EXPECT_EQ(memcmp(t.address, file.data() + offset, t.size), 0) << t.name;
        offset += t.size;
    }
    EXPECT_EQ(offset, (size_t)GAME_DATA_BYTES);

    // A file that ends inside a table fills that table's first bytes only.
    FillTables(0x5A);
    file = Pattern(2242 + 150);
    playtest::WriteAll("data.vrk", file);
    LoadGameData();
    EXPECT_EQ(memcmp(courseStarts, file.data(), 240), 0);
    EXPECT_EQ(memcmp(storyMessages, file.data() + 2242, 150), 0);
    EXPECT_EQ(((u8*)storyMessages)[150], 0x5A);
    EXPECT_EQ(undergroundStarts[0].x, 0x5A5A5A5A);

    remove("data.vrk");
    FillTables(0x11);
    LoadGameData();
    struct stat st;
    ASSERT_EQ(stat("data.vrk", &st), 0);
    EXPECT_EQ(st.st_size, 0) << "left behind empty";
    EXPECT_EQ(storyMessageCounts[12], 0x11111111u);
    EXPECT_EQ(NewMessages(), 0);

    remove("data.vrk");
    ASSERT_EQ(mkdir("data.vrk", 0755), 0);
    LoadGameData();
    EXPECT_EQ(NewMessages(), 1);
    EXPECT_STREQ(HeadlessLastMessage(), "ロード失敗");
    EXPECT_EQ(ruleMaps[2][63], 0x11);
    FillTables(0);
}
