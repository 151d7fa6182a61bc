// Control of the headless backend, for the simulator and the tests: a virtual
// clock, scripted input and messages, recorded draws and screenshots.
#pragma once
#include <cstdint>
#include <cstdio>

// Starts afresh: empty queue, nothing held, clock at `clock`.
void HeadlessReset(uint32_t clock);
void HeadlessSetTime(uint32_t clock);
uint32_t HeadlessTime(void);

void HeadlessSetKey(int virtualKey, int down);
void HeadlessReleaseAllKeys(void);
void HeadlessAttachJoystick(int attached);
// Axes 0..65535 and the mask of buttons 1..6 (bit n-1 for button n).
void HeadlessSetJoystick(uint32_t x, uint32_t y, uint32_t buttons);
uint32_t HeadlessJoystickReads(void);
void HeadlessSetMouse(int32_t x, int32_t y);

// Queues a message (PlatformEventType) for the message loop.
void HeadlessPushEvent(int type, uint32_t value);
// The next rendered frame takes `ms` of clock time.
void HeadlessSetLag(uint32_t ms);
// Deactivates the application; `ms` pass in the wait, then it is reactivated.
void HeadlessDeactivate(uint32_t ms);

// Frames rendered so far; during a frame, the number of that frame (from 1).
uint32_t HeadlessFrame(void);
// Called after each rendered frame is presented.
void HeadlessSetFrameHook(void (*hook)(uint32_t frame));
void HeadlessSetTrace(int kinds, FILE* out);
// Writes the picture of rendered frame `frame` to a PNG file.
void HeadlessRequestShot(uint32_t frame, const char* path);
// 0 when every requested shot was written.
int HeadlessShotErrors(void);

// Failure injection: the named platform calls fail while their bit is set.
enum HeadlessFailure {
    HEADLESS_FAIL_GRAPHICS = 1,
    HEADLESS_FAIL_DISPLAY_MODE = 2,
    HEADLESS_FAIL_DEVICE = 4,
    HEADLESS_FAIL_SPRITE = 8,
    HEADLESS_FAIL_FONT = 16,
    HEADLESS_FAIL_AUDIO = 32,
    HEADLESS_FAIL_MUSIC = 64,
};
void HeadlessSetFailures(int failures);
int HeadlessFailures(void);

// What the game has shown: message boxes so far, cursor count.
int HeadlessMessageCount(void);
const char* HeadlessLastMessage(void);  // UTF-8
int HeadlessCursorCount(void);
// The main window's title as last set, and how many times it was set.
const char* HeadlessWindowTitle(void);
int HeadlessTitleCount(void);
