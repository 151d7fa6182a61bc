// data.vrk as LoadGameData reads it, then every story message laid out the
// way the story scene types it, each chapter's set-up, and a stage of each
// course set up and played for a few frames from the loaded tables.
#include "fuzz_common.h"
#include "play/gamedata.h"
#include "scenes/story.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::SetUp();
    fuzz::WriteFile("data.vrk", data, size);
    LoadGameData();

    for (int c = 0; c < STORY_CHAPTERS; c++) {
        for (int m = 0; m < STORY_MESSAGES_PER_CHAPTER; m++) {
            const StoryMessage& message = storyMessages[c][m];
            u32 complete = 0;
            u8 request = 0;
            DrawStoryMessage(120, 350, message.text, 2 * STORY_TEXT_BYTES, complete, request);
            DrawStoryCharacter(0, message.expression);
            // The real renderer converts each drawn string to UTF-8.
            char text[STORY_TEXT_BYTES + 1] = {};
            memcpy(text, message.text, STORY_TEXT_BYTES);
            char utf8[4 * STORY_TEXT_BYTES];
            PlatformSjisToUtf8(text, utf8, sizeof utf8);
        }
    }
    for (u32 c = 0; c <= (u32)STORY_CHAPTERS; c++) {
        storyChapter = c;
        storyStarted = storyFinished = storySkipped = 0;
        fuzz::EnterScene(SCENE_STORY);
        for (int f = 0; f < 6; f++) fuzz::Frame(f & 1 ? 0x10 : 0);
    }

    // One stage of each kind, picked by the input, played with its bytes as buttons.
    const u32 counts[3] = {COURSE_STAGES, UNDERGROUND_STAGES, RULE_STAGES};
    for (u32 kind = 0; kind < 3; kind++) {
        fuzz::ResetPlay(kind == 1, kind == 2, 0);
        stageNumber = size > kind ? data[kind] % (counts[kind] + 1) : 0;
        introDone = 1;
        fuzz::EnterScene(SCENE_PLAY);
        for (size_t f = 0; f < 48; f++) fuzz::Frame(size > 8 + f ? data[8 + f] & 0x1F : 0);
    }
    return 0;
}
