#include "play/gamedata.h"

#include "base/registry.h"
#include "base/services.h"

#define GAME_DATA_DEFINE(type, name, dims, unit) type name dims;
GAME_DATA_TABLES(GAME_DATA_DEFINE)
#undef GAME_DATA_DEFINE

namespace {
template <typename Unit>
constexpr GlobalType UnitType();
template <>
constexpr GlobalType UnitType<u8>() { return GLOBAL_U8; }
template <>
constexpr GlobalType UnitType<u32>() { return GLOBAL_U32; }
template <>
constexpr GlobalType UnitType<i32>() { return GLOBAL_I32; }
}  // namespace

// The byte counts delivered are deliberately not checked: a short file fills
// what it covers and the rest of each table keeps its contents.
void LoadGameData(void) {
    int file = OpenGameFile("data.vrk", FILE_MODE_LOAD);
    if (file == INVALID_FILE) ShowMessage(MESSAGE_OWNER_MAIN, Sjis("ロード失敗"), "");
#define GAME_DATA_READ(type, name, dims, unit) ReadGameFile(file, name, sizeof name);
    GAME_DATA_TABLES(GAME_DATA_READ)
#undef GAME_DATA_READ
    CloseGameFile(file);
}

void RegisterGameDataGlobals(void) {
#define GAME_DATA_REGISTER(type, name, dims, unit) REG_FLAT(name, UnitType<unit>(), unit);
    GAME_DATA_TABLES(GAME_DATA_REGISTER)
#undef GAME_DATA_REGISTER
}
