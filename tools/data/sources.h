// Readers of the readable content sources: stage files and story chapters.
// Every problem is reported as "file:line: message".
#pragma once
#include <string>
#include <vector>

#include "play/gamedata.h"
#include "play/solver.h"

namespace datatool {

struct StageEntry {
    solver::Stage stage;
    int number;      // as written after "stage"
    int line;        // line of its "stage" header
    int startLine;   // line of its "start" setting
    bool malformed;  // already reported: not worth checking further
};

struct ChapterEntry {
    std::vector<StoryMessage> messages;
    std::vector<int> lines;
};

// Parses a stage file; appends problems to `errors`.
std::vector<StageEntry> ReadStageFile(const std::string& path, std::vector<std::string>* errors);
// The problems the game cannot live with (keys, warps, start, time class).
void CheckStageShape(const std::string& path, const StageEntry& entry,
                     std::vector<std::string>* errors);

ChapterEntry ReadChapterFile(const std::string& path, std::vector<std::string>* errors);
// Converts UTF-8 to CP932; false if a character has no CP932 form.
bool Utf8ToCp932(const std::string& utf8, std::string* out);

char TileLetter(unsigned code);
int TileOfLetter(char letter);  // -1 when unknown

}  // namespace datatool
