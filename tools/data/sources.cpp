#include "data/sources.h"

#include <iconv.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace datatool {

namespace {
// Board letters by tile code; codes 1 and 11 never appear in a fresh stage.
const char TILE_LETTERS[] = ".x#+-SG1234*W";

std::string Where(const std::string& path, int line) {
    return path + ":" + std::to_string(line) + ": ";
}

bool ReadLines(const std::string& path, std::vector<std::string>* lines,
               std::vector<std::string>* errors) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        errors->push_back(path + ": cannot be read");
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines->push_back(line);
    }
    return true;
}

bool IsBlankOrComment(const std::string& line) {
    size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == ';';
}

// Reads "word n [m]" and returns how many numbers followed the word.
int ReadNumbers(const std::string& line, const char* word, long* a, long* b) {
    std::istringstream in(line);
    std::string head, extra;
    in >> head;
    if (head != word) return -1;
    int count = 0;
    if (in >> *a) count++;
    if (count == 1 && (in >> *b)) count++;
    if (in >> extra) return -2;
    return count;
}

struct StageParser {
    const std::string& path;
    std::vector<std::string>* errors;
    std::vector<StageEntry> stages;
    StageEntry current;
    int boardRows = 0;
    bool open = false, haveTime = false, haveStart = false;

    void Error(int line, const std::string& message) {
        errors->push_back(Where(path, line) + message);
        current.malformed = true;
    }

    void Finish(int line) {
        if (!open) return;
        if (boardRows != 8)
            Error(line, "stage " + std::to_string(current.number) + " has " +
                            std::to_string(boardRows) + " board rows, not 8");
        if (!haveTime) Error(current.line, "stage has no \"time\" line");
        if (!haveStart) Error(current.line, "stage has no \"start\" line");
        stages.push_back(current);
        open = false;
    }

    void Header(int line, const std::string& text) {
        Finish(line);
        memset(&current, 0, sizeof current);
        current.line = current.startLine = line;
        boardRows = 0;
        open = true;
        haveTime = haveStart = false;
        long number = 0, unused = 0;
        if (ReadNumbers(text, "stage", &number, &unused) != 1) {
            return Error(line, "expected \"stage N\"");
        }
        current.number = (int)number;
        int expected = (int)stages.size() + 1;
        if (number != expected) {
            Error(line, "stage " + std::to_string(number) + " out of order, expected " +
                            std::to_string(expected));
        }
    }

    void Setting(int line, const std::string& text) {
        long a = 0, b = 0;
        if (text.compare(0, 4, "time") == 0) {
            haveTime = true;
            if (ReadNumbers(text, "time", &a, &b) != 1) return Error(line, "expected \"time C\"");
            if (a < 0 || a > 2)
                return Error(line, "time class " + std::to_string(a) + " is outside 0..2");
            current.stage.timeClass = (u8)a;
        } else if (text.compare(0, 5, "start") == 0) {
            haveStart = true;
            current.startLine = line;
            if (ReadNumbers(text, "start", &a, &b) != 2)
                return Error(line, "expected \"start X Y\"");
            if (a < 0 || a > 7 || b < 0 || b > 7) {
                return Error(line, "start cell " + std::to_string(a) + " " + std::to_string(b) +
                                       " is off the board");
            }
            current.stage.startX = (i32)a;
            current.stage.startY = (i32)b;
        } else {
            Error(line, "expected \"time C\", \"start X Y\" or a board row");
        }
    }

    void BoardRow(int line, const std::string& text) {
        if (boardRows >= 8) return Error(line, "a ninth board row");
        if (text.size() != 8) return Error(line, "a board row is 8 characters");
        for (int x = 0; x < 8; x++) {
            int code = TileOfLetter(text[x]);
            if (code < 0) Error(line, std::string("unknown tile '") + text[x] + "'");
            current.stage.cells[x + 8 * boardRows] = (u8)(code < 0 ? TILE_WALL : code);
        }
        boardRows++;
    }

    void Line(int line, const std::string& text) {
        if (IsBlankOrComment(text)) return;
        if (text.compare(0, 5, "stage") == 0) return Header(line, text);
        if (!open) return Error(line, "text before the first \"stage\" line");
        if (text.compare(0, 4, "time") == 0 || text.compare(0, 5, "start") == 0) {
            return Setting(line, text);
        }
        BoardRow(line, text);
    }
};

// The window types 17 characters to a line, wrapping the 18th, and shows
// four lines; the next-page mark covers the last cell of the bottom two.
const int LINE_CELLS = 17;
const int WINDOW_LINES = 4;
const int FIRST_MARK_LINE = 2;

// Lays the text out as the story window types it; a message that would wrap,
// run out of the window or hide a character under the mark cannot be read.
bool CheckLayout(const std::string& where, const std::string& sjis,
                 std::vector<std::string>* errors) {
    int line = 0, cells = 0;
    int markedLine = -1;
    bool wrapped = false;
    for (size_t i = 0; i + 1 < sjis.size(); i += 2) {
        if (sjis[i] == '#') {
            if (sjis[i + 1] == 'n') line++, cells = 0;
            if (sjis[i + 1] == 'p') i += 2;
            continue;
        }
        if (cells == LINE_CELLS) line++, cells = 0, wrapped = true;
        cells++;
        if (line >= FIRST_MARK_LINE && cells == LINE_CELLS && markedLine < 0) markedLine = line;
    }
    size_t before = errors->size();
    if (wrapped) {
        errors->push_back(where + "a line runs past " + std::to_string(LINE_CELLS) +
                          " characters; break it with \"#n\"");
    }
    if (line >= WINDOW_LINES) {
        errors->push_back(where + std::to_string(line + 1) + " lines, the window shows " +
                          std::to_string(WINDOW_LINES));
    }
    if (markedLine >= 0) {
        errors->push_back(where + "line " + std::to_string(markedLine + 1) + " has " +
                          std::to_string(LINE_CELLS) +
                          " characters; the next-page mark covers the last");
    }
    return errors->size() == before;
}

bool CheckText(const std::string& where, const std::string& sjis,
               std::vector<std::string>* errors) {
    if (sjis.size() > 99) {
        errors->push_back(where + "message is " + std::to_string(sjis.size()) +
                          " bytes in Shift-JIS, over 99");
        return false;
    }
    // The game reads two-byte units; a pair must sit on a unit.
    size_t i = 0;
    std::string last;
    while (i < sjis.size()) {
        last = sjis.substr(i, 2);
        if (sjis[i] == '#' && i + 1 < sjis.size() && sjis[i + 1] == 'p') {
            bool digits = i + 3 < sjis.size() && isdigit((unsigned char)sjis[i + 2]) &&
                          isdigit((unsigned char)sjis[i + 3]);
            if (!digits) {
                errors->push_back(where + "\"#p\" needs two digits");
                return false;
            }
            i += 4;
            continue;
        }
        i += 2;
    }
    if (last != "#e" && last != "#s") {
        errors->push_back(where + "message must end in \"#e\" or \"#s\"");
        return false;
    }
    return CheckLayout(where, sjis, errors);
}

bool ParseMessage(const std::string& where, const std::string& line, StoryMessage* message,
                  std::vector<std::string>* errors) {
    size_t bar = line.find('|');
    int speaker = -1, expression = -1;
    char tail = 0;
    if (bar == std::string::npos ||
        sscanf(line.substr(0, bar).c_str(), "%d %d %c", &speaker, &expression, &tail) != 2) {
        errors->push_back(where + "expected \"S E|text\"");
        return false;
    }
    if (speaker < 0 || speaker > 2) {
        errors->push_back(where + "speaker " + std::to_string(speaker) + " is outside 0..2");
        return false;
    }
    if (expression < 0 || expression > 3) {
        errors->push_back(where + "expression " + std::to_string(expression) + " is outside 0..3");
        return false;
    }
    std::string sjis;
    if (!Utf8ToCp932(line.substr(bar + 1), &sjis)) {
        errors->push_back(where + "text has a character without a Shift-JIS form");
        return false;
    }
    if (!CheckText(where, sjis, errors)) return false;
    memset(message, 0, sizeof *message);
    message->speaker = (u8)speaker;
    message->expression = (u8)expression;
    memcpy(message->text, sjis.data(), sjis.size());
    return true;
}
}  // namespace

char TileLetter(unsigned code) { return code < 13 ? TILE_LETTERS[code] : '?'; }

int TileOfLetter(char letter) {
    // Walked floor and a taken goal make no sense in a fresh stage.
    if (letter == 'x' || letter == '*' || letter == 0) return -1;
    const char* found = strchr(TILE_LETTERS, letter);
    return found ? (int)(found - TILE_LETTERS) : -1;
}

std::vector<StageEntry> ReadStageFile(const std::string& path, std::vector<std::string>* errors) {
    std::vector<std::string> lines;
    StageParser parser{path, errors, {}, {}};
    if (!ReadLines(path, &lines, errors)) return parser.stages;
    for (size_t i = 0; i < lines.size(); i++) parser.Line((int)i + 1, lines[i]);
    parser.Finish((int)lines.size());
    return parser.stages;
}

void CheckStageShape(const std::string& path, const StageEntry& entry,
                     std::vector<std::string>* errors) {
    const solver::Stage& s = entry.stage;
    std::string where = Where(path, entry.line) + "stage " + std::to_string(entry.number) + ": ";
    int counts[13] = {0};
    for (int i = 0; i < 64; i++) counts[s.cells[i]]++;
    for (int k = 0; k < 4; k++) {
        if (counts[TILE_KEY1 + k] != 1) {
            errors->push_back(where + "needs exactly one key " + std::to_string(k + 1) + ", has " +
                              std::to_string(counts[TILE_KEY1 + k]));
        }
    }
    if (counts[TILE_WARP] != 0 && counts[TILE_WARP] != 2) {
        errors->push_back(where + "has " + std::to_string(counts[TILE_WARP]) +
                          " warps; a stage has none or two");
    }
    u8 startCode = s.cells[s.startX + 8 * s.startY];
    std::string at = Where(path, entry.startLine) + "stage " + std::to_string(entry.number) + ": ";
    if (startCode == TILE_WALL || startCode == TILE_GATE) {
        errors->push_back(at + "starts on a wall");
    } else if (startCode != TILE_FLOOR) {
        errors->push_back(at + "starts on a special tile; the start is plain floor");
    }
}

bool Utf8ToCp932(const std::string& utf8, std::string* out) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == (iconv_t)-1) return false;
    std::vector<char> buffer(utf8.size() * 2 + 8);
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == (size_t)-1) return false;
    out->assign(buffer.data(), buffer.size() - outLeft);
    return true;
}

ChapterEntry ReadChapterFile(const std::string& path, std::vector<std::string>* errors) {
    ChapterEntry chapter;
    std::vector<std::string> lines;
    size_t before = errors->size();
    if (!ReadLines(path, &lines, errors)) return chapter;
    for (size_t i = 0; i < lines.size(); i++) {
        std::string line = lines[i];
        if (i == 0 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        if (line.empty() || line[0] == ';' || line.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        StoryMessage message;
        if (!ParseMessage(Where(path, (int)i + 1), line, &message, errors)) continue;
        chapter.messages.push_back(message);
        chapter.lines.push_back((int)i + 1);
    }
    size_t count = chapter.messages.size();
    if (errors->size() == before && (count == 0 || count > 31)) {
        errors->push_back(Where(path, lines.empty() ? 1 : (int)lines.size()) +
                          "a chapter holds 1 to 31 messages, not " + std::to_string(count));
    }
    return chapter;
}

}  // namespace datatool
