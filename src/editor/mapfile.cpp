#include "editor/mapfile.h"

#include <cstdio>
#include <cstring>

#include "base/services.h"
#include "play/gamedata.h"
#include "play/playstate.h"

namespace {
const u32 NAME_BYTES = 64;

void PutI32(u8* out, i32 value) {
    for (int i = 0; i < 4; i++) out[i] = (u8)((u32)value >> (8 * i));
}

i32 GetI32(const u8* in) {
    return (i32)((u32)in[0] | (u32)in[1] << 8 | (u32)in[2] << 16 | (u32)in[3] << 24);
}

// Each part is read over the target's current bytes: a short file leaves the
// rest of the targets as they were.
void ReadMapFile(u8* boardOut, u8* timeClassOut, i32* playerXY) {
    char name[NAME_BYTES];
    MapFileName(stageNumber, name, sizeof name);
    int file = OpenGameFile(name, FILE_MODE_PROBE);
    if (file == INVALID_FILE) {
        ShowMessage(MESSAGE_OWNER_MAIN, Sjis("ファイルロード失敗"), "");
        return;
    }
    ReadGameFile(file, boardOut, BOARD_CELLS);
    ReadGameFile(file, timeClassOut, 1);
    u8 start[8];
    PutI32(start, playerXY[0]);
    PutI32(start + 4, playerXY[1]);
    ReadGameFile(file, start, sizeof start);
    playerXY[0] = GetI32(start);
    playerXY[1] = GetI32(start + 4);
    CloseGameFile(file);
}
}  // namespace

void MapFileName(u32 number, char* out, u32 size) {
    snprintf(out, size, "EditMap\\map_%02d.map", (int)number);
}

void SaveMap(const u8* cells, u8 timeClass, i32 startX, i32 startY) {
    char name[NAME_BYTES];
    MapFileName(stageNumber, name, sizeof name);
    int file = OpenGameFile(name, FILE_MODE_SAVE);
    if (file == INVALID_FILE) {
        ShowMessage(MESSAGE_OWNER_MAIN, Sjis("セーブ失敗"), "");
        return;
    }
    u8 start[8];
    PutI32(start, startX);
    PutI32(start + 4, startY);
    WriteGameFile(file, cells, BOARD_CELLS);
    WriteGameFile(file, &timeClass, 1);
    WriteGameFile(file, start, sizeof start);
    if (!CloseGameFile(file)) ShowMessage(MESSAGE_OWNER_MAIN, Sjis("セーブ失敗"), "");
}

u32 MapFileExists(void) {
    char name[NAME_BYTES];
    MapFileName(stageNumber, name, sizeof name);
    int file = OpenGameFile(name, FILE_MODE_PROBE);
    if (file == INVALID_FILE) return 0;
    CloseGameFile(file);
    return 1;
}

void LoadFreeMap(u8* boardOut, u8* wallMaskOut, u8* trailOut, u8* timeClassOut, i32* playerXY,
                 u8 source) {
    switch (source) {
        case FREE_SOURCE_COURSE:
            CopyTableStage(courseStarts, courseMaps, courseTimeClasses, COURSE_STAGES, boardOut,
                           timeClassOut, playerXY);
            break;
        case FREE_SOURCE_UNDERGROUND:
            CopyTableStage(undergroundStarts, undergroundMaps, undergroundTimeClasses,
                           UNDERGROUND_STAGES, boardOut, timeClassOut, playerXY);
            break;
        case FREE_SOURCE_OWN_MAPS: ReadMapFile(boardOut, timeClassOut, playerXY); break;
        default: return;
    }
    ResetBoardLayers(boardOut, wallMaskOut, trailOut);
}
