// The map editor's notices, its warp rule and its way out.
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

// Of warps the remembered one goes, and a remembered cell past the board is
// never used.
TEST(KeepTileUnique, WarpsKeepTheNewestTwo) {
    u8 cells[64] = {};
    u8 remembered = NO_REMEMBERED_WARP;
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
