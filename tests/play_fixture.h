// Shared set-up for the play tests: a private working directory, a fresh play
// state, loaded effect slots whose plays are recorded, and a frame driver that
// feeds buttons through the real input state table.
#pragma once
#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "input/input.h"
#include "platform/headless.h"
#include "play/gamedata.h"
#include "play/playstate.h"
#include "play/rules.h"
#include "play_reset.h"
#include "save/save.h"
#include "scenes/wipe.h"
#include "sound/effects.h"

namespace playtest {

// Whole files, for byte-for-byte checks of what the game writes and reads.
inline std::vector<u8> ReadAll(const char* path) {
    std::vector<u8> bytes;
    FILE* f = fopen(path, "rb");
    if (!f) return bytes;
    int c;
    while ((c = fgetc(f)) != EOF) bytes.push_back((u8)c);
    fclose(f);
    return bytes;
}

inline void WriteAll(const char* path, const std::vector<u8>& bytes) {
    FILE* f = fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// Button levels for one frame, fed through the state table as a poll would.
struct Buttons {
    bool up, down, left, right, a, b;
};
const Buttons NONE = {false, false, false, false, false, false};
const Buttons UP = {true, false, false, false, false, false};
const Buttons DOWN = {false, true, false, false, false, false};
const Buttons LEFT = {false, false, true, false, false, false};
const Buttons RIGHT = {false, false, false, true, false, false};
const Buttons A = {false, false, false, false, true, false};
const Buttons B = {false, false, false, false, false, true};

// Each test runs in an empty directory of its own: parallel runs never meet.
class PlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(getcwd(oldDir, sizeof oldDir), nullptr);
        snprintf(dir, sizeof dir, "/tmp/ossmire-play-XXXXXX");
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_EQ(chdir(dir), 0);
        HeadlessReset(1000000);
        trace = open_memstream(&traceText, &traceSize);
        HeadlessSetTrace(TRACE_WAVE | TRACE_MSGBOX, trace);
        PlatformWaveFormat format = {1, 1, 22050, 44100, 2, 16};
        for (int i = 0; i < PLAY_WAVE_COUNT; i++) waveBuffers[i] = PlatformCreateWave(&format, 2);
        ResetPlayState();
        messagesBefore = HeadlessMessageCount();
    }

    void TearDown() override {
        for (int i = 0; i < PLAY_WAVE_COUNT; i++) ReleaseWave(&waveBuffers[i]);
        HeadlessSetTrace(0, nullptr);
        fclose(trace);
        free(traceText);
        if (chdir(oldDir) != 0) ADD_FAILURE() << "cannot return to " << oldDir;
        std::string command = std::string("rm -rf ") + dir;
        if (system(command.c_str()) != 0) ADD_FAILURE() << "cannot remove " << dir;
    }

    // Effect slots played since the last call, in order.
    std::vector<int> TakeSounds() {
        fflush(trace);
        std::vector<int> slots;
        std::string text(traceText ? traceText + traceRead : "", traceSize - traceRead);
        traceRead = traceSize;
        size_t at = 0;
        while ((at = text.find("wave play slot=", at)) != std::string::npos) {
            at += strlen("wave play slot=");
            slots.push_back(atoi(text.c_str() + at));
        }
        return slots;
    }

    std::string TraceSoFar() {
        fflush(trace);
        return std::string(traceText ? traceText : "", traceSize);
    }

    int NewMessages() { return HeadlessMessageCount() - messagesBefore; }

    // Lines of one trace kind since the last frame's end, without their prefix.
    std::vector<std::string> TakeLines(const char* kind) {
        fflush(trace);
        std::string text(traceText ? traceText + lineRead : "", traceSize - lineRead);
        std::string prefix = std::string(kind) + " ";
        std::vector<std::string> lines;
        for (size_t at = 0; (at = text.find(prefix, at)) != std::string::npos;) {
            size_t end = text.find('\n', at);
            lines.push_back(text.substr(at + prefix.size(), end - at - prefix.size()));
            at = end;
        }
        return lines;
    }
    void EndFrame() {
        fflush(trace);
        lineRead = traceSize;
    }
    std::vector<std::string> TakeSprites() {
        std::vector<std::string> lines = TakeLines("sprite");
        EndFrame();
        return lines;
    }
    // "tex=N x=X y=Y src=L,T,R,B" of a sprite line.
    static std::string Where(const std::string& line) {
        return line.substr(0, line.find(" scale"));
    }

    void Press(const Buttons& held) {
        inputUp = NextButtonState(inputUp, held.up);
        inputDown = NextButtonState(inputDown, held.down);
        inputLeft = NextButtonState(inputLeft, held.left);
        inputRight = NextButtonState(inputRight, held.right);
        inputA = NextButtonState(inputA, held.a);
        inputB = NextButtonState(inputB, held.b);
    }

    // One frame of play at 16 ms: input, the step, the clock, the cell rules.
    void PlayFrame(const Buttons& held) {
        HeadlessSetTime(HeadlessTime() + 16);
        Press(held);
        RunStep();
        TickClock();
        RunCellRules();
    }

    // A stage in play on `cells`, the player at (x, y).
    void StartOn(const u8* cells, i32 x, i32 y, u8 stageTimeClass = 0) {
        memcpy(board, cells, 64);
        ResetBoardLayers(board, wallMask, trail);
        playerX = x;
        playerY = y;
        timeClass = stageTimeClass;
        introDone = 1;
        StartStage();
        lastTick = HeadlessTime();
    }

    char oldDir[PATH_MAX];
    char dir[64];
    FILE* trace = nullptr;
    char* traceText = nullptr;
    size_t traceSize = 0;
    size_t traceRead = 0;
    size_t lineRead = 0;
    int messagesBefore = 0;
};

// What `draw` traces of `kinds`, outside any fixture.
template <typename Draw>
std::string Traced(Draw draw, int kinds = TRACE_SPRITE | TRACE_TEXT) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    HeadlessSetTrace(kinds, out);
    draw();
    HeadlessSetTrace(0, nullptr);
    fclose(out);
    std::string text(buffer, size);
    free(buffer);
    return text;
}

// A board from eight rows of characters, '|' between rows: . floor, # wall,
// w walked, b bonus, p penalty, s switch, g gate, 1-4 keys, k taken goal, @ warp.
inline void BoardFrom(const char* rows, u8* cells) {
    const char codes[] = ".w#bpsg1234k@";
    for (int i = 0; i < 64 && *rows; rows++) {
        if (*rows == '|') continue;
        const char* found = strchr(codes, *rows);
        cells[i++] = found ? (u8)(found - codes) : 0;
    }
}

}  // namespace playtest
