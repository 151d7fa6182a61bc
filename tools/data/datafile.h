// The image of "data.vrk": the nine tables in file order.
#pragma once
#include <string>

#include "play/gamedata.h"
#include "play/solver.h"

namespace datatool {

struct GameDataImage {
    StartCell courseStarts[COURSE_STAGES];
    u8 courseMaps[COURSE_STAGES][BOARD_CELLS];
    u8 courseTimeClasses[COURSE_STAGES];
    u32 storyMessageCounts[STORY_CHAPTERS];
    StoryMessage storyMessages[STORY_CHAPTERS][STORY_MESSAGES_PER_CHAPTER];
    StartCell undergroundStarts[UNDERGROUND_STAGES];
    u8 undergroundMaps[UNDERGROUND_STAGES][BOARD_CELLS];
    u8 undergroundTimeClasses[UNDERGROUND_STAGES];
    u8 ruleMaps[RULE_STAGES][BOARD_CELLS];
};

// Table offsets in the file.
const u32 OFFSET_COURSE_STARTS = 0;
const u32 OFFSET_COURSE_MAPS = 240;
const u32 OFFSET_COURSE_TIME_CLASSES = 2160;
const u32 OFFSET_STORY_COUNTS = 2190;
const u32 OFFSET_STORY_MESSAGES = 2242;
const u32 OFFSET_UNDERGROUND_STARTS = 43348;
const u32 OFFSET_UNDERGROUND_MAPS = 43748;
const u32 OFFSET_UNDERGROUND_TIME_CLASSES = 46948;
const u32 OFFSET_RULE_MAPS = 46998;

// Serialises little-endian, exactly GAME_DATA_BYTES long.
std::string EncodeGameData(const GameDataImage& image);
// Reads whatever the bytes cover; the rest stays zero. False when short.
bool DecodeGameData(const std::string& bytes, GameDataImage* image);

enum CourseKind { COURSE_MAIN, COURSE_UNDERGROUND, COURSE_RULE };
solver::Stage StageOf(const GameDataImage& image, CourseKind kind, int index);
void PutStage(GameDataImage* image, CourseKind kind, int index, const solver::Stage& stage);

}  // namespace datatool
