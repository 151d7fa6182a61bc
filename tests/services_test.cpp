// Shift-JIS texts and the joystick as the game reads it.
#include "base/services.h"

#include <gtest/gtest.h>

#include <cstring>

#include "input/input.h"
#include "platform/headless.h"

TEST(Text, GameStringsBecomeCp932OnceAndBadBytesDoNotOverrun) {
    const char* ok = Sjis("ロード失敗");
    EXPECT_STREQ(ok, "\x83\x8D\x81\x5B\x83\x68\x8E\xB8\x94\x73");
    EXPECT_EQ(Sjis("ロード失敗"), ok);
    // 0x5C as a trail byte (ソ is 83 5C) is no backslash.
    char utf8[32];
    PlatformSjisToUtf8("\x83\x5C", utf8, sizeof utf8);
    EXPECT_STREQ(utf8, "ソ");
    PlatformSjisToUtf8("A\x83", utf8, sizeof utf8);
    EXPECT_STREQ(utf8, "A?");
    char tiny[3];
    PlatformUtf8ToSjis("ステージ", tiny, sizeof tiny);
    EXPECT_LT(strlen(tiny), sizeof tiny);
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

    // Without a joystick the first failed read switches it off for the run.
    HeadlessAttachJoystick(0);
    HeadlessReset(0);
    for (int i = 0; i < 5; i++) PollInput();
    EXPECT_EQ(HeadlessJoystickReads(), 1u);
    EXPECT_NE(joyResult, 0u);
    joyResult = 0;
}
