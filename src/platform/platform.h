// The whole of what the game asks of the outside world.
//
// Two backends implement this header: the real one over SDL2 (window, GPU or
// software renderer, SDL_mixer, SDL_ttf) and the headless one used by
// ossmire-sim and the tests (virtual clock, scripted input, recorded draws).
// The game core includes only this header, never SDL.
//
// Handles are small nonzero integers; 0 means "none". Every release accepts 0.
// Text crossing this boundary is Shift-JIS (CP932) unless a name says Utf8.
#pragma once
#include <cstddef>
#include <cstdint>

typedef uint32_t PlatformObject;

// ---- Window, messages and frames -------------------------------------------

enum PlatformEventType {
    PLATFORM_EVENT_NONE = 0,
    PLATFORM_EVENT_QUIT,      // the quit message posted by PlatformPostQuit
    PLATFORM_EVENT_DESTROY,   // the window is being destroyed
    PLATFORM_EVENT_ACTIVATE,  // value: 1 active, 0 inactive
    PLATFORM_EVENT_KEYDOWN,   // value: Windows virtual-key code (auto-repeat included)
    PLATFORM_EVENT_CLOSE,     // the window's close command
};

struct PlatformEvent {
    int type;
    uint32_t value;
};

// Before the window is created: a windowed client area of scale x 640x480
// (shrunk to fit the desktop), and with fullScreen 1 the game starts as if F1
// had been pressed at once, so that the game's own mode agrees and F1 returns
// to the window. The headless backend ignores both.
void PlatformSetWindowOptions(int scale, int fullScreen);
// Creates the main window "Ossmire" with a 640x480 client area (times the
// scale above), hidden; the user may resize it. Returns 0 on failure.
PlatformObject PlatformCreateWindow(const char* caption);
void PlatformShowWindow(PlatformObject window);
// Retitles the main window (UTF-8); outside every frame the game draws.
void PlatformSetWindowTitle(const char* utf8);
// Destroying the window delivers PLATFORM_EVENT_DESTROY; the shell then posts quit.
void PlatformDestroyWindow(PlatformObject window);
void PlatformPostQuit(int code);
// Takes the next pending message, if any (1), else returns 0.
int PlatformPeekEvent(PlatformEvent* event);
// Blocks until a message is pending.
void PlatformWaitEvent(void);
// Called when a pass of the loop has no frame due: may sleep until just before
// `dueTime` (a PlatformTime value), waking early when a message arrives.
void PlatformIdle(uint32_t dueTime);
// Frame boundaries: clear to ARGB, draw, present.
void PlatformClear(uint32_t argb);
void PlatformPresent(void);
// Cursor display counter as ShowCursor keeps it: shown while the count is >= 0.
void PlatformShowCursor(int show);

// ---- Display device, textures, sprites and fonts ----------------------------

int PlatformCreateGraphicsSystem(void);      // the analogue of the Direct3D object
void PlatformReleaseGraphicsSystem(void);
int PlatformReadDisplayMode(void);           // 1 when the desktop mode can be read
// Window style for the mode: windowed = caption and the client area it had
// before full screen, full screen = the desktop. Either way the 640x480
// picture is scaled to fit, letterboxed, by a whole factor when one fits.
void PlatformSetWindowMode(PlatformObject window, int fullScreen);
// deviceType 1 = accelerated, 2 = software rasteriser. Returns 0 on failure.
PlatformObject PlatformCreateDevice(PlatformObject window, int deviceType);
void PlatformReleaseDevice(PlatformObject device);
PlatformObject PlatformCreateSpriteDrawer(void);
void PlatformReleaseSpriteDrawer(PlatformObject sprite);

// A bitmap file placed 1:1 at the top-left of a width x height texture; pixels
// of exactly colorKey (ARGB, 0 = no key) become transparent black.
PlatformObject PlatformLoadTexture(int id, const char* path, int width, int height,
                                   uint32_t colorKey);
void PlatformReleaseTexture(PlatformObject texture);

struct PlatformSprite {
    int textureId;
    PlatformObject texture;
    float x, y;                       // where the source's top-left lands
    int32_t left, top, right, bottom; // source rectangle, right/bottom exclusive
    float scaleX, scaleY;             // about the top-left
    float centreX, centreY;           // rotation centre in scaled pixels
    float rotation;                   // radians, clockwise on screen
    uint32_t color;                   // ARGB modulation
    uint32_t additive;                // 0 alpha blend, else add (black adds nothing)
};
void PlatformDrawSprite(const PlatformSprite* sprite);

// A font of the given cell height, average width (0 = default), weight and
// face name (Shift-JIS). Returns 0 on failure.
PlatformObject PlatformCreateFont(int fontId, int height, int width, int weight,
                                  const char* faceSjis);
void PlatformReleaseFont(PlatformObject font);
// Draws Shift-JIS text into (x, y)-(640, 480): tabs expanded, line breaks
// honoured, clipped.
void PlatformDrawText(int fontId, PlatformObject font, const char* textSjis, int x, int y,
                      uint32_t color);

// ---- Input snapshot ----------------------------------------------------------

// Windows virtual-key codes: arrows 37..40, 'Z' 90, 'X' 88, VK_LBUTTON 1, VK_RBUTTON 2.
int PlatformKeyDown(int virtualKey);
// The first joystick as joyGetPosEx reads it: 0 and the axes (0..65535) and
// button mask, or nonzero when none is attached. A game controller reads its
// south button as button 1, east as button 2, D-pad and left stick as the
// axes. Once a device has been read, reads succeed while it is unplugged (at
// rest, no buttons), so a pad can be plugged out and in again.
uint32_t PlatformReadJoystick(uint32_t* x, uint32_t* y, uint32_t* buttons);
// Adds the controller mappings of DIRECTORY/gamecontrollerdb.txt, when present,
// to SDL's own and SDL_GAMECONTROLLERCONFIG's. No-op in the headless backend.
void PlatformLoadControllerMappings(const char* directory);
// Cursor in the client coordinates of the 640x480 picture, whatever the size
// of the window; outside the picture it is not clamped.
void PlatformMousePosition(int32_t* x, int32_t* y);

// ---- Sound effects -----------------------------------------------------------

struct PlatformWaveFormat {
    uint16_t formatTag, channels;
    uint32_t samplesPerSec, avgBytesPerSec;
    uint16_t blockAlign, bitsPerSample;
};

int PlatformOpenAudio(void);                 // 1 on success
void PlatformCloseAudio(void);
// A buffer of `bytes` PCM bytes; fill it through the pointer from PlatformWaveData.
PlatformObject PlatformCreateWave(const PlatformWaveFormat* format, uint32_t bytes);
uint8_t* PlatformWaveData(PlatformObject wave);
void PlatformWaveReady(PlatformObject wave);  // the data is filled in
void PlatformPlayWave(PlatformObject wave, uint32_t loop);  // restarts from the beginning
void PlatformStopWave(PlatformObject wave);
void PlatformSetWaveVolume(PlatformObject wave, int32_t hundredthsOfDb);
void PlatformReleaseWave(PlatformObject wave);

// ---- Music -------------------------------------------------------------------

int PlatformOpenMusic(void);
void PlatformCloseMusic(void);
PlatformObject PlatformLoadMusic(const char* path);  // a standard MIDI file
void PlatformPlayMusic(PlatformObject music, uint32_t repeats);
void PlatformStopMusic(void);                        // everything that plays
void PlatformReleaseMusic(PlatformObject music);

// ---- Files -------------------------------------------------------------------
// Paths are the game's own, with '\' separators; the file layer maps them.

enum PlatformFileMode {
    PLATFORM_FILE_LOAD = 0,   // read; a missing file is created empty
    PLATFORM_FILE_PROBE = 1,  // read; fails when missing
    PLATFORM_FILE_SAVE = 2,   // write; replaces the file atomically on close
};
// A save fails to open unless its target is absent or a regular file in a
// directory that can be written.
const int PLATFORM_INVALID_FILE = -1;
int PlatformOpenFile(const char* path, int mode);
uint32_t PlatformReadFile(int file, void* buffer, uint32_t bytes);   // 0 on an invalid handle
uint32_t PlatformWriteFile(int file, const void* buffer, uint32_t bytes);
// 1 when done; 0 for an invalid handle or a save that could not replace its
// file (a write, the flush or the rename failed: the old file stands).
int PlatformCloseFile(int file);

// ---- Clock -------------------------------------------------------------------

uint32_t PlatformTime(void);  // wrapping milliseconds

// ---- Message box and text ----------------------------------------------------

// Blocks until closed (never in the headless backend). captionSjis null = the
// system's default caption. ownedByMain: the main window owns the box.
void PlatformMessageBox(int ownedByMain, const char* textSjis, const char* captionSjis);
// CP932 conversions; the result is always NUL-terminated within `size`.
size_t PlatformUtf8ToSjis(const char* utf8, char* out, size_t size);
size_t PlatformSjisToUtf8(const char* sjis, char* out, size_t size);

// ---- Tracing (the simulator's event log; the real backend keeps nothing) -----

enum PlatformTraceKind {
    TRACE_SPRITE = 1,
    TRACE_TEXT = 2,
    TRACE_WAVE = 4,
    TRACE_MUSIC = 8,
    TRACE_FILE = 16,
    TRACE_MSGBOX = 32,
    TRACE_SCENE = 64,
};
int PlatformTracing(int kind);
// The trace kinds under which a sprite or text drawn now is used at all:
// shown, kept for a picture or traced. All on a screen; off screen most frames
// keep no picture. A variable, not a call: it is asked for every sprite.
extern int platformDrawUsedKinds;
inline int PlatformDrawUsed(int kind) { return (platformDrawUsedKinds & kind) != 0; }
// Writes one trace line (without the frame prefix, which the backend adds).
void PlatformTrace(int kind, const char* format, ...) __attribute__((format(printf, 2, 3)));
