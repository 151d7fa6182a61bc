#include "scenes/story.h"

#include <cstring>

#include "base/registry.h"
#include "base/scene.h"
#include "graphics/sprites.h"
#include "input/input.h"
#include "play/playstate.h"
#include "playscreen/playfield.h"
#include "save/save.h"
#include "scenes/wipe.h"
#include "sound/effects.h"
#include "sound/music.h"

u32 storyStarted;
u32 messageCount;
StoryMessage chapterMessages[STORY_MESSAGES_PER_CHAPTER];
u8 messageIndex;
u32 visibleChars = 1;
u32 typeDelay = 4;
u32 typeTimer;
u32 messageComplete;
u8 advanceRequest;
u32 storyFinished;
u32 storySkipped;
u32 speakerShown[3];
u32 storyBackground;
u32 nextMarkTimer;
u8 nextMarkStep;
u8 nextMarkSequence[5] = {0, 1, 2, 1, 3};

namespace {
const u32 TYPE_DELAY_SLOW = 4;
const u32 CHARS_PER_LINE = 17;
const int CELL = 23;
const u32 TEXT_COLOR = 0xC8FFFFFFu;
const u32 WINDOW_COLOR = 0x96FFFFFFu;
const int TEXT_FONT = 3;

void SetUpChapter(void) {
    storyStarted = 1;
    messageComplete = 0;
    advanceRequest = 0;
    messageIndex = 0;
    typeDelay = TYPE_DELAY_SLOW;
    typeTimer = 0;
    visibleChars = 1;
    // A chapter number past the tables reads as an empty chapter, and a count
    // above the table's 31 messages is cut to 31.
    messageCount = storyChapter < (u32)STORY_CHAPTERS ? storyMessageCounts[storyChapter] : 0;
    if (messageCount > (u32)STORY_MESSAGES_PER_CHAPTER) messageCount = STORY_MESSAGES_PER_CHAPTER;
    if (messageCount > 0) {
        memcpy(chapterMessages, storyMessages[storyChapter], messageCount * sizeof(StoryMessage));
    }
    memset(speakerShown, 0, sizeof speakerShown);
    // An empty chapter (missing data) has nothing to show: it ends at once
    // and the game flows on as after a finished chapter.
    if (messageCount == 0) storyFinished = 1;
}

void ReadStoryInput(void) {
    if (wipeActive || wipeCovered) return;
    if (inputB == BUTTON_PRESSED) storySkipped = 1;
    if (inputA == BUTTON_PRESSED && messageComplete == 1) {
        advanceRequest += 2;
        messageComplete = 0;
    }
    if (inputA == BUTTON_PRESSED) typeDelay = 0;
}

void NextMessage(void) {
    if (advanceRequest != 2 || storyFinished) return;
    typeTimer = 0;
    visibleChars = 1;
    advanceRequest = 0;
    typeDelay = TYPE_DELAY_SLOW;
    messageIndex++;
    if (messageIndex >= messageCount) storyFinished = 1;
}

void TypeOn(void) {
    if (wipeCovered) return;
    typeTimer++;
    if (typeTimer > typeDelay) {
        typeTimer = 0;
        visibleChars++;
    }
}

const StoryMessage* CurrentMessage(void) {
    return messageIndex < messageCount ? &chapterMessages[messageIndex] : nullptr;
}

void ChooseSpeaker(const StoryMessage* message) {
    memset(speakerShown, 0, sizeof speakerShown);
    // A speaker past the three portraits shows none.
    if (message && message->speaker < 3) speakerShown[message->speaker] = 1;
}

void ChooseBackground(void) {
    switch (storyChapter) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 5:
        case 10: storyBackground = TEXTURE_GAMEADV_BACKGROUND01; break;
        case 4:
        case 9:
        case 12: storyBackground = TEXTURE_GAMEADV_BACKGROUND02; break;
        case 6:
        case 7:
        case 8:
        case 11: storyBackground = TEXTURE_GAMEADV_BACKGROUND03; break;
        default: break;
    }
}

void DrawPage(const StoryMessage* message) {
    if (!message) return;
    for (int k = 0; k < 3; k++) {
        if (speakerShown[k])
            DrawStoryCharacter(TEXTURE_GAMEADV_CHARACTER_1 + k, message->expression);
    }
    if (!wipeCovered) {
        DrawStoryMessage(120, 350, message->text, visibleChars, messageComplete, advanceRequest);
    }
}

void ReturnToTitle(void) {
    wipeActive = 0;
    wipeCovered = 0;
    wipeX = -640;
    sceneId = SCENE_TITLE;
}

void DrawNextMark(u32 complete) {
    if (!complete) {
        nextMarkTimer = 0;
        nextMarkStep = 0;
        return;
    }
    if (nextMarkStep >= 4) nextMarkStep = 0;
    nextMarkTimer++;
    if (nextMarkTimer > 10) {
        nextMarkStep++;
        nextMarkTimer = 0;
        if (nextMarkSequence[nextMarkStep] == 3) nextMarkStep = 0;
    }
    i32 left = 40 * nextMarkSequence[nextMarkStep];
    DrawSprite(TEXTURE_GAMEADV_WINDOW, 490.0f, 400.0f, RECT{left, 120, left + 40, 160});
}

bool IsLeadByte(u8 b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// One text cell from a two-byte unit. A unit is one double-byte character or
// two single-byte ones; a lead byte in its second half (a character cut by
// the unit grid, or the field's last byte) is dropped rather than drawn as
// half a character.
void DrawCell(u8 first, u8 second, int x, int y) {
    char cell[3] = {(char)first, (char)second, 0};
    if (second == 0 || (!IsLeadByte(first) && IsLeadByte(second))) cell[1] = 0;
    if (IsLeadByte(first) && second == 0) return;
    DrawString(cell, x, y, TEXT_COLOR, TEXT_FONT);
}

// Walks the text as far as `visibleCount` characters reach. Pairs right after
// the last visible character act in the same frame, so an end mark takes
// effect as the character before it appears. A quiet pass (`draw` clear)
// only looks for the end mark.
void ScanMessage(int x, int y, const u8* bytes, u32 visibleCount, u32& complete, u8& request,
                 bool draw) {
    u32 pos = 0, line = 0, column = 0, shown = 0;
    while (pos + 1 < STORY_TEXT_BYTES && bytes[pos] != 0) {
        u8 first = bytes[pos], second = bytes[pos + 1];
        if (first == '#') {
            if (second == 0) break;
            if (second == 'e') complete = 1;
            if (second == 'n') line++, column = 0;
            if (second == 's' && draw) request += 2;
            if (second == 'p') {
                if (pos + 3 >= STORY_TEXT_BYTES) break;
                if (draw) DrawStoryPhoto((char)bytes[pos + 2], (char)bytes[pos + 3]);
                pos += 2;
            }
            pos += 2;
            continue;
        }
        if (shown >= visibleCount) break;
        if (column >= CHARS_PER_LINE) line++, column = 0;
        if (draw) DrawCell(first, second, x + CELL * (int)column, y + CELL * (int)line);
        if (second == 0) break;
        pos += 2;
        column++;
        shown++;
    }
}
}  // namespace

u8 InitStory(void) {
    LoadSceneWaves(STORY_WAVES);
    LoadSceneMusic(STORY_MUSIC);
    TurnDownSceneWaves();
    PlaySceneMusic();
    return SCENE_PHASE_RUN;
}

u8 RunStory(void) {
    if (!storyStarted) SetUpChapter();
    ReadStoryInput();
    NextMessage();
    if (storyFinished || storySkipped) {
        wipeActive = 1;
        if (wipeCovered == 1) {
            storyStarted = 0;
            storyChapter++;
            storyFinished = 0;
            storySkipped = 0;
            messageComplete = 0;
            return SCENE_PHASE_EXIT;
        }
    }
    TypeOn();
    bool showing = !storyFinished && !storySkipped;
    if (showing) ChooseSpeaker(CurrentMessage());
    ChooseBackground();
    DrawFullScreen((int)storyBackground);
    if (showing) DrawPage(CurrentMessage());
    DrawFps(10, 10);
    StepSceneWipe(nullptr);
    return SCENE_PHASE_RUN;
}

u8 ExitStory(void) {
    ReleaseSceneWaves();
    ReleaseSceneMusic();
    switch (storyChapter) {
        case 7:
        case 8:
        case 9:
            storyChapter = 9;
            sceneId = SCENE_ENDING;
            break;
        case 12: sceneId = SCENE_ENDING; break;
        case 4:
            stageNumber = 0;
            ReturnToTitle();
            break;
        case 10:
        case 13:
            SaveProgress();
            ReturnToTitle();
            break;
        case 5: sceneId = SCENE_STORY; break;
        default: sceneId = SCENE_PLAY; break;
    }
    return SCENE_PHASE_INIT;
}

// The scan never leaves the 100-byte field: a message without an end mark
// or a terminating zero stops at the field's end.
void DrawStoryMessage(int x, int y, const char* text, u32 visibleCount, u32& complete,
                      u8& request) {
    SetSpriteColor(WINDOW_COLOR, 0);
    DrawSprite(TEXTURE_GAMEADV_WINDOW, 100.0f, 330.0f, RECT{0, 0, 440, 120});
    // A quiet pass first, so that an end mark reached in this frame shows
    // its next-page mark in this frame too, under the text.
    ScanMessage(x, y, (const u8*)text, visibleCount, complete, request, false);
    DrawNextMark(complete);
    ScanMessage(x, y, (const u8*)text, visibleCount, complete, request, true);
}

void DrawStoryCharacter(int textureId, u8 expression) {
    // An expression past the sheet's four quarters shows the first.
    if (expression > 3) expression = 0;
    i32 left = 320 * (expression & 1), top = 480 * (expression >> 1);
    DrawSprite(textureId, 160.0f, 0.0f, RECT{left, top, left + 320, top + 480});
}

void DrawStoryPhoto(char tens, char units) {
    // Anything but two digits names no photograph.
    if ((tens != '0' && tens != '1') || units < '0' || units > '9') return;
    int number = 10 * (tens - '0') + (units - '0');
    if (number == 1) {
        DrawSprite(TEXTURE_GAMEADV_PHOTO01, 160.0f, 60.0f, RECT{0, 0, 320, 240});
    } else if (number == 2) {
        DrawSprite(TEXTURE_GAMEADV_PHOTO02, 160.0f, 60.0f, RECT{0, 0, 320, 240});
    }
}

void RegisterStoryGlobals(void) {
    REG_U32(storyStarted);
    REG_U32(messageCount);
    REG_FLAT(chapterMessages, GLOBAL_U8, u8);
    REG_U8(messageIndex);
    REG_U32(visibleChars);
    REG_U32(typeDelay);
    REG_U32(typeTimer);
    REG_U32(messageComplete);
    REG_U8(advanceRequest);
    REG_U32(storyFinished);
    REG_U32(storySkipped);
    REG_ARRAY(speakerShown, GLOBAL_U32);
    REG_U32(storyBackground);
    REG_U32(nextMarkTimer);
    REG_U8(nextMarkStep);
    REG_ARRAY(nextMarkSequence, GLOBAL_U8);
}
