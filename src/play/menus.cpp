#include "play/menus.h"

#include "editor/mapfile.h"
#include "input/input.h"
#include "play/playstate.h"
#include "scenes/wipe.h"
#include "sound/effects.h"

namespace {
const u32 LAST_COURSE_STAGE = 29;

void Play(u8 slot) { PlayWave(&waveBuffers[slot], 0); }

// The pause menu listens during play, outside every sequence.
bool PauseWouldListen(void) {
    return !missed && !timeUp && !cleared && !wipeActive && introDone &&
           (stageLoaded || freePlaying);
}

bool PauseInputAllowed(void) { return PauseWouldListen() && !pauseOpening && !pauseClosing; }

void StartClosing(void) {
    pauseOpening = 0;
    pauseOpen = 0;
    pauseClosing = 1;
}

void Retry(void) {
    stageLoaded = 0;
    if (freeMode) {
        freeRetry = 1;
        freePlaying = 0;
        freeBoardLoaded = 0;
    }
    StartClosing();
    swapSeconds = 0;
}

// Back to the selection (or, with quitToTitle, out of the scene); the panel
// vanishes at once.
void LeavePlay(void) {
    freeSelecting = freePlaying = freeRetry = freeBoardLoaded = 0;
    stageLoaded = 0;
    swapSeconds = 0;
    bonusEffect = penaltyEffect = switchEffect = 0;
    pauseOpening = pauseOpen = pauseClosing = 0;
    walkStep = 0;
    pauseCursor = PAUSE_RETRY;
    timeLeft = STAGE_SECONDS;
    sequenceFrame = 0;
}

void ConfirmPauseChoice(void) {
    switch (pauseCursor) {
        case PAUSE_RETRY: Retry(); break;
        case PAUSE_BACK_TO_GAME:
            pauseCursor = PAUSE_RETRY;
            StartClosing();
            break;
        case PAUSE_TO_TITLE:
            quitToTitle = 1;
            LeavePlay();
            break;
        case PAUSE_STAGE_SELECT: LeavePlay(); break;
        default: break;
    }
}

void TogglePause(void) {
    Play(PLAY_WAVE_RETRAY);
    if (!pauseOpen && sequenceFrame == 0) {
        pauseCursor = PAUSE_RETRY;
        pauseOpening = 1;
    } else if (pauseOpen && sequenceFrame == PAUSE_PANEL_OPEN) {
        pauseCursor = PAUSE_RETRY;
        StartClosing();
    }
}

void MovePauseCursor(u32 button, u8 choice) {
    if (button != BUTTON_PRESSED) return;
    Play(PLAY_WAVE_CURSOR);
    pauseCursor = choice;
}

void RunPauseCursor(void) {
    if (!pauseOpen) return;
    if (freeMode) MovePauseCursor(inputUp, PAUSE_STAGE_SELECT);
    MovePauseCursor(inputLeft, PAUSE_RETRY);
    MovePauseCursor(inputRight, PAUSE_BACK_TO_GAME);
    MovePauseCursor(inputDown, PAUSE_TO_TITLE);
}

// The source after Up or Down; own maps are offered only when map 00 exists,
// and the file is probed only on the turn that could lead to them.
u8 NextSource(bool down) {
    switch (freeSource) {
        case FREE_SOURCE_COURSE:
            if (down) return FREE_SOURCE_UNDERGROUND;
            return MapFileExists() ? FREE_SOURCE_OWN_MAPS : FREE_SOURCE_UNDERGROUND;
        case FREE_SOURCE_UNDERGROUND:
            if (!down) return FREE_SOURCE_COURSE;
            return MapFileExists() ? FREE_SOURCE_OWN_MAPS : FREE_SOURCE_COURSE;
        case FREE_SOURCE_OWN_MAPS: return down ? FREE_SOURCE_COURSE : FREE_SOURCE_UNDERGROUND;
        default: return freeSource;
    }
}

void ChangeSource(u32 button, bool down) {
    if (button != BUTTON_PRESSED || !extrasUnlocked) return;
    Play(PLAY_WAVE_CURSOR);
    stageNumber = 0;
    freeSource = NextSource(down);
    freeBoardLoaded = 0;
}

void NextMap(void) {
    Play(PLAY_WAVE_CURSOR);
    switch (freeSource) {
        case FREE_SOURCE_COURSE:
            if (stageNumber < LAST_COURSE_STAGE) stageNumber++;
            break;
        case FREE_SOURCE_UNDERGROUND:
            if (stageNumber < undergroundBest) stageNumber++;
            break;
        case FREE_SOURCE_OWN_MAPS:
            stageNumber++;
            if (!MapFileExists()) stageNumber--;
            break;
        default: break;
    }
}

void PreviousMap(void) {
    Play(PLAY_WAVE_CURSOR);
    if (stageNumber > 0) stageNumber--;
}

// A press moves at once; holding on moves again every 16 frames.
void ChangeMap(u32 button, void (*move)(void)) {
    if (button == BUTTON_PRESSED) {
        move();
        freeBoardLoaded = 0;
        repeatDelay = 0;
    }
    if (button == BUTTON_HELD && ++repeatDelay > FREE_SELECT_REPEAT) {
        move();
        freeBoardLoaded = 0;
        repeatDelay = 0;
    }
}
}  // namespace

void RunPauseInput(void) {
    if (PauseInputAllowed()) {
        if (inputA == BUTTON_PRESSED && pauseOpen) ConfirmPauseChoice();
        if (inputB == BUTTON_PRESSED) TogglePause();
    } else if (pauseOpening && inputB == BUTTON_PRESSED && PauseWouldListen()) {
        // B is heard while the panel slides in, but changes nothing.
        Play(PLAY_WAVE_RETRAY);
    }
    RunPauseCursor();
}

void StepPauseSlide(PauseMenuDrawer draw) {
    if (pauseOpening || pauseOpen) {
        clockRunning = 0;
        if (draw) draw(sequenceFrame, pauseCursor, freeMode);
        if (sequenceFrame > PAUSE_PANEL_OPEN - 1) {
            sequenceFrame = PAUSE_PANEL_OPEN;
            pauseOpen = 1;
            pauseOpening = 0;
        } else {
            sequenceFrame += PAUSE_SLIDE_SPEED;
        }
    }
    if (pauseClosing) {
        if (draw) draw(sequenceFrame, pauseCursor, freeMode);
        if (sequenceFrame < 0) {
            sequenceFrame = 0;
            pauseClosing = 0;
            clockRunning = 1;
        } else {
            sequenceFrame -= PAUSE_SLIDE_SPEED;
        }
    }
}

void RunFreeModeEntry(void) {
    if (!freeMode) return;
    if (!freeSelecting && !freePlaying && !freeRetry) {
        freeSelecting = 1;
        introDone = 1;
    }
    if (!freeBoardLoaded && !freePlaying) LoadFreeBoard();
}

void RunFreeSelectInput(void) {
    if (wipeCovered || !freeSelecting || freePlaying) return;
    ChangeSource(inputUp, false);
    ChangeSource(inputDown, true);
    ChangeMap(inputRight, NextMap);
    ChangeMap(inputLeft, PreviousMap);
    if (inputA == BUTTON_PRESSED) {
        freePlaying = 1;
        freeSelecting = 0;
        freeBoardLoaded = 0;
        introDone = 0;
    }
    if (inputB == BUTTON_PRESSED) quitToTitle = 1;
}
