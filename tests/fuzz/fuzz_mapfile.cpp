// A map file into free mode's own-map loader, shown on the selection panel
// and played, and into the map editor, which draws, paints and saves it.
// The bytes past the file's 73 also steer the frames.
#include "editor/editor.h"
#include "editor/mapfile.h"
#include "fuzz_common.h"

namespace {
uint8_t At(const uint8_t* data, size_t size, size_t i) { return size ? data[i % size] : 0; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::SetUp();
    fuzz::WriteFile("EditMap/map_00.map", data, size);

    fuzz::ResetPlay(0, 0, 1);
    freeSource = FREE_SOURCE_OWN_MAPS;
    stageNumber = 0;
    extrasUnlocked = 1;
    fuzz::EnterScene(SCENE_PLAY);
    fuzz::Frame(0);     // the selection panel with the map
    fuzz::Frame(0x10);  // Z: play it
    fuzz::Frame(0);
    introDone = 1;  // past the start message
    clockRunning = 1;
    for (size_t f = 0; f < 40; f++) fuzz::Frame(At(data, size, 73 + f) & 0x0F);

    stageNumber = 0;
    editorLoaded = 0;
    fuzz::EnterScene(SCENE_EDITOR);
    for (size_t f = 0; f < 24; f++) {
        HeadlessSetMouse(At(data, size, 3 * f) * 3, At(data, size, 3 * f + 1) * 2);
        fuzz::Frame(f & 1 ? 0 : At(data, size, 3 * f + 2) & 0xC0);
    }
    return 0;
}
