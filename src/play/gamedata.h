// The game data file "data.vrk": nine tables read whole, in this order, with
// no header. Read on the first frame of every visit to the title.
#pragma once
#include "base/common.h"

const int COURSE_STAGES = 30;
const int UNDERGROUND_STAGES = 50;
const int RULE_STAGES = 3;
const int STORY_CHAPTERS = 13;
const int STORY_MESSAGES_PER_CHAPTER = 31;
const int BOARD_CELLS = 64;
const u32 GAME_DATA_BYTES = 47190;

struct StartCell {
    i32 x, y;
};

// One page of story text: which portrait, which quarter of it, Shift-JIS text.
struct StoryMessage {
    u8 speaker;
    u8 expression;
    char text[100];
};
static_assert(sizeof(StoryMessage) == 102, "StoryMessage is 102 bytes in the file");

extern StartCell courseStarts[COURSE_STAGES];
extern u8 courseMaps[COURSE_STAGES][BOARD_CELLS];
extern u8 courseTimeClasses[COURSE_STAGES];
extern u32 storyMessageCounts[STORY_CHAPTERS];
extern StoryMessage storyMessages[STORY_CHAPTERS][STORY_MESSAGES_PER_CHAPTER];
extern StartCell undergroundStarts[UNDERGROUND_STAGES];
extern u8 undergroundMaps[UNDERGROUND_STAGES][BOARD_CELLS];
extern u8 undergroundTimeClasses[UNDERGROUND_STAGES];
extern u8 ruleMaps[RULE_STAGES][BOARD_CELLS];

void LoadGameData(void);
void RegisterGameDataGlobals(void);
