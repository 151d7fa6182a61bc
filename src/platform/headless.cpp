// The headless backend: no window, no device. Time is a virtual clock that
// moves 1 ms per idle pass of the message loop, input is whatever the
// simulator holds, and draws are only recorded on frames that are to be shot.
#include "platform/headless.h"

#include <zlib.h>

#include <cstdarg>
#include <cstring>
#include <string>
#include <vector>

#include "platform/bmp.h"
#include "platform/headless_paint.h"
#include "platform/platform.h"

// Nothing is drawn until a frame is shot or a trace is asked for.
int platformDrawUsedKinds = 0;

namespace {
const int QUEUE_SIZE = 64;
const uint32_t JOYERR_UNPLUGGED = 167;

struct DrawCommand {
    bool isText;
    PlatformSprite sprite;
    PlatformObject font;
    std::string text;
    int x, y;
    uint32_t color;
};

struct Shot {
    uint32_t frame;
    std::string path;
};

struct HeadlessState {
    uint32_t clock = 100000;
    PlatformEvent queue[QUEUE_SIZE];
    int queueHead = 0, queueCount = 0;
    bool keys[256] = {};
    bool joystick = false;
    uint32_t joyX = 32767, joyY = 32767, joyButtons = 0, joyReads = 0;
    int32_t mouseX = 0, mouseY = 0;
    uint32_t lag = 0;
    bool inactivePending = false;
    uint32_t inactiveMs = 0;
    bool windowAlive = false;
    uint32_t frame = 0;
    void (*hook)(uint32_t) = nullptr;
    int traceKinds = 0;
    FILE* traceOut = nullptr;
    std::vector<Shot> shots;
    int shotErrors = 0;
    bool recording = false;
    std::vector<DrawCommand> draws;
    int failures = 0;
    int messages = 0;
    std::string lastMessage;
    std::string title = "Ossmire";
    int titles = 0;
    int cursor = 0;
    uint32_t nextObject = 1;
    bool painting = false;
};
HeadlessState state;
const HeadlessPainter* painter = nullptr;

bool Failing(int failure) { return (state.failures & failure) != 0; }

void UpdateDrawUsed() {
    platformDrawUsedKinds = state.recording ? ~0 : state.traceOut ? state.traceKinds : 0;
}

bool ShotWanted() { return !state.shots.empty(); }

bool ShotDueThisFrame() {
    for (const Shot& s : state.shots) {
        if (s.frame == state.frame) return true;
    }
    return false;
}

// Only frames to be shot need pixels: everything else is recorded nowhere.
void StartRenderer() {
    if (state.painting || !ShotWanted() || !painter) return;
    state.painting = painter->start() != 0;
}

void StopRenderer() {
    if (state.painting) painter->stop();
    state.painting = false;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 3; i >= 0; i--) out.push_back((uint8_t)(v >> (8 * i)));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutU32(out, (uint32_t)data.size());
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32(out, (uint32_t)crc32(0, out.data() + start, (uInt)(out.size() - start)));
}

bool WritePng(const char* path, const uint32_t* argb, int width, int height) {
    std::vector<uint8_t> raw;
    raw.reserve((size_t)height * (width * 3 + 1));
    for (int y = 0; y < height; y++) {
        raw.push_back(0);
        for (int x = 0; x < width; x++) {
            uint32_t p = argb[y * width + x];
            raw.push_back((uint8_t)(p >> 16));
            raw.push_back((uint8_t)(p >> 8));
            raw.push_back((uint8_t)p);
        }
    }
    uLongf packedSize = compressBound((uLong)raw.size());
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), (uLong)raw.size(), 6) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);
    std::vector<uint8_t> header;
    PutU32(header, (uint32_t)width);
    PutU32(header, (uint32_t)height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    static const uint8_t SIGNATURE[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    std::vector<uint8_t> png(SIGNATURE, SIGNATURE + 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    FILE* f = fopen(path, "wb");
    if (!f) return false;
    bool ok = fwrite(png.data(), 1, png.size(), f) == png.size();
    return fclose(f) == 0 && ok;
}

void TakeShots() {
    if (!state.recording) return;
    std::vector<uint32_t> pixels(640 * 480, 0xFF000000u);
    if (state.painting) {
        painter->clear();
        for (const DrawCommand& d : state.draws) {
            if (d.isText) {
                painter->text(d.font, d.text.c_str(), d.x, d.y, d.color);
            } else {
                painter->sprite(&d.sprite);
            }
        }
        painter->read(pixels.data());
    }
    for (const Shot& s : state.shots) {
        if (s.frame == state.frame && !WritePng(s.path.c_str(), pixels.data(), 640, 480)) {
            fprintf(stderr, "ossmire-sim: cannot write %s\n", s.path.c_str());
            state.shotErrors++;
        }
    }
    state.draws.clear();
    state.recording = false;
    UpdateDrawUsed();
}
}  // namespace

// ---- Control -----------------------------------------------------------------

void HeadlessReset(uint32_t clock) {
    StopRenderer();
    state = HeadlessState();
    state.clock = clock;
    UpdateDrawUsed();
}

void HeadlessSetTime(uint32_t clock) { state.clock = clock; }
uint32_t HeadlessTime(void) { return state.clock; }

void HeadlessSetKey(int virtualKey, int down) {
    if (virtualKey >= 0 && virtualKey < 256) state.keys[virtualKey] = down != 0;
}

void HeadlessReleaseAllKeys(void) { memset(state.keys, 0, sizeof state.keys); }
void HeadlessAttachJoystick(int attached) { state.joystick = attached != 0; }

void HeadlessSetJoystick(uint32_t x, uint32_t y, uint32_t buttons) {
    state.joyX = x;
    state.joyY = y;
    state.joyButtons = buttons;
}

uint32_t HeadlessJoystickReads(void) { return state.joyReads; }

void HeadlessSetMouse(int32_t x, int32_t y) {
    state.mouseX = x;
    state.mouseY = y;
}

void HeadlessPushEvent(int type, uint32_t value) {
    if (state.queueCount >= QUEUE_SIZE) return;
    state.queue[(state.queueHead + state.queueCount) % QUEUE_SIZE] = PlatformEvent{type, value};
    state.queueCount++;
}

void HeadlessSetLag(uint32_t ms) { state.lag = ms; }

void HeadlessDeactivate(uint32_t ms) {
    HeadlessPushEvent(PLATFORM_EVENT_ACTIVATE, 0);
    state.inactivePending = true;
    state.inactiveMs = ms;
}

uint32_t HeadlessFrame(void) { return state.frame; }
void HeadlessSetFrameHook(void (*hook)(uint32_t)) { state.hook = hook; }

void HeadlessSetTrace(int kinds, FILE* out) {
    state.traceKinds = kinds;
    state.traceOut = out;
    UpdateDrawUsed();
}

void HeadlessRequestShot(uint32_t frame, const char* path) {
    state.shots.push_back(Shot{frame, path});
}

int HeadlessShotErrors(void) { return state.shotErrors; }
void HeadlessSetPainter(const HeadlessPainter* p) { painter = p; }
void HeadlessSetFailures(int failures) { state.failures = failures; }
int HeadlessFailures(void) { return state.failures; }
int HeadlessMessageCount(void) { return state.messages; }
const char* HeadlessLastMessage(void) { return state.lastMessage.c_str(); }
int HeadlessCursorCount(void) { return state.cursor; }
const char* HeadlessWindowTitle(void) { return state.title.c_str(); }
int HeadlessTitleCount(void) { return state.titles; }

// ---- Window, messages and frames ---------------------------------------------

// A virtual 640x480 picture: no window to size, no pads to map.
void PlatformSetWindowOptions(int, int) {}

PlatformObject PlatformCreateWindow(const char*) {
    state.windowAlive = true;
    return 1;
}

void PlatformSetWindowTitle(const char* utf8) {
    state.title = utf8;
    state.titles++;
}

void PlatformShowWindow(PlatformObject) { HeadlessPushEvent(PLATFORM_EVENT_ACTIVATE, 1); }

void PlatformDestroyWindow(PlatformObject) {
    if (!state.windowAlive) return;
    state.windowAlive = false;
    HeadlessPushEvent(PLATFORM_EVENT_DESTROY, 0);
}

void PlatformPostQuit(int code) { HeadlessPushEvent(PLATFORM_EVENT_QUIT, (uint32_t)code); }

int PlatformPeekEvent(PlatformEvent* event) {
    if (state.queueCount == 0) return 0;
    *event = state.queue[state.queueHead];
    state.queueHead = (state.queueHead + 1) % QUEUE_SIZE;
    state.queueCount--;
    return 1;
}

void PlatformWaitEvent(void) {
    if (state.queueCount > 0) return;
    if (state.inactivePending) {
        state.clock += state.inactiveMs;
        state.inactivePending = false;
        HeadlessPushEvent(PLATFORM_EVENT_ACTIVATE, 1);
        return;
    }
    // Nothing could ever wake the loop: end the run rather than hang.
    HeadlessPushEvent(PLATFORM_EVENT_QUIT, 0);
}

void PlatformIdle(uint32_t) { state.clock += 1; }

void PlatformClear(uint32_t) {
    state.frame++;
    state.recording = ShotDueThisFrame();
    UpdateDrawUsed();
    state.draws.clear();
}

void PlatformPresent(void) {
    state.clock += state.lag;
    state.lag = 0;
    TakeShots();
    if (state.hook) state.hook(state.frame);
}

void PlatformShowCursor(int show) { state.cursor += show ? 1 : -1; }

// ---- Display -----------------------------------------------------------------

int PlatformCreateGraphicsSystem(void) { return Failing(HEADLESS_FAIL_GRAPHICS) ? 0 : 1; }
void PlatformReleaseGraphicsSystem(void) {}
int PlatformReadDisplayMode(void) { return Failing(HEADLESS_FAIL_DISPLAY_MODE) ? 0 : 1; }
void PlatformSetWindowMode(PlatformObject, int) {}

PlatformObject PlatformCreateDevice(PlatformObject, int) {
    if (Failing(HEADLESS_FAIL_DEVICE)) return 0;
    StartRenderer();
    return state.nextObject++;
}

void PlatformReleaseDevice(PlatformObject device) {
    if (device) StopRenderer();
}

PlatformObject PlatformCreateSpriteDrawer(void) {
    return Failing(HEADLESS_FAIL_SPRITE) ? 0 : state.nextObject++;
}

void PlatformReleaseSpriteDrawer(PlatformObject) {}

PlatformObject PlatformLoadTexture(int id, const char* path, int width, int height,
                                   uint32_t colorKey) {
    if (state.painting) return painter->loadTexture(id, path, width, height, colorKey);
    // Without shots the pixels are not kept, but the file must still be a valid bitmap.
    (void)colorKey;
    if (width <= 0 || height <= 0 || width * height > 640 * 960) return 0;
    return CheckBmpFile(path) ? state.nextObject++ : 0;
}

void PlatformReleaseTexture(PlatformObject texture) {
    if (state.painting && texture) painter->releaseTexture(texture);
}

void PlatformDrawSprite(const PlatformSprite* sprite) {
    if (!state.recording) return;
    DrawCommand d = {};
    d.sprite = *sprite;
    state.draws.push_back(d);
}

PlatformObject PlatformCreateFont(int fontId, int height, int width, int weight,
                                  const char* faceSjis) {
    if (Failing(HEADLESS_FAIL_FONT)) return 0;
    if (state.painting) return painter->createFont(fontId, height, width, weight, faceSjis);
    return state.nextObject++;
}

void PlatformReleaseFont(PlatformObject font) {
    if (state.painting && font) painter->releaseFont(font);
}

void PlatformDrawText(int, PlatformObject font, const char* textSjis, int x, int y,
                      uint32_t color) {
    if (!state.recording) return;
    DrawCommand d = {};
    d.isText = true;
    d.font = font;
    d.text = textSjis;
    d.x = x;
    d.y = y;
    d.color = color;
    state.draws.push_back(d);
}

// ---- Input -------------------------------------------------------------------

int PlatformKeyDown(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256 && state.keys[virtualKey] ? 1 : 0;
}

uint32_t PlatformReadJoystick(uint32_t* x, uint32_t* y, uint32_t* buttons) {
    state.joyReads++;
    if (!state.joystick) return JOYERR_UNPLUGGED;
    *x = state.joyX;
    *y = state.joyY;
    *buttons = state.joyButtons;
    return 0;
}

void PlatformLoadControllerMappings(const char*) {}

void PlatformMousePosition(int32_t* x, int32_t* y) {
    *x = state.mouseX;
    *y = state.mouseY;
}

// ---- Clock, message box, tracing ---------------------------------------------

uint32_t PlatformTime(void) { return state.clock; }

void PlatformMessageBox(int, const char* textSjis, const char*) {
    char utf8[512];
    PlatformSjisToUtf8(textSjis, utf8, sizeof utf8);
    state.messages++;
    state.lastMessage = utf8;
}

int PlatformTracing(int kind) { return (state.traceKinds & kind) != 0 && state.traceOut; }

void PlatformTrace(int kind, const char* format, ...) {
    if (!PlatformTracing(kind)) return;
    fprintf(state.traceOut, "f=%u ", (unsigned)state.frame);
    va_list args;
    va_start(args, format);
    vfprintf(state.traceOut, format, args);
    va_end(args);
    fputc('\n', state.traceOut);
}
