// File modes, Shift-JIS texts and the button state table.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "input/input.h"
#include "platform/headless.h"
#include "base/services.h"

namespace {
struct TempDir {
    std::string path;
    std::string old;
    TempDir() {
        char name[] = "/tmp/ossmire-test-XXXXXX";
        path = mkdtemp(name);
        char cwd[4096];
        old = getcwd(cwd, sizeof cwd);
        EXPECT_EQ(chdir(path.c_str()), 0);
    }
    ~TempDir() {
        EXPECT_EQ(chdir(old.c_str()), 0);
        std::string command = "rm -rf " + path;
        EXPECT_EQ(system(command.c_str()), 0);
    }
};

long FileSize(const char* path) {
    struct stat s;
    return stat(path, &s) == 0 ? (long)s.st_size : -1;
}
}  // namespace

TEST(Files, LoadCreatesAMissingFileEmptyAndProbeDoesNot) {
    TempDir dir;
    int f = OpenGameFile("sav_1.vrk", FILE_MODE_PROBE);
    EXPECT_EQ(f, INVALID_FILE);
    EXPECT_EQ(FileSize("sav_1.vrk"), -1);
    f = OpenGameFile("sav_1.vrk", FILE_MODE_LOAD);
    ASSERT_NE(f, INVALID_FILE);
    char buffer[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(ReadGameFile(f, buffer, 8), 0u);
    EXPECT_EQ(buffer[0], 1);  // nothing read, nothing changed
    CloseGameFile(f);
    EXPECT_EQ(FileSize("sav_1.vrk"), 0);
}

TEST(Files, SaveReplacesTheFileWholeAndMapsBackslashes) {
    TempDir dir;
    ASSERT_EQ(mkdir("EditMap", 0755), 0);
    int f = OpenGameFile("EditMap\\map_00.map", FILE_MODE_SAVE);
    ASSERT_NE(f, INVALID_FILE);
    EXPECT_EQ(WriteGameFile(f, "0123456789", 10), 10u);
    CloseGameFile(f);
    f = OpenGameFile("EditMap\\map_00.map", FILE_MODE_SAVE);
    EXPECT_EQ(WriteGameFile(f, "ab", 2), 2u);
    // Until the save is closed, the old file stands whole.
    EXPECT_EQ(FileSize("EditMap/map_00.map"), 10);
    CloseGameFile(f);
    EXPECT_EQ(FileSize("EditMap/map_00.map"), 2);
    f = OpenGameFile("EditMap\\map_00.map", FILE_MODE_PROBE);
    char buffer[4] = {};
    EXPECT_EQ(ReadGameFile(f, buffer, 4), 2u);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(WriteGameFile(f, "x", 1), 0u);  // a read handle writes nothing
    CloseGameFile(f);
}

TEST(Files, InvalidHandlesTransferNothing) {
    TempDir dir;
    ASSERT_EQ(mkdir("locked", 0555), 0);
    int f = OpenGameFile("locked\\sav_2.vrk", FILE_MODE_SAVE);
    if (geteuid() != 0) {
        EXPECT_EQ(f, INVALID_FILE);
    }
    CloseGameFile(f);
    char byte = 7;
    EXPECT_EQ(ReadGameFile(INVALID_FILE, &byte, 1), 0u);
    EXPECT_EQ(WriteGameFile(INVALID_FILE, &byte, 1), 0u);
    EXPECT_EQ(ReadGameFile(12345, &byte, 1), 0u);
    CloseGameFile(INVALID_FILE);
    EXPECT_EQ(byte, 7);
}

TEST(Text, GameStringsBecomeCp932Once) {
    const char* ok = Sjis("ロード失敗");
    EXPECT_STREQ(ok, "\x83\x8D\x81\x5B\x83\x68\x8E\xB8\x94\x73");
    EXPECT_EQ(Sjis("ロード失敗"), ok);  // the same literal is converted once
    // 0x5C inside a double-byte character (ソ is 83 5C) survives the round trip.
    char utf8[32];
    PlatformSjisToUtf8("\x83\x5C", utf8, sizeof utf8);
    EXPECT_STREQ(utf8, "ソ");
    // A cut-off lead byte does not stop or overrun the conversion.
    PlatformSjisToUtf8("A\x83", utf8, sizeof utf8);
    EXPECT_STREQ(utf8, "A?");
    char tiny[3];
    PlatformUtf8ToSjis("ステージ", tiny, sizeof tiny);
    EXPECT_LT(strlen(tiny), sizeof tiny);
}

TEST(Input, StateTableFromPreviousStateAndDownNow) {
    EXPECT_EQ(NextButtonState(BUTTON_OFF, 1), BUTTON_PRESSED);
    EXPECT_EQ(NextButtonState(BUTTON_RELEASED, 1), BUTTON_PRESSED);
    EXPECT_EQ(NextButtonState(BUTTON_PRESSED, 1), BUTTON_HELD);
    EXPECT_EQ(NextButtonState(BUTTON_HELD, 1), BUTTON_HELD);
    EXPECT_EQ(NextButtonState(BUTTON_PRESSED, 0), BUTTON_RELEASED);
    EXPECT_EQ(NextButtonState(BUTTON_HELD, 0), BUTTON_RELEASED);
    EXPECT_EQ(NextButtonState(BUTTON_RELEASED, 0), BUTTON_OFF);
    EXPECT_EQ(NextButtonState(BUTTON_OFF, 0), BUTTON_OFF);
}

TEST(Input, StickDirectionsStartPastTheThirdsAndButtonMasksMustMatchExactly) {
    HeadlessReset(0);
    HeadlessAttachJoystick(1);
    joyResult = 0;
    struct Case {
        u32 x, y, buttons, code, down;
    } cases[] = {
        {32768, 15999, 0, 4, 1},  {32768, 16000, 0, 4, 0},  {32768, 48000, 0, 8, 0},
        {32768, 48001, 0, 8, 1},  {15999, 32768, 0, 16, 1}, {16000, 32768, 0, 16, 0},
        {48000, 32768, 0, 32, 0}, {48001, 32768, 0, 32, 1}, {32768, 32768, 1, 1, 1},
        {32768, 32768, 3, 1, 0},  {32768, 32768, 3, 2, 0},  {32768, 32768, 8, 8, 1},
    };
    for (const Case& c : cases) {
        HeadlessSetJoystick(c.x, c.y, c.buttons);
        EXPECT_EQ(IsJoystickDown(c.code), c.down)
            << "x " << c.x << " y " << c.y << " buttons " << c.buttons << " code " << c.code;
    }
    EXPECT_EQ(joyResult, 0u);
    HeadlessAttachJoystick(0);
    HeadlessReset(0);
    joyResult = 0;
}

TEST(Input, WithoutAJoystickItIsReadOnceInTheWholeRun) {
    HeadlessReset(0);
    joyResult = 0;
    for (int i = 0; i < 5; i++) PollInput();
    EXPECT_EQ(HeadlessJoystickReads(), 1u);
    EXPECT_NE(joyResult, 0u);
    EXPECT_EQ(inputUp, BUTTON_OFF);
    joyResult = 0;
}
