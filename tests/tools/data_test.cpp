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

u8 At(const std::string& bytes, size_t offset) { return (u8)bytes[offset]; }
}  // namespace

TEST(DataFile, EveryTableLandsAtItsOffsetLittleEndian) {
    static GameDataImage image;
    memset(&image, 0, sizeof image);
    image.courseStarts[1] = StartCell{7, -1};
    image.courseMaps[0][0] = 0x21;
    image.courseTimeClasses[29] = 2;
    image.storyMessageCounts[12] = 0x01020304;
    image.storyMessages[1][0].speaker = 2;
    image.storyMessages[1][0].text[0] = (char)0x82;
    image.undergroundStarts[0] = StartCell{3, 4};
    image.undergroundMaps[49][63] = 12;
    image.undergroundTimeClasses[0] = 1;
    image.ruleMaps[2][63] = 10;
    std::string bytes = EncodeGameData(image);
    ASSERT_EQ(bytes.size(), (size_t)GAME_DATA_BYTES);
    const u8 start[8] = {7, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(memcmp(bytes.data() + 8, start, 8), 0);
    EXPECT_EQ(At(bytes, 240), 0x21);
    EXPECT_EQ(At(bytes, 2160 + 29), 2);
    EXPECT_EQ(At(bytes, 2190 + 48), 4);
    EXPECT_EQ(At(bytes, 2190 + 51), 1);
    EXPECT_EQ(At(bytes, 5404), 2);  // message 0 of chapter 1
    EXPECT_EQ(At(bytes, 5406), 0x82);
    EXPECT_EQ(At(bytes, 43348 + 4), 4);
    EXPECT_EQ(At(bytes, 43748 + 49 * 64 + 63), 12);
    EXPECT_EQ(At(bytes, 46948), 1);
    EXPECT_EQ(At(bytes, GAME_DATA_BYTES - 1), 10);

    // Decoding gives the image back; a short file reads as zero beyond its end.
    static GameDataImage back;
    EXPECT_TRUE(DecodeGameData(bytes, &back));
    EXPECT_EQ(memcmp(&back, &image, sizeof image), 0);
    EXPECT_FALSE(DecodeGameData(bytes.substr(0, 12), &back));
    EXPECT_EQ(back.courseStarts[1].x, 7);
    EXPECT_EQ(back.courseStarts[1].y, 0);
}

TEST(StorySource, LinesBecomeShiftJisMessages) {
    std::string path = TempFile(
        "\xEF\xBB\xBF; a chapter\n"
        "\n"
        "1 2|あ#nい#e\n"
        "; between messages\n"
        "0 3|写真#p02#s\r\n");
    std::vector<std::string> errors;
    ChapterEntry chapter = ReadChapterFile(path, &errors);
    unlink(path.c_str());
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(chapter.messages.size(), 2u);
    EXPECT_EQ(chapter.lines, (std::vector<int>{3, 5}));
    const StoryMessage& first = chapter.messages[0];
    EXPECT_EQ(first.speaker, 1);
    EXPECT_EQ(first.expression, 2);
    const char expected[] = "\x82\xA0#n\x82\xA2#e";
    EXPECT_EQ(memcmp(first.text, expected, sizeof expected), 0);
    EXPECT_STREQ(chapter.messages[1].text, "\x8E\xCA\x90\x5E#p02#s");
}

TEST(StorySource, MessagesFitTheFieldWithTheEndPairOnATwoByteUnit) {
    std::string body = "0 0|";
    for (int i = 0; i < 46; i++) body += i == 17 || i == 34 ? "#nあ" : "あ";  // 96 bytes
    struct Case {
        std::string tail;
        bool accepted;
    } cases[] = {
        {"#e", true},     // 98 bytes, the longest a well-formed message gets
        {"あ#e", false},  // 100 bytes: no room for the NUL
        {"a#e", false},   // 99 bytes, but the pair straddles two units
        {"#e!", false},   // the last unit is not an end pair
    };
    for (const Case& c : cases) {
        std::string path = TempFile(body + c.tail + "\n");
        std::vector<std::string> errors;
        ReadChapterFile(path, &errors);
        unlink(path.c_str());
        EXPECT_EQ(errors.empty(), c.accepted) << c.tail;
    }
}

TEST(StorySource, MessagesFitTheWindowAsItTypesThem) {
    std::string a17 = "あいうえおかきくけこさしすせそたち";
    std::string a16 = "あいうえおかきくけこさしすせそた";
    struct Case {
        std::string text;
        bool accepted;
    } cases[] = {
        {a17 + "#e", true},                           // a full line
        {a17 + "つ#e", false},                        // the 18th character wraps
        {"#p01" + a17 + "#e", true},                  // a photograph takes no cell
        {"あ#nい#nう#nえ#e", true},                   // the four lines of the window
        {"あ#nい#nう#nえ#n#e", false},                // a fifth, even empty
        {"あ#n" + a17 + "#e", true},                  // the mark is below the second line
        {"あ#nい#n" + a17 + "#e", false},             // and covers the third line's last cell
        {"あ#nい#n" + a16 + "#n" + a16 + "#e", true}  // 16 fit beside it
    };
    for (const Case& c : cases) {
        std::string path = TempFile("0 0|" + c.text + "\n");
        std::vector<std::string> errors;
        ReadChapterFile(path, &errors);
        unlink(path.c_str());
        EXPECT_EQ(errors.empty(), c.accepted) << c.text;
    }
}

TEST(StageSource, BlocksBecomeBoardsCellByCell) {
    std::string path = TempFile(
        "; two stages\n"
        "stage 1\n"
        "time 2\n"
        "start 0 7\n"
        ".+-SG123\n"
        "4W######\n"
        "########\n"
        "########\n"
        "########\n"
        "########\n"
        "#######W\n"
        ".#######\n"
        "stage 2\n"
        "; comments inside a block\n"
        "start 1 1\n"
        "time 0\n"
        "########\n########\n########\n########\n########\n########\n########\n"
        "1234....\n");
    std::vector<std::string> errors;
    std::vector<StageEntry> stages = ReadStageFile(path, &errors);
    unlink(path.c_str());
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(stages.size(), 2u);
    const solver::Stage& s = stages[0].stage;
    const u8 top[8] = {0, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(memcmp(s.cells, top, 8), 0);
    EXPECT_EQ(s.cells[8], 10);
    EXPECT_EQ(s.cells[9], 12);
    EXPECT_EQ(s.cells[55], 12);
    EXPECT_EQ(s.startX, 0);
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
