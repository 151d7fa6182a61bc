// Boards for the solver's tests, written as rows of letters: the stage
// source alphabet, with '*' a taken goal and '?' a code the game does not
// know. Missing rows and the cells past a short row are walls.
#pragma once
#include <cstring>
#include <initializer_list>

#include "play/solver.h"

inline solver::Stage Board(std::initializer_list<const char*> rows, int x, int y,
                           u8 timeClass = 0) {
    const char* letters = ".x#+-SG1234*W?";
    solver::Stage s;
    memset(&s, 0, sizeof s);
    memset(s.cells, TILE_WALL, 64);
    int row = 0;
    for (const char* r : rows) {
        for (int col = 0; col < 8 && r[col]; col++) {
            s.cells[col + 8 * row] = (u8)(strchr(letters, r[col]) - letters);
        }
        row++;
    }
    s.startX = x;
    s.startY = y;
    s.timeClass = timeClass;
    return s;
}

inline solver::SolveResult Solve(const solver::Stage& s) {
    solver::SolveResult r;
    solver::SolveStage(s, solver::DefaultSolveOptions(), &r);
    return r;
}
