// Effects on the platform's mixer: one buffer per slot, each played on its own
// channel so an effect restarts instead of overlapping itself.
#include "sound/effects.h"

#include <cstring>

#include "base/registry.h"
#include "base/services.h"
#include "sound/riff.h"

PlatformObject directSound;
PlatformObject primaryBuffer;
PlatformObject waveBuffers[WAVE_SLOTS];
u8 waveCount;

namespace {
const u32 WAVE_FORMAT_PCM = 1;
const u32 FMT_READ_BYTES = 18;  // the PCM fields plus the extra-size field
const u32 FMT_PCM_BYTES = 16;

int SlotIndex(const PlatformObject* slot) {
    if (slot < waveBuffers || slot >= waveBuffers + WAVE_SLOTS) return -1;
    return (int)(slot - waveBuffers);
}

void TraceLoad(const char* path, const PlatformObject* slot, u32 ok) {
    if (PlatformTracing(TRACE_WAVE)) {
        PlatformTrace(TRACE_WAVE, "wave load slot=%d path=%s ok=%u", SlotIndex(slot), path,
                      (unsigned)ok);
    }
}

u16 ReadU16(const u8* bytes) { return (u16)(bytes[0] | bytes[1] << 8); }

u32 ReadU32(const u8* bytes) {
    return (u32)bytes[0] | (u32)bytes[1] << 8 | (u32)bytes[2] << 16 | (u32)bytes[3] << 24;
}

void ParseFormat(const u8* bytes, PlatformWaveFormat* format) {
    format->formatTag = ReadU16(bytes);
    format->channels = ReadU16(bytes + 2);
    format->samplesPerSec = ReadU32(bytes + 4);
    format->avgBytesPerSec = ReadU32(bytes + 8);
    format->blockAlign = ReadU16(bytes + 12);
    format->bitsPerSample = ReadU16(bytes + 14);
}

// What the sound device accepts for a secondary buffer.
u32 BufferUsable(const PlatformWaveFormat* format, u32 bytes) {
    if (bytes < WAVE_MIN_BYTES || bytes > WAVE_MAX_BYTES) return 0;
    if (format->channels < 1 || format->channels > 2) return 0;
    if (format->bitsPerSample != 8 && format->bitsPerSample != 16) return 0;
    if (format->samplesPerSec < 100 || format->samplesPerSec > 200000) return 0;
    return format->blockAlign == format->channels * format->bitsPerSample / 8;
}

// Closes the file, shows the message owned by the main window, fails.
u32 Refuse(RiffReader* reader, const char* text, const char* caption) {
    RiffClose(reader);
    ShowMessage(MESSAGE_OWNER_MAIN, text, caption);
    return 0;
}

// Steps 3 to 7: the form, the format and the data chunk.
u32 ReadHeaders(RiffReader* reader, PlatformWaveFormat* format, RiffChunk* data) {
    RiffChunk riff, fmt;
    if (!RiffFindForm(reader, &riff, RiffCode('W', 'A', 'V', 'E'))) {
        return Refuse(reader, Sjis("waveファイルではありません"), "mmioDescend");
    }
    if (!RiffFindChunk(reader, &fmt, &riff, RiffCode('f', 'm', 't', ' '))) {
        return Refuse(reader, Sjis("フォーマットチャンクがありません"), "mmioDescend");
    }
    u8 bytes[FMT_READ_BYTES] = {};
    // A whole 16-byte format chunk at the very end of the file is complete;
    // only the unused extra-size field is missing, and the file is refused
    // below for what it really lacks, its data chunk.
    u32 got = RiffRead(reader, bytes, FMT_READ_BYTES);
    if (got < FMT_READ_BYTES && (got < FMT_PCM_BYTES || got < fmt.size)) {
        return Refuse(reader, Sjis("フォーマットデータの読み込みに失敗"), "mmioDescend");
    }
    ParseFormat(bytes, format);
    if (format->formatTag != WAVE_FORMAT_PCM) {
        return Refuse(reader, Sjis("PCMフォーマットではない"), "");
    }
    if (!RiffAscend(reader, &fmt) ||
        !RiffFindChunk(reader, data, &riff, RiffCode('d', 'a', 't', 'a'))) {
        return Refuse(reader, Sjis("データチャンクがありません"), "mmioDescend");
    }
    return 1;
}

// Steps 8 to 10. A data chunk that claims more than the file holds loads
// what there is; the rest of the buffer stays silent.
u32 FillSlot(RiffReader* reader, const PlatformWaveFormat* format, u32 bytes,
             PlatformObject* slot) {
    if (BufferUsable(format, bytes)) *slot = PlatformCreateWave(format, bytes);
    if (!*slot) {
        return Refuse(reader, Sjis("セカンダリバッファの生成に失敗"), "CreateSoundBuffer");
    }
    u8* target = PlatformWaveData(*slot);
    if (!target) return Refuse(reader, Sjis("セカンダリバッファのロックに失敗"), "Lock");
    u32 got = RiffRead(reader, target, bytes);
    memset(target + got, 0, bytes - got);
    PlatformWaveReady(*slot);
    RiffClose(reader);
    return 1;
}
}  // namespace

u32 InitSound(void) {
    // The mixer stands for the device, its cooperative level, its speaker set-up
    // and its primary buffer; only opening it can fail.
    if (!PlatformOpenAudio()) {
        ShowMessage(MESSAGE_OWNER_MAIN, Sjis("DirectSoundオブジェクトの生成に失敗"),
                    "DirectSoundCreate");
        return 0;
    }
    directSound = 1;
    primaryBuffer = 1;
    return 1;
}

void ReleaseSound(void) {
    primaryBuffer = 0;
    if (directSound) PlatformCloseAudio();
    directSound = 0;
}

u32 LoadWave(const char* path, PlatformObject* slot) {
    ReleaseWave(slot);
    RiffReader reader;
    PlatformWaveFormat format;
    RiffChunk data;
    u32 ok = 0;
    if (!RiffOpen(&reader, path)) {
        ShowMessage(MESSAGE_OWNER_MAIN, Sjis("waveファイルの読み込みに失敗"), "mmioRead");
    } else if (ReadHeaders(&reader, &format, &data)) {
        ok = FillSlot(&reader, &format, data.size, slot);
    }
    TraceLoad(path, slot, ok);
    return ok;
}

void ReleaseWave(PlatformObject* slot) {
    if (!*slot) return;
    PlatformStopWave(*slot);
    PlatformReleaseWave(*slot);
    *slot = 0;
    if (PlatformTracing(TRACE_WAVE)) {
        PlatformTrace(TRACE_WAVE, "wave release slot=%d", SlotIndex(slot));
    }
}

void PlayWave(PlatformObject* slot, u32 flags) {
    if (!*slot) return;
    PlatformPlayWave(*slot, flags);
    if (PlatformTracing(TRACE_WAVE)) {
        PlatformTrace(TRACE_WAVE, "wave play slot=%d flags=%u", SlotIndex(slot), (unsigned)flags);
    }
}

void SetWaveVolume(PlatformObject* slot, i32 hundredthsOfDb) {
    if (!*slot) return;
    PlatformSetWaveVolume(*slot, hundredthsOfDb);
    if (PlatformTracing(TRACE_WAVE)) {
        PlatformTrace(TRACE_WAVE, "wave volume slot=%d %d", SlotIndex(slot), (int)hundredthsOfDb);
    }
}

void LoadSceneWaves(const char* const* list, u8 count) {
    if (count > WAVE_SLOTS) count = WAVE_SLOTS;
    waveCount = count;
    for (int i = 0; i < count; i++) {
        if (!LoadWave(list[i], &waveBuffers[i])) PlatformDestroyWindow(mainWindow);
    }
}

void TurnDownSceneWaves(void) {
    for (int i = 0; i < waveCount && i < WAVE_SLOTS; i++) {
        SetWaveVolume(&waveBuffers[i], SCENE_WAVE_VOLUME);
    }
}

void ReleaseSceneWaves(void) {
    for (int i = 0; i < waveCount && i < WAVE_SLOTS; i++) ReleaseWave(&waveBuffers[i]);
    waveCount = 0;
}

void RegisterSoundGlobals(void) {
    REG_U32(directSound);
    REG_U32(primaryBuffer);
    REG_ARRAY(waveBuffers, GLOBAL_U32);
    REG_U8(waveCount);
}
