// One stage as the tools see it: the board, where the player starts and the
// time class. Tile codes are the game's own.
#pragma once
#include <cstdint>

#include "base/common.h"
#include "play/playstate.h"

namespace solver {

typedef uint64_t u64;

struct Stage {
    u8 cells[64];
    i32 startX, startY;
    u8 timeClass;
};

inline int CellIndex(int x, int y) { return x + 8 * y; }

}  // namespace solver
