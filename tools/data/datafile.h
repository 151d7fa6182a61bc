// The image of "data.vrk": the nine tables in file order.
#pragma once
#include <string>

#include "play/gamedata.h"
#include "play/solver.h"

namespace datatool {

// The same tables as the game's, as one value the tool can fill and compare.
struct GameDataImage {
#define GAME_DATA_MEMBER(type, name, dims, unit) type name dims;
    GAME_DATA_TABLES(GAME_DATA_MEMBER)
#undef GAME_DATA_MEMBER
};

// Serialises little-endian, exactly GAME_DATA_BYTES long.
std::string EncodeGameData(const GameDataImage& image);
// Reads whatever the bytes cover; the rest stays zero. False when short.
bool DecodeGameData(const std::string& bytes, GameDataImage* image);

enum CourseKind { COURSE_MAIN, COURSE_UNDERGROUND, COURSE_RULE };
solver::Stage StageOf(const GameDataImage& image, CourseKind kind, int index);
void PutStage(GameDataImage* image, CourseKind kind, int index, const solver::Stage& stage);

}  // namespace datatool
