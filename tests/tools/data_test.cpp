// The data compiler's pieces: the file image byte for byte and story lines
// to Shift-JIS messages. Stage blocks are the refusal tests' and the game's.
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

// The limits' edges (the refusal tests have the cases past them): the end
// pair on a two-byte unit, a photograph taking no cell, and the next-page
// mark on the third line's last cell.
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
        {field + "a#e", false},
        {field + "#e!", false},
        {a17 + "#e", true},
        {"#p01" + a17 + "#e", true},
        {"あ#nい#nう#nえ#e", true},
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
