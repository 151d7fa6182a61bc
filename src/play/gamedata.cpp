#include "play/gamedata.h"

#include "base/registry.h"
#include "base/services.h"

StartCell courseStarts[COURSE_STAGES];
u8 courseMaps[COURSE_STAGES][BOARD_CELLS];
u8 courseTimeClasses[COURSE_STAGES];
u32 storyMessageCounts[STORY_CHAPTERS];
StoryMessage storyMessages[STORY_CHAPTERS][STORY_MESSAGES_PER_CHAPTER];
StartCell undergroundStarts[UNDERGROUND_STAGES];
u8 undergroundMaps[UNDERGROUND_STAGES][BOARD_CELLS];
u8 undergroundTimeClasses[UNDERGROUND_STAGES];
u8 ruleMaps[RULE_STAGES][BOARD_CELLS];

// The byte counts delivered are deliberately not checked: a short file fills
// what it covers and the rest of each table keeps its contents.
void LoadGameData(void) {
    int file = OpenGameFile("data.vrk", FILE_MODE_LOAD);
    if (file == INVALID_FILE) ShowMessage(MESSAGE_OWNER_MAIN, Sjis("ロード失敗"), "");
    ReadGameFile(file, courseStarts, sizeof courseStarts);
    ReadGameFile(file, courseMaps, sizeof courseMaps);
    ReadGameFile(file, courseTimeClasses, sizeof courseTimeClasses);
    ReadGameFile(file, storyMessageCounts, sizeof storyMessageCounts);
    ReadGameFile(file, storyMessages, sizeof storyMessages);
    ReadGameFile(file, undergroundStarts, sizeof undergroundStarts);
    ReadGameFile(file, undergroundMaps, sizeof undergroundMaps);
    ReadGameFile(file, undergroundTimeClasses, sizeof undergroundTimeClasses);
    ReadGameFile(file, ruleMaps, sizeof ruleMaps);
    CloseGameFile(file);
}

void RegisterGameDataGlobals(void) {
    REG_FLAT(courseStarts, GLOBAL_I32, i32);
    REG_FLAT(courseMaps, GLOBAL_U8, u8);
    REG_FLAT(courseTimeClasses, GLOBAL_U8, u8);
    REG_FLAT(storyMessageCounts, GLOBAL_U32, u32);
    REG_FLAT(storyMessages, GLOBAL_U8, u8);
    REG_FLAT(undergroundStarts, GLOBAL_I32, i32);
    REG_FLAT(undergroundMaps, GLOBAL_U8, u8);
    REG_FLAT(undergroundTimeClasses, GLOBAL_U8, u8);
    REG_FLAT(ruleMaps, GLOBAL_U8, u8);
}
