#include "shell/shell.h"

#include "base/registry.h"
#include "base/services.h"
#include "editor/editor.h"
#include "graphics/display.h"
#include "graphics/sprites.h"
#include "input/input.h"
#include "play/gamedata.h"
#include "play/playscene.h"
#include "play/playstate.h"
#include "playscreen/playfield.h"
#include "save/save.h"
#include "scenes/ending.h"
#include "scenes/gameover.h"
#include "scenes/story.h"
#include "scenes/title.h"
#include "scenes/wipe.h"
#include "sound/effects.h"
#include "sound/music.h"

u32 appActive;
u32 nextFrameTime;
u32 frameNow;

namespace {
bool limiterStarted = false;

const int VK_ESCAPE = 0x1B;
const int VK_F1 = 0x70;

typedef u8 (*PhaseFunction)(void);

const char* const PHASE_NAMES[3] = {"init", "run", "exit"};

void StepScene(u8 id, PhaseFunction init, PhaseFunction run, PhaseFunction exit) {
    u8 phase = scenePhase[id];
    u8 result = phase;
    switch (phase) {
        case SCENE_PHASE_INIT: result = init(); break;
        case SCENE_PHASE_RUN: result = run(); break;
        case SCENE_PHASE_EXIT: result = exit(); break;
        default: return;
    }
    scenePhase[id] = result;
    if (PlatformTracing(TRACE_SCENE)) {
        PlatformTrace(TRACE_SCENE, "scene id=%u phase=%s result=%u", (unsigned)id,
                      PHASE_NAMES[phase], (unsigned)result);
    }
}

void ShutDown(void) {
    for (int i = 0; i < musicCount; i++) ReleaseMusic(&musicSegments[i]);
    ReleaseMusicSystem();
    for (int i = 0; i < waveCount; i++) ReleaseWave(&waveBuffers[i]);
    ReleaseSound();
    ReleaseGraphics();
}

void RenderFrame(void) {
    PlatformClear(0xFF000000u);
    RunScene();
    PlatformPresent();
}
}  // namespace

int WinMain(void) {
    RegisterAllGlobals();
    mainWindow = PlatformCreateWindow("Ossmire");
    if (!mainWindow) return 0;
    if ((i32)InitDisplay(mainWindow) < 0) {
        ReleaseGraphics();
        return 0;
    }
    if (!InitSound()) {
        ReleaseSound();
        ReleaseGraphics();
        return 0;
    }
    if (!InitMusic()) {
        ReleaseMusicSystem();
        ReleaseSound();
        ReleaseGraphics();
        return 0;
    }
    PlatformShowWindow(mainWindow);
    LoadTextures();

    int exitCode = 0;
    for (;;) {
        PlatformEvent event;
        if (PlatformPeekEvent(&event)) {
            if (event.type == PLATFORM_EVENT_QUIT) {
                exitCode = (int)event.value;
                break;
            }
            WndProc(&event);
            continue;
        }
        if (!appActive) {
            PlatformWaitEvent();
            continue;
        }
        if (!IsFrameDue(60)) {
            PlatformIdle(nextFrameTime);
            continue;
        }
        RenderFrame();
    }
    ShutDown();
    return exitCode;
}

void WndProc(const PlatformEvent* event) {
    switch (event->type) {
        case PLATFORM_EVENT_DESTROY: PlatformPostQuit(0); break;
        case PLATFORM_EVENT_ACTIVATE: appActive = event->value; break;
        case PLATFORM_EVENT_CLOSE: PlatformDestroyWindow(mainWindow); break;
        case PLATFORM_EVENT_KEYDOWN:
            if ((event->value & 0xFFFF) == VK_ESCAPE) {
                PlatformDestroyWindow(mainWindow);
            } else if ((event->value & 0xFFFF) == VK_F1) {
                if (!ToggleFullScreen(mainWindow)) PlatformDestroyWindow(mainWindow);
            }
            break;
        default: break;
    }
}

u32 IsFrameDue(u32 framesPerSecond) {
    if (!limiterStarted) {
        limiterStarted = true;
        nextFrameTime = timeGetTime();
    }
    frameNow = timeGetTime();
    if (framesPerSecond == 0) return 1;
    if (frameNow < nextFrameTime) return 0;
    nextFrameTime = frameNow + 1000 / framesPerSecond;
    return 1;
}

void RunScene(void) {
    PollInput();
    switch (sceneId) {
        case SCENE_TITLE: StepTitle(); break;
        case SCENE_STORY: StepStory(); break;
        case SCENE_PLAY: StepPlay(); break;
        case SCENE_GAMEOVER: StepGameOver(); break;
        case SCENE_ENDING: StepEnding(); break;
        case SCENE_EDITOR: StepEditor(); break;
        default: break;
    }
}

void StepTitle(void) { StepScene(SCENE_TITLE, InitTitle, RunTitle, ExitTitle); }
void StepStory(void) { StepScene(SCENE_STORY, InitStory, RunStory, ExitStory); }
void StepPlay(void) { StepScene(SCENE_PLAY, InitPlay, RunPlay, ExitPlay); }
void StepGameOver(void) { StepScene(SCENE_GAMEOVER, InitGameOver, RunGameOver, ExitGameOver); }
void StepEnding(void) { StepScene(SCENE_ENDING, InitEnding, RunEnding, ExitEnding); }
void StepEditor(void) { StepScene(SCENE_EDITOR, InitEditor, RunEditor, ExitEditor); }

// The shell registers the scene and frame-rate globals too, first, in the
// order the state dumps have always listed them.
void RegisterShellGlobals(void) {
    REG_U32(mainWindow);
    REG_U32(appActive);
    REG_U8(sceneId);
    REG_ARRAY(scenePhase, GLOBAL_U8);
    REG_U32(nextFrameTime);
    REG_U32(frameNow);
    REG_U32(fpsFrameCount);
    REG_U32(fpsSecondStart);
    REG_U32(fpsValue);
}

void RegisterAllGlobals(void) {
    static bool registered = false;
    if (registered) return;
    registered = true;
    RegisterShellGlobals();
    RegisterDisplayGlobals();
    RegisterSpriteGlobals();
    RegisterInputGlobals();
    RegisterSoundGlobals();
    RegisterMusicGlobals();
    RegisterWipeGlobals();
    RegisterTitleGlobals();
    RegisterStoryGlobals();
    RegisterEndingGlobals();
    RegisterGameOverGlobals();
    RegisterPlayStateGlobals();
    RegisterPlayScreenGlobals();
    RegisterSaveGlobals();
    RegisterGameDataGlobals();
    RegisterEditorGlobals();
}
