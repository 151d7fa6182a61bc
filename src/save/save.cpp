#include "save/save.h"

#include "base/registry.h"
#include "base/services.h"
#include "play/playstate.h"

BestTime bestCourse = {356400, 99, 60, 60};
BestTime bestUnderground = {356400, 99, 60, 60};

namespace {
const char PROGRESS_FILE[] = "sav_1.vrk";
const char BEST_TIMES_FILE[] = "sav_2.vrk";
const char UNDERGROUND_FILE[] = "sav_3.vrk";

u32* const progressValues[] = {&stageNumber,        &storyChapter,  &courseSeconds,
                               &undergroundSeconds, &courseCleared, &extrasUnlocked,
                               &undergroundCleared};
const int PROGRESS_COUNT = sizeof progressValues / sizeof progressValues[0];

void PutU32(u8* out, u32 value) {
    for (int i = 0; i < 4; i++) out[i] = (u8)(value >> (8 * i));
}

u32 GetU32(const u8* in) {
    return (u32)in[0] | (u32)in[1] << 8 | (u32)in[2] << 16 | (u32)in[3] << 24;
}

// A short file replaces only the low-order bytes it covers, so each value is
// read over its own current bytes.
void ReadValues(int file, u32* const* values, int count) {
    for (int i = 0; i < count; i++) {
        u8 bytes[4];
        PutU32(bytes, *values[i]);
        ReadGameFile(file, bytes, 4);
        *values[i] = GetU32(bytes);
    }
}

void WriteValues(int file, u32* const* values, int count) {
    for (int i = 0; i < count; i++) {
        u8 bytes[4];
        PutU32(bytes, *values[i]);
        WriteGameFile(file, bytes, 4);
    }
}

int OpenForLoad(const char* path) {
    int file = OpenGameFile(path, FILE_MODE_LOAD);
    if (file == INVALID_FILE) ShowMessage(MESSAGE_OWNER_MAIN, Sjis("ロード失敗"), "");
    return file;
}

int OpenForSave(const char* path) {
    int file = OpenGameFile(path, FILE_MODE_SAVE);
    if (file == INVALID_FILE) ShowMessage(MESSAGE_OWNER_MAIN, Sjis("セーブ失敗"), "");
    return file;
}

void Close(int file) {
    if (file != INVALID_FILE) CloseGameFile(file);
}

// The written data may still fail to replace the file (the disk filled up,
// the target turned into a folder): the player hears about that too.
void CloseSaved(int file) {
    if (file != INVALID_FILE && !CloseGameFile(file))
        ShowMessage(MESSAGE_OWNER_MAIN, Sjis("セーブ失敗"), "");
}

// Both records in file order, for one transfer of 32 bytes.
void BestTimesToBytes(u8* bytes) {
    const BestTime* records[2] = {&bestCourse, &bestUnderground};
    for (int r = 0; r < 2; r++) {
        PutU32(bytes + 16 * r, records[r]->totalSeconds);
        PutU32(bytes + 16 * r + 4, records[r]->hours);
        PutU32(bytes + 16 * r + 8, records[r]->minutes);
        PutU32(bytes + 16 * r + 12, records[r]->seconds);
    }
}

void BestTimesFromBytes(const u8* bytes) {
    BestTime* records[2] = {&bestCourse, &bestUnderground};
    for (int r = 0; r < 2; r++) {
        records[r]->totalSeconds = GetU32(bytes + 16 * r);
        records[r]->hours = GetU32(bytes + 16 * r + 4);
        records[r]->minutes = GetU32(bytes + 16 * r + 8);
        records[r]->seconds = GetU32(bytes + 16 * r + 12);
    }
}
}  // namespace

void LoadProgress(void) {
    int file = OpenForLoad(PROGRESS_FILE);
    if (file != INVALID_FILE) ReadValues(file, progressValues, PROGRESS_COUNT);
    Close(file);
}

void SaveProgress(void) {
    int file = OpenForSave(PROGRESS_FILE);
    if (file != INVALID_FILE) WriteValues(file, progressValues, PROGRESS_COUNT);
    CloseSaved(file);
}

void LoadBestTimes(void) {
    int file = OpenForLoad(BEST_TIMES_FILE);
    if (file == INVALID_FILE) return;
    u8 bytes[32];
    BestTimesToBytes(bytes);
    ReadGameFile(file, bytes, sizeof bytes);
    BestTimesFromBytes(bytes);
    Close(file);
}

void SaveBestTimes(void) {
    int file = OpenForSave(BEST_TIMES_FILE);
    if (file == INVALID_FILE) return;
    u8 bytes[32];
    BestTimesToBytes(bytes);
    WriteGameFile(file, bytes, sizeof bytes);
    CloseSaved(file);
}

void LoadUndergroundBest(void) {
    u32* const values[] = {&undergroundBest};
    int file = OpenForLoad(UNDERGROUND_FILE);
    if (file != INVALID_FILE) ReadValues(file, values, 1);
    Close(file);
}

void SaveUndergroundBest(void) {
    u32* const values[] = {&undergroundBest};
    int file = OpenForSave(UNDERGROUND_FILE);
    if (file != INVALID_FILE) WriteValues(file, values, 1);
    CloseSaved(file);
}

void RoundToCheckpoint(void) {
    if (stageNumber <= 29) stageNumber -= stageNumber % 5;
}

void RegisterSaveGlobals(void) {
    REG_FIELD(bestCourse, totalSeconds, GLOBAL_U32);
    REG_FIELD(bestCourse, hours, GLOBAL_U32);
    REG_FIELD(bestCourse, minutes, GLOBAL_U32);
    REG_FIELD(bestCourse, seconds, GLOBAL_U32);
    REG_FIELD(bestUnderground, totalSeconds, GLOBAL_U32);
    REG_FIELD(bestUnderground, hours, GLOBAL_U32);
    REG_FIELD(bestUnderground, minutes, GLOBAL_U32);
    REG_FIELD(bestUnderground, seconds, GLOBAL_U32);
}
