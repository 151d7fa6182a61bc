// The story scene: one chapter of message pages typed out over a background,
// with the speaker's portrait and now and then a photograph.
#pragma once
#include "base/common.h"
#include "play/gamedata.h"

const u32 STORY_TEXT_BYTES = sizeof(StoryMessage::text);

extern u32 storyStarted;
extern u32 messageCount;
extern StoryMessage chapterMessages[STORY_MESSAGES_PER_CHAPTER];
extern u8 messageIndex;
extern u32 visibleChars;
extern u32 typeDelay;
extern u32 typeTimer;
extern u32 messageComplete;
extern u8 advanceRequest;
extern u32 storyFinished;
extern u32 storySkipped;
extern u32 speakerShown[3];
extern u32 storyBackground;
extern u32 nextMarkTimer;
extern u8 nextMarkStep;
extern u8 nextMarkSequence[5];

u8 InitStory(void);
u8 RunStory(void);
u8 ExitStory(void);

// Draws the window, the next-page mark and the first `visibleCount`
// characters of a message text (at most STORY_TEXT_BYTES bytes, not
// necessarily NUL-terminated); the control pairs set `complete` and `request`.
void DrawStoryMessage(int x, int y, const char* text, u32 visibleCount, u32& complete, u8& request);
void DrawStoryCharacter(int textureId, u8 expression);
void DrawStoryPhoto(char tens, char units);

void RegisterStoryGlobals(void);
