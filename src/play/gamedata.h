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

// The nine tables in file order, the one list that both the game's loader and
// the data tool are made from: X(type, name, dimensions, unit), where unit is
// the little-endian scalar the table is made of (a StartCell is two i32).
#define GAME_DATA_TABLES(X)                                                      \
    X(StartCell, courseStarts, [COURSE_STAGES], i32)                             \
    X(u8, courseMaps, [COURSE_STAGES][BOARD_CELLS], u8)                          \
    X(u8, courseTimeClasses, [COURSE_STAGES], u8)                                \
    X(u32, storyMessageCounts, [STORY_CHAPTERS], u32)                            \
    X(StoryMessage, storyMessages, [STORY_CHAPTERS][STORY_MESSAGES_PER_CHAPTER], \
      u8)                                                                        \
    X(StartCell, undergroundStarts, [UNDERGROUND_STAGES], i32)                   \
    X(u8, undergroundMaps, [UNDERGROUND_STAGES][BOARD_CELLS], u8)                \
    X(u8, undergroundTimeClasses, [UNDERGROUND_STAGES], u8)                      \
    X(u8, ruleMaps, [RULE_STAGES][BOARD_CELLS], u8)

#define GAME_DATA_DECLARE(type, name, dims, unit) extern type name dims;
GAME_DATA_TABLES(GAME_DATA_DECLARE)
#undef GAME_DATA_DECLARE

#define GAME_DATA_SIZE(type, name, dims, unit) +sizeof(type dims)
static_assert(0 GAME_DATA_TABLES(GAME_DATA_SIZE) == GAME_DATA_BYTES, "the tables fill the file");
#undef GAME_DATA_SIZE

void LoadGameData(void);
void RegisterGameDataGlobals(void);
