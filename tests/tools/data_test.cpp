// The data compiler's pieces: the file image byte for byte, story lines to
// Shift-JIS messages, stage blocks to boards.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "data/datafile.h"
#include "data/sources.h"

using namespace datatool;

namespace {
std::string TempFile(const std::string& text) {
    char path[] = "/tmp/ossmire-data-test-XXXXXX";
    int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, text.data(), text.size()), (ssize_t)text.size());
    close(fd);
    return path;
}

ChapterEntry ReadChapter(const std::string& text, std::vector<std::string>* errors) {
    std::string path = TempFile(text);
    ChapterEntry chapter = ReadChapterFile(path, errors);
    unlink(path.c_str());
    return chapter;
}
}  // namespace

TEST(DataFile, EveryTableLandsAtItsOffsetLittleEndian) {
    static GameDataImage image, back;
    memset(&image, 0, sizeof image);
    image.courseStarts[1] = StartCell{7, -1};
    image.courseTimeClasses[29] = 2;
    image.storyMessageCounts[12] = 0x01020304;
    image.storyMessages[1][0].speaker = 2;
    image.undergroundMaps[49][63] = 12;
    image.ruleMaps[2][63] = 10;
    std::string bytes = EncodeGameData(image);
    ASSERT_EQ(bytes.size(), (size_t)GAME_DATA_BYTES);
    EXPECT_EQ(bytes.substr(8, 8), std::string("\x07\0\0\0\xFF\xFF\xFF\xFF", 8));
    EXPECT_EQ(bytes[2160 + 29], 2);
    EXPECT_EQ(bytes.substr(2190 + 48, 4), "\x04\x03\x02\x01");
    EXPECT_EQ(bytes[5404], 2);  // message 0 of chapter 1
    EXPECT_EQ(bytes[43748 + 49 * 64 + 63], 12);
    EXPECT_EQ(bytes[GAME_DATA_BYTES - 1], 10);

    // Decoding gives the image back; a short file reads as zero beyond its end.
    EXPECT_TRUE(DecodeGameData(bytes, &back));
    EXPECT_EQ(memcmp(&back, &image, sizeof image), 0);
    EXPECT_FALSE(DecodeGameData(bytes.substr(0, 12), &back));
    EXPECT_EQ(back.courseStarts[1].x, 7);
    EXPECT_EQ(back.courseStarts[1].y, 0);
}

TEST(StorySource, LinesBecomeShiftJisMessages) {
    std::vector<std::string> errors;
    ChapterEntry chapter = ReadChapter(
        "\xEF\xBB\xBF; a chapter\n\n1 2|あ#nい#e\n; between messages\n0 3|写真#p02#s\r\n", &errors);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(chapter.messages.size(), 2u);
    EXPECT_EQ(chapter.lines, (std::vector<int>{3, 5}));
    EXPECT_EQ(chapter.messages[0].speaker, 1);
    EXPECT_EQ(chapter.messages[0].expression, 2);
    const char expected[] = "\x82\xA0#n\x82\xA2#e";
    EXPECT_EQ(memcmp(chapter.messages[0].text, expected, sizeof expected), 0);
    EXPECT_STREQ(chapter.messages[1].text, "\x8E\xCA\x90\x5E#p02#s");
}

// The field holds 99 bytes and a NUL, the end pair on a two-byte unit; the
// window 4 lines of 17 characters, the next-page mark on the third's last.
TEST(StorySource, MessagesFitTheFieldAndTheWindowAsItTypesThem) {
    std::string field;
    for (int i = 0; i < 46; i++) field += i == 17 || i == 34 ? "#nあ" : "あ";  // 96 bytes
    std::string a17 = "あいうえおかきくけこさしすせそたち";
    std::string a16 = a17.substr(0, a17.size() - 3);
    const struct {
        std::string text;
        bool accepted;
    } cases[] = {
        {field + "#e", true},
        {field + "あ#e", false},
        {field + "a#e", false},
        {field + "#e!", false},
        {a17 + "#e", true},
        {a17 + "つ#e", false},
        {"#p01" + a17 + "#e", true},
        {"あ#nい#nう#nえ#e", true},
        {"あ#nい#nう#nえ#n#e", false},
        {"あ#n" + a17 + "#e", true},
        {"あ#nい#n" + a17 + "#e", false},
        {"あ#nい#n" + a16 + "#n" + a16 + "#e", true},
    };
    for (const auto& c : cases) {
        std::vector<std::string> errors;
        ReadChapter("0 0|" + c.text + "\n", &errors);
        EXPECT_EQ(errors.empty(), c.accepted) << c.text;
    }
}

TEST(StageSource, BlocksBecomeBoardsCellByCell) {
    std::string path = TempFile(
        "; two stages\nstage 1\ntime 2\nstart 0 7\n"
        ".+-SG123\n4W######\n########\n########\n########\n########\n#######W\n.#######\n"
        "stage 2\n; comments inside a block\nstart 1 1\ntime 0\n"
        "########\n########\n########\n########\n########\n########\n########\n1234....\n");
    std::vector<std::string> errors;
    std::vector<StageEntry> stages = ReadStageFile(path, &errors);
    unlink(path.c_str());
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(stages.size(), 2u);
    const solver::Stage& s = stages[0].stage;
    const u8 top[10] = {0, 3, 4, 5, 6, 7, 8, 9, 10, 12};
    EXPECT_EQ(memcmp(s.cells, top, 10), 0);
    EXPECT_EQ(s.cells[55], 12);
    EXPECT_EQ(s.startY, 7);
    EXPECT_EQ(s.timeClass, 2);
    EXPECT_EQ(stages[1].line, 13);
    EXPECT_EQ(stages[1].startLine, 15);
    EXPECT_EQ(stages[1].stage.cells[59], 10);
    for (unsigned code = 0; code < 13; code++) {
        if (code == 1 || code == 11) continue;  // never in a fresh stage
        EXPECT_EQ(TileOfLetter(TileLetter(code)), (int)code);
    }
    EXPECT_EQ(TileOfLetter('x'), -1);
}
