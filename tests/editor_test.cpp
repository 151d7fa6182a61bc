// The map editor's notices and what it draws, its warp rule, its handling of
// map files it did not write, and its way out.
#include "editor/editor.h"

#include <sys/stat.h>

#include "play_fixture.h"
#include "scenes/title.h"
#include "shell/shell.h"

using namespace playtest;

namespace {
int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
}

// Screen points strictly inside a board cell and inside palette buttons.
POINT Cell(int x, int y) { return POINT{100 + 40 * x, 100 + 40 * y}; }
const POINT SAVE = {550, 340};

class Editor : public PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        HeadlessSetTrace(TRACE_SPRITE | TRACE_TEXT | TRACE_MSGBOX, trace);
        ASSERT_EQ(mkdir("EditMap", 0755), 0);
        memset(editBoard, 0, sizeof editBoard);
        editorLoaded = mapSavedNotice = mapInvalidNotice = 0;
        noticeTimer = 0;
        mouseLeft = mouseRight = BUTTON_OFF;
        editChosen = 1;
        wipeX = -640;
    }

    // One editor frame with the cursor at p and the left button as given.
    void Frame(POINT p, bool left = false) {
        mousePos = p;
        mouseLeft = NextButtonState(mouseLeft, left);
        Press(NONE);
        EXPECT_EQ(RunEditor(), 1);
    }

    void Click(POINT p) {
        Frame(p, true);
        Frame(p);
    }

    // Trace of the frames run since the last call.
    std::string TakeTrace() {
        std::string all = TraceSoFar();
        std::string fresh = all.substr(traceRead);
        traceRead = all.size();
        return fresh;
    }
};
}  // namespace

TEST_F(Editor, NoticeIsDrawnInExactlyOneHundredAndEightyOneFramesAndSavedWinsEvenIfItFailed) {
    Frame(SAVE);
    Click(SAVE);  // an empty board: invalid
    for (int i = 0; i < 250; i++) Frame(SAVE);
    std::string drawn = TakeTrace();
    EXPECT_EQ(Count(drawn, "x=80 y=20 color=FFFF0000 \"不正なマップデータです\""), 181);
    EXPECT_EQ(mapInvalidNotice, 0u);

    // A valid save after an invalid one: both flags stand, the saved notice
    // wins, and shows even when the save failed and said so.
    ASSERT_EQ(rmdir("EditMap"), 0);
    memcpy(editBoard, "\7\10\11\12", 4);  // the four keys
    Click(SAVE);
    EXPECT_EQ(NewMessages(), 1);
    mapInvalidNotice = 1;
    Frame(SAVE);
    drawn = TakeTrace();
    EXPECT_EQ(Count(drawn, "マップをセーブしました"), 3);
    EXPECT_EQ(Count(drawn, "不正なマップデータです"), 0);
    EXPECT_EQ(Count(drawn, "msgbox owner=main caption=\"\" \"セーブ失敗\""), 1);
}

TEST_F(Editor, FrameIsDrawnInItsOrderWithThePaletteDimmedButTheChoices) {
    Frame(Cell(0, 0));
    selectedTile = 9;
    editTimeClass = 1;
    editStartX = 3;
    editStartY = 2;
    TakeTrace();
    Frame(Cell(0, 0));
    std::vector<std::string> lines;
    std::string drawn = TakeTrace();
    for (size_t at = 0, end; (end = drawn.find('\n', at)) != std::string::npos; at = end + 1) {
        lines.push_back(drawn.substr(at, end - at));
    }
    // Background, 64 cells, start marker, number, 11 tiles, 3 classes, save,
    // clear, read-out; of the tiles and classes only the chosen are undimmed.
    ASSERT_EQ(lines.size(), 1u + 64 + 1 + 1 + 16 + 1);
    EXPECT_NE(lines[65].find("tex=5 x=200 y=160 src=0,0,40,40"), std::string::npos);
    EXPECT_NE(lines[66].find("x=320 y=420 color=FFFFFF00 \"マップ:00\""), std::string::npos);
    EXPECT_NE(lines[75].find("tex=4 x=570 y=120 src=40,80,"), std::string::npos);
    EXPECT_NE(lines[79].find("tex=30 x=530 y=240"), std::string::npos);
    for (int i = 67; i < 81; i++) {
        bool chosen = i == 75 || i == 79;
        EXPECT_NE(lines[i].find(chosen ? "color=FFFFFFFF" : "color=64FFFFFF"), std::string::npos)
            << lines[i];
    }
    EXPECT_NE(lines[83].find("FPS:"), std::string::npos);
}

TEST_F(Editor, ForeignMapFilesLoadAsTheyAreWithoutHarm) {
    // Codes above 12, a time class of 7, a start far off the board.
    std::vector<u8> odd(64, 200);
    odd.push_back(7);
    for (u8 b : {0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x00, 0x80}) odd.push_back(b);
    WriteAll("EditMap/map_00.map", odd);
    Frame(Cell(0, 0));
    EXPECT_EQ(editBoard[0], 200);
    EXPECT_EQ(editTimeClass, 7);
    EXPECT_EQ(editStartY, (i32)0x80000000);
    std::string drawn = TakeTrace();
    // The marker is drawn where the wrapped cell arithmetic puts it.
    EXPECT_EQ(Count(drawn, "tex=5 x=40 y=80 "), 1);
    EXPECT_EQ(Count(drawn, "color=64FFFFFF"), 10 + 3) << "no time class button is chosen";

    // A short file fills what it holds; the rest stays as it was on screen.
    WriteAll("EditMap/map_01.map", std::vector<u8>(10, 2));
    stageNumber = 1;
    editorLoaded = 0;
    Frame(Cell(0, 0));
    EXPECT_EQ(editBoard[9], 2);
    EXPECT_EQ(editBoard[10], 200);
    EXPECT_EQ(editStartX, 0x7FFFFFFF);
}

// Painting a unique tile drops the other; of warps the remembered one goes,
// and a remembered cell past the board is never used.
TEST(KeepTileUnique, KeysMoveAndWarpsKeepTheNewestTwo) {
    u8 cells[64] = {};
    u8 remembered = NO_REMEMBERED_WARP;
    cells[3] = cells[50] = 7;
    KeepTileUnique(cells, 7, &remembered);
    EXPECT_EQ(cells[3] + cells[50], 0);
    cells[10] = cells[20] = 12;
    KeepTileUnique(cells, 12, &remembered);
    EXPECT_EQ(cells[10], 0);
    EXPECT_EQ(remembered, 20);
    cells[50] = 12;
    remembered = 200;
    KeepTileUnique(cells, 12, &remembered);
    EXPECT_EQ(cells[20] + cells[50], 12);
    EXPECT_LT(remembered, 64);
}

TEST_F(Editor, LeavingWaitsForTheCoveredWipeAndDrawsNothingThen) {
    Frame(Cell(0, 0));
    Press(B);
    RunEditor();
    EXPECT_EQ(quitToTitle, 1u);
    EXPECT_EQ(wipeActive, 1u);
    int frames = 1;
    while (!wipeCovered && frames < 100) {
        Frame(Cell(0, 0));
        frames++;
    }
    EXPECT_EQ(frames, 32);
    TakeTrace();
    mousePos = Cell(0, 0);
    EXPECT_EQ(RunEditor(), 2);
    EXPECT_EQ(TakeTrace(), "");
    EXPECT_EQ(editChosen + editorLoaded, 0u);
    EXPECT_EQ(ExitEditor(), 0);
    EXPECT_EQ(sceneId, SCENE_TITLE);
    EXPECT_EQ(wipeX, -640);
    EXPECT_EQ(wipeActive + wipeCovered + quitToTitle, 0u);
}
